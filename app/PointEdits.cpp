#include "PointEdits.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <cmath>

std::optional<double> parseDecimal(const QString& text) {
    static const QRegularExpression kDecimal(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)\\s*$"));
    if (!kDecimal.match(text).hasMatch()) return std::nullopt;
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

QString pointNameProblem(const QString& name) {
    if (name.contains(QLatin1Char(',')) || name.contains(QLatin1Char('\n')) ||
        name.contains(QLatin1Char('\r')))
        return QCoreApplication::translate("RawBench",
                                           "A point name cannot contain a comma or a line break.");
    if (name.trimmed().isEmpty())
        return QCoreApplication::translate("RawBench", "A point name cannot be empty.");
    return QString();
}

QString fixed4(double metres) { return QStringLiteral("%1").arg(metres, 0, 'f', 4); }

QString signedFixed4(double metres) {
    return (metres >= 0 ? QStringLiteral("+") : QString()) + fixed4(metres);
}
