#pragma once
// Save as: writes the job as a new raw survey file, the header records first, in the order QZVS, JB, CS,
// ES, DT, QZAH, QZAV, PJ, QZMC, then one point group per rover point in list order. Each group is written
// from its stored records, refreshed from the rover's current values and from the last base station that
// bears the rover's base name (or, when there is none, from the rover's own copy of its base).
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
// base values from, or null to take them from the rover's own copy. Every other field keeps its value.
void refreshPointGroup(const RoverPoint& rover, const BaseStation* base, PointRecordGroup& group);

// The last station in bases whose name equals name exactly, or null.
const BaseStation* findLastBase(const QList<BaseStation>& bases, const QString& name);
