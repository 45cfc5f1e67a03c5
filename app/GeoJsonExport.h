#pragma once
// Export: the job's rovers and bases as a GeoJSON FeatureCollection (RFC 7946) for web maps and desktop
// GIS. Each point is a Feature with a Point geometry [longitude, latitude, ellipsoidal height] in WGS 84
// degrees, converted from the radians the raw file stores; a point whose file gave no WGS 84 position
// (latitude, longitude and height all 0) has the geometry null. Properties: "kind" ("base" or "rover"),
// "name", "code", "solution" ("fixed"/"unfixed"), "quality" (hrms, vrms, pdop in metres and as stored),
// "antenna" (type, height in metres, method), "base", "grid" (north, east, height in metres).
#include <QByteArray>
#include <QString>

#include "rawfile/JobModel.h"

// Degrees from the radians of a raw file's WGS 84 latitude or longitude.
double wgsDegrees(double radians);

// The whole document, UTF-8, bases first, then rovers in list order. methodNames: the three measuring
// method names (index = antenna method); a method outside them is written as its number.
QByteArray exportGeoJson(const RawJob& job, const QStringList& methodNames);

// Writes exportGeoJson to path, truncating an existing file. Returns false and describes the reason in
// *error when the file cannot be opened or written.
bool writeGeoJson(const QString& path, const RawJob& job, const QStringList& methodNames,
                  QString* error = nullptr);
