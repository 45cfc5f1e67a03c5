#pragma once
// Reads a raw survey file into the job model.
//
// Lines end with LF, CR LF or a lone CR. Each line is dispatched by its leading characters: "QZVS", "JB",
// "CS", "ES", "DT", "QZAH", "QZAV", "PJ", "QZMC" replace that header record (and its summary values);
// "GS" starts a point group; any other line is ignored. A point group takes the records after its GS line by
// their tags (AH, QZAT, EP, QZDP, QZRV, QZBS, QZAD), so that a missing record or an unknown line inside the
// group shifts nothing into the wrong fields; it ends at the next GS line, at a header line, at a second
// line of a record it already has, at the end of the file, or after its seventh record. A record it lacks
// keeps its defaults and the point is still added. The base list holds one BaseStation per distinct base
// name, filled from the first group that names it.
//
// The job keeps the file's bytes and where each group stands in them (RawJob::source, sourceGroups) for a
// lossless Save as. Texts are decoded for the window with decodeRawText (RawText.h).
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
