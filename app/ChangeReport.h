#pragma once
// What a Calculate changed, as lines a surveyor reads: per point, each value that changed with its old and
// new value (and the difference for coordinates), and why it changed.
#include <QList>
#include <QString>
#include <QStringList>

#include "JobSession.h"

struct ChangeLine {
    QString point;  // point name (after the change)
    QString kind;   // "Rover" or "Base"
    QString what;   // e.g. "H 25.0524 → 24.7524 (-0.3000)"; several values joined by "; "
    QString why;    // "own antenna edit", "base B1 moved", or both
};

// One line per change; methods are the names of the measuring methods by index.
QList<ChangeLine> describeChanges(const QList<PointChange>& changes, const QStringList& methods);

// "2 rover points and 1 base changed." for the end of Calculate.
QString changeCountText(const QList<PointChange>& changes);
