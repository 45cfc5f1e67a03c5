#pragma once
// Removing points from the job model. Rovers and their point record groups are parallel lists; so are the
// window's per-row combo-box lists and table rows, which the caller shortens through the callback at the
// same index, so every list stays parallel.
#include <QString>
#include <functional>

#include "rawfile/JobModel.h"

// Removes rover index together with its point record group (when the group list has that element).
// An index outside the rover list removes nothing.
void deleteRover(RawJob& job, qsizetype index);

// Removes every rover whose base name equals baseName (exact, case-sensitive) and its group, keeping the
// order of the others. Before each removal it calls alsoRemove(i) with the index the rover has at that
// moment (the next rover then moves into i). Returns the number of rovers removed.
qsizetype deleteRoversOfBase(RawJob& job, const QString& baseName,
                             const std::function<void(qsizetype)>& alsoRemove = {});

// Removes base station index; its rovers are not touched (see deleteRoversOfBase). An index outside the
// base list removes nothing.
void deleteBase(RawJob& job, qsizetype index);
