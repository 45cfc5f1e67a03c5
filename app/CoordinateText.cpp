#include "CoordinateText.h"

#include <QLocale>
#include <cmath>

QString storedText(double value) {
    if (!std::isfinite(value)) return QString::number(value);
    // 'f' with the shortest round-trip precision never switches to an exponent, so 3.52e+06 cannot recur.
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QString metresText(double metres) {
    QString text = storedText(metres);
    if (!std::isfinite(metres)) return text;
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    const qsizetype decimals = point < 0 ? 0 : text.size() - point - 1;
    if (point < 0) text += QLatin1Char('.');
    if (decimals < 3) text += QString(3 - decimals, QLatin1Char('0'));
    return text;
}
