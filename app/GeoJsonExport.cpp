#include "GeoJsonExport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStringList>
#include <cmath>
#include "geodex/AngleConstants.h"

namespace {

QJsonValue geometry(double latitude, double longitude, double height) {
    if (!hasWgsPosition(latitude, longitude, height) || !std::isfinite(latitude + longitude + height))
        return QJsonValue(QJsonValue::Null);
    // RFC 7946: longitude first.
    return QJsonObject{
        {QStringLiteral("type"), QStringLiteral("Point")},
        {QStringLiteral("coordinates"), QJsonArray{wgsDegrees(longitude), wgsDegrees(latitude), height}}};
}

QJsonValue methodName(int method, const QStringList& names) {
    return method >= 0 && method < names.size() ? QJsonValue(names[method]) : QJsonValue(method);
}

QJsonObject feature(const QJsonValue& geometry, const QJsonObject& properties) {
    return {{QStringLiteral("type"), QStringLiteral("Feature")},
            {QStringLiteral("geometry"), geometry},
            {QStringLiteral("properties"), properties}};
}

// JSON has no NaN or infinity: a number that is none is written as null.
QJsonValue number(double value) {
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

// The antenna and the grid position, which bases and rovers both have.
template <typename Point>
QJsonObject antenna(const Point& p, const QStringList& methodNames) {
    return {{QStringLiteral("type"), p.antennaType},
            {QStringLiteral("height"), number(p.antennaHeight)},
            {QStringLiteral("method"), methodName(p.antennaMethod, methodNames)}};
}

template <typename Point>
QJsonObject grid(const Point& p) {
    return {{QStringLiteral("north"), number(p.north)},
            {QStringLiteral("east"), number(p.east)},
            {QStringLiteral("height"), number(p.height)}};
}

}  // namespace

double wgsDegrees(double radians) { return radians * Orvale::Geodex::kRadiansToDegrees; }

QByteArray exportGeoJson(const RawJob& job, const QStringList& methodNames) {
    QJsonArray features;
    for (const BaseStation& b : job.bases)
        features.append(feature(geometry(b.wgsLatitude, b.wgsLongitude, b.wgsHeight),
                                {{QStringLiteral("kind"), QStringLiteral("base")},
                                 {QStringLiteral("name"), b.name},
                                 {QStringLiteral("antenna"), antenna(b, methodNames)},
                                 {QStringLiteral("grid"), grid(b)}}));
    for (const RoverPoint& r : job.rovers)
        features.append(
            feature(geometry(r.wgsLatitude, r.wgsLongitude, r.wgsHeight),
                    {{QStringLiteral("kind"), QStringLiteral("rover")},
                     {QStringLiteral("name"), r.name},
                     {QStringLiteral("code"), r.code},
                     {QStringLiteral("solution"),
                      hasFixedSolution(r) ? QStringLiteral("fixed") : QStringLiteral("unfixed")},
                     {QStringLiteral("quality"), QJsonObject{{QStringLiteral("hrms"), number(r.hrms)},
                                                             {QStringLiteral("vrms"), number(r.vrms)},
                                                             {QStringLiteral("pdop"), number(r.pdop)}}},
                     {QStringLiteral("antenna"), antenna(r, methodNames)},
                     {QStringLiteral("base"), r.baseName},
                     {QStringLiteral("time"), r.time},
                     {QStringLiteral("grid"), grid(r)}}));
    const QJsonObject collection{{QStringLiteral("type"), QStringLiteral("FeatureCollection")},
                                 {QStringLiteral("features"), features}};
    return QJsonDocument(collection).toJson(QJsonDocument::Indented);
}

bool writeGeoJson(const QString& path, const RawJob& job, const QStringList& methodNames, QString* error) {
    // Written to a temporary file and renamed: a failed export never leaves half a document behind.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    const QByteArray content = exportGeoJson(job, methodNames);
    if (file.write(content) != content.size() || !file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}
