#pragma once
// Save as.
//
// A job read from a file (RawJob::readFromFile) is written as that file's bytes: every line that no edit
// touched exactly as read, in its place (header lines, unknown lines, descriptions, unknown keys, number
// spellings, encodings, line ends, a missing final line end). The lines of deleted points are left out.
// Each point group's records are refreshed from its rover, base record included from the rover's own copy
// of its base (which Calculate moves with the base), and compared with the records as read (reals bitwise,
// texts as shown): a record that changed is rewritten in its format, followed by the fields of its line that
// the format does not write, with the line's own line end; a record the group lacked is added only when an
// edit gave it a value.
//
// A job built in memory is written entirely in the record formats: the header records in the order QZVS,
// JB, CS, ES, DT, QZAH, QZAV, PJ, QZMC, then one point group per rover point in list order, each refreshed
// from the rover's current values and from the last base station that bears the rover's base name (or,
// when there is none, from the rover's own copy of its base).
//
// Either way a text holding a comma or a line break is refused: the save fails, naming the point (or the
// header) and the field, and the target is left as it was.
#include <QList>
#include <QString>

#include "rawfile/JobModel.h"
#include "rawfile/RawRecordWriter.h"

// Writes job to path (replacing an existing file only when the whole job was written). On failure returns
// false, puts the reason in *error when error is not null, and leaves any file already at path unchanged.
// The job itself is not changed.
bool writeRawJob(const QString& path, const RawJob& job, QString* error = nullptr);

// The name Save as offers: the opened path without its last 4 characters followed by "_new.Raw", or an
// empty text when the path has fewer than 5 characters ("/data/job.raw" gives "/data/job_new.Raw").
QString suggestedSaveName(const QString& path);

// The nine header records of header, in file order; false at the first record that fails.
bool writeHeader(const JobHeader& header, RawRecordWriter& writer);

// The eight records of one point group, in file order; false at the first record that fails.
bool writePointGroup(const PointRecordGroup& group, RawRecordWriter& writer);

// Copies into group the current values of rover and of its base station. base is the station to take the
// base values from, or null to take them from the rover's own copy. Every other field keeps its value, and
// a text equal to what its bytes show (rawTextEquals) keeps its bytes; other texts are encoded with
// encodeRawText.
void refreshPointGroup(const RoverPoint& rover, const BaseStation* base, PointRecordGroup& group);

// The last station in bases whose name equals name exactly, or null.
const BaseStation* findLastBase(const QList<BaseStation>& bases, const QString& name);
