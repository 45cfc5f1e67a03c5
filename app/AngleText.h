#pragma once

#include <QString>
#include <QStringList>

// Degrees, minutes and seconds of an angle held in radians as decimal text (a text that is not a number
// reads as 0): ("117", "00", "00.000") for 117 degrees. Each part below 10 gets a leading "0"; seconds
// carry 3 decimals, and seconds that would round to 60.000 are carried into the minutes (and minutes into
// the degrees). A negative angle is shown as "-" followed by the parts of its magnitude.
QStringList angleText(const QString& radians);
