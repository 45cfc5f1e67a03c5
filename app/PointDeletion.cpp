#include "PointDeletion.h"

void deleteRover(RawJob& job, qsizetype index) {
    if (index < 0 || index >= job.rovers.size()) return;
    job.rovers.removeAt(index);
    if (index < job.groups.size()) job.groups.removeAt(index);
}

qsizetype deleteRoversOfBase(RawJob& job, const QString& baseName,
                             const std::function<void(qsizetype)>& alsoRemove) {
    qsizetype removed = 0;
    qsizetype i = 0;
    while (i < job.rovers.size()) {
        if (job.rovers[i].baseName != baseName) {
            ++i;
            continue;
        }
        if (alsoRemove) alsoRemove(i);
        deleteRover(job, i);
        ++removed;
    }
    return removed;
}

void deleteBase(RawJob& job, qsizetype index) {
    if (index >= 0 && index < job.bases.size()) job.bases.removeAt(index);
}
