#pragma once
// Reads a raw survey file into the job model.
//
// Lines end with LF, CR LF or a lone CR. Each line is dispatched by its leading characters: "QZVS", "JB",
// "CS", "ES", "DT", "QZAH", "QZAV", "PJ", "QZMC" replace that header record (and its summary values);
// "GS" starts a point group of up to seven positional lines (AH, QZAT, EP, QZDP, QZRV, QZBS, QZAD); any
// other line is ignored. A group cut short by the end of the file, or by a line beginning with "GS", keeps
// the defaults of its missing records and its point is still added. The base list holds one
// BaseStation per distinct base name, filled from the first group that names it.
//
// Malformed numbers convert as far as they go; nothing in the content makes reading fail.
#include <QString>

#include "rawfile/JobModel.h"

class QIODevice;

// Opens path and reads it into job. When the file cannot be opened or read (or does not fit in memory),
// returns false and leaves job untouched. On success the header, summary and the rover, base and group lists
// of job are replaced by what the file holds, starting from their construction defaults (nothing of a
// previously opened job survives); job.path is left to the caller.
bool readRawJob(const QString& path, RawJob& job);

// The same from an open, readable device (a file, a buffer).
bool readRawJob(QIODevice& device, RawJob& job);
