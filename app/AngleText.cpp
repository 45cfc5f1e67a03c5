#include "AngleText.h"

#include <cmath>

#include "geodex/AngleConstants.h"

namespace {

QString wholeTwoDigits(double value) {
    const QString text = QString::number(value, 'f', 0);
    return value < 10 ? QStringLiteral("0") + text : text;
}

}  // namespace

QStringList angleText(const QString& radians) {
    double deg = radians.toDouble() / Orvale::Geodex::kPi * 180;
    if (!std::isfinite(deg)) deg = 0;  // "nan" and "inf" are not angles
    const bool negative = deg < 0;
    if (negative) deg = -deg;

    double d = std::floor(deg);
    double m = std::floor((deg - d) * 60);
    double s = ((deg - d) * 60 - m) * 60;
    // Seconds are shown to 3 decimals: 59.9996 would read 60.000, so carry it instead.
    s = std::round(s * 1000) / 1000;
    if (s >= 60) {
        s = 0;
        if (++m == 60) {
            m = 0;
            ++d;
        }
    }
    QString seconds = QString::number(s, 'f', 3);
    if (s < 10) seconds.prepend(QLatin1Char('0'));
    return {(negative ? QStringLiteral("-") : QString()) + wholeTwoDigits(d), wholeTwoDigits(m), seconds};
}
