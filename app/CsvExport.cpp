#include "CsvExport.h"

#include <QFile>
#include <QLocale>
#include <QStringList>
#include <cmath>

namespace {

QString fixed6(double value) { return QString::number(value, 'f', 6); }

bool separateSatelliteCounts(const RawJob& job) { return job.header.version == "V1.0"; }

}  // namespace

QString csvField(const QString& field) {
    static const QString kNeedsQuotes = QStringLiteral(",\"\r\n");
    bool needsQuotes = false;
    for (QChar c : field) needsQuotes = needsQuotes || kNeedsQuotes.contains(c);
    if (!needsQuotes) return field;
    QString quoted = field;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString csvHeaderLine(bool separateCounts) {
    QString line = QStringLiteral("Name,Code,X,Y,H,EchoHeight,precisionX,precisionY,precisionH,RMS,PDOP,");
    line += separateCounts
                ? QStringLiteral("(Number Of Satellite)GPS\\GLONASS,Satellites used\\Satellites Tracked,")
                : QStringLiteral("(Number of Satellite)GNSS,Satellites used\\Satellites Tracked,");
    line += QStringLiteral(
        "Elevation mask,TIME,84Lat,84Lon,84Height,2BaseX,2BaseY,2BaseH,2Base,Antenna Height,Survery Time,"
        "Method,Ambiguity Solution Type,Number Of Epoch\n");
    return line;
}

QString csvRoverLine(const RoverPoint& r, bool separateCounts) {
    const double dX = r.north - r.baseNorth;
    const double dY = r.east - r.baseEast;
    const double dH = r.height - r.baseHeight;
    const QString satellites = separateCounts ? QString::number(r.gpsSatellites) + QLatin1Char('\\') +
                                                    QString::number(r.glonassSatellites)
                                              : QString::number(r.gnssSatellites);
    const QString unknown = QStringLiteral("?");
    // The WGS 84 position as the file stores it (latitude and longitude in radians), with every digit
    // that reads back as the same number; "?" where the file gave none.
    const bool wgs = hasWgsPosition(r.wgsLatitude, r.wgsLongitude, r.wgsHeight);
    auto stored = [&](double value) {
        return wgs ? QString::number(value, 'g', QLocale::FloatingPointShortest) : unknown;
    };
    const QStringList fields = {csvField(r.name),
                                csvField(r.code),
                                fixed6(r.north),
                                fixed6(r.east),
                                fixed6(r.height),
                                csvField(r.echoHeight),
                                fixed6(r.precisionX),
                                fixed6(r.precisionY),
                                fixed6(r.precisionH),
                                fixed6(r.hrms),
                                fixed6(r.pdop),
                                satellites,
                                QStringLiteral("?\\?"),
                                unknown,
                                csvField(r.time),
                                stored(r.wgsLatitude),
                                stored(r.wgsLongitude),
                                stored(r.wgsHeight),
                                fixed6(dX),
                                fixed6(dY),
                                fixed6(dH),
                                fixed6(std::sqrt(dX * dX + dY * dY + dH * dH)),
                                fixed6(r.antennaHeight),
                                QString::number(r.duration),
                                csvField(r.method),
                                hasFixedSolution(r) ? QStringLiteral("rtk fix") : QStringLiteral("unfix"),
                                QString::number(r.epochs)};
    return fields.join(QLatin1Char(',')) + QLatin1Char('\n');
}

QByteArray exportRoversCsv(const RawJob& job) {
    const bool separateCounts = separateSatelliteCounts(job);
    QString text = csvHeaderLine(separateCounts);
    for (const RoverPoint& rover : job.rovers) text += csvRoverLine(rover, separateCounts);
    return text.toLocal8Bit();
}

bool writeRoversCsv(const QString& path, const RawJob& job, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        if (error) *error = file.errorString();
        return false;
    }
    const QByteArray content = exportRoversCsv(job);
    const bool written = file.write(content) == content.size() && file.flush();
    if (!written) {
        if (error) *error = file.errorString();
        return false;
    }
    file.close();
    return true;
}
