#pragma once
// Export: the rover points of a job as comma-separated text for spreadsheets. One header line, then one
// line of 27 fields per rover point in list order, each line ending in "\n"; reals in fixed notation with
// 6 decimals. A text field holding a comma, a double quote or a line break is quoted (inner quotes
// doubled) so that it stays one column; every other field is written as it stands.
#include <QByteArray>
#include <QList>
#include <QString>

#include "rawfile/JobModel.h"

// The header line, "\n" included. separateCounts: the job's version is "V1.0", which counts GPS and
// GLONASS satellites apart.
QString csvHeaderLine(bool separateCounts);

// The line of one rover point, "\n" included. Fields 19 to 22 are the vector from the rover's own copy of
// its base, not from the current base station. Fields 16 to 18 ("84Lat", "84Lon", "84Height") are the
// rover's WGS 84 position as stored (radians, radians, metres) at full precision, or "?" where the file
// gave none.
QString csvRoverLine(const RoverPoint& rover, bool separateCounts);

// field as one CSV column: unchanged, or quoted when it holds a comma, a double quote or a line break.
QString csvField(const QString& field);

// The whole export of job, in the local 8-bit encoding.
QByteArray exportRoversCsv(const RawJob& job);

// Writes exportRoversCsv(job) to path in text mode, truncating an existing file. Returns false and
// describes the reason in *error when the file cannot be opened or written.
bool writeRoversCsv(const QString& path, const RawJob& job, QString* error = nullptr);
