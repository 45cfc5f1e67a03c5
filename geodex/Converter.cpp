#include "geodex/Converter.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "geodex/catalogues/CRS.h"
#include "geodex/catalogues/CRSDB.h"
#include "geodex/catalogues/EllipsoidDB.h"
#include "geodex/geoid/GeoidDB.h"
#include "geodex/projections/CSException.h"
#include "geodex/projections/EllipsoidMath.h"
#include "geodex/projections/Geocentric.h"
#include "geodex/AngleConstants.h"

namespace Orvale::Geodex {

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// The failure of one point, with its one-line message.
struct PointError {
    std::string message;
};

// The library's message on one line: line feeds between messages become "; ", trailing ones go.
std::string oneLine(const char* text) {
    std::string s(text);
    while (!s.empty() && s.back() == '\n') s.pop_back();
    for (size_t i = s.find('\n'); i != std::string::npos; i = s.find('\n', i)) s.replace(i, 1, "; ");
    return s;
}

// Runs a library call, turning its exception into a PointError.
template <typename F>
void library(F call) {
    try {
        call();
    } catch (const CSException& e) {
        throw PointError{oneLine(e.getMessage())};
    }
}

// Longitude brought into [-π, π), radians; a non-number stays one.
double normalisedLongitude(double longitude) {
    if (!std::isfinite(longitude)) return longitude;
    double l = std::fmod(longitude, kTwoPi);
    if (l >= kPi) l -= kTwoPi;
    if (l < -kPi) l += kTwoPi;
    return l;
}

std::u16string widen(const std::string& s) {
    // Catalogue paths are 16-bit texts; file names are taken byte by byte.
    return std::u16string(s.begin(), s.end());
}

}  // namespace

ConverterSettings ConverterSettings::fromCatalogue(const std::string& ellipsoidsPath,
                                                   const std::string& crsPath, const std::string& name) {
    if (!EllipsoidDB::GetInstance()->LoadEllipsoids(widen(ellipsoidsPath)))
        throw std::invalid_argument("cannot open the ellipsoid catalogue " + ellipsoidsPath);
    if (!CRSDB::GetInstance()->LoadCRSs(widen(crsPath)))
        throw std::invalid_argument("cannot open the CRS catalogue " + crsPath);
    for (const CRS& crs : CRSDB::GetInstance()->GetCRSs()) {
        if (crs.GetName() != name) continue;
        ConverterSettings s;
        s.a = crs.GetEllipsoid().GetSemiMajorAxis();
        s.f = crs.GetEllipsoid().GetFlattening();
        s.transformMethod = crs.GetTransformMethod();
        s.shift = crs.GetTransformParams();
        s.projectionMethod = crs.GetProjectMethod();
        s.projection = crs.GetProjectParams();
        return s;
    }
    throw std::invalid_argument("no CRS named \"" + name + "\" in " + crsPath);
}

Converter::Converter(const ConverterSettings& settings) : s_(settings) {
    t_.SetSrcEllipsoid(s_.a, s_.f);
    t_.SetDstEllipsoid(s_.a, s_.f);
    t_.SetTransformMethod(s_.transformMethod);
    t_.SetTransformParams(s_.shift.deltaX, s_.shift.deltaY, s_.shift.deltaZ, s_.shift.rotX, s_.shift.rotY,
                          s_.shift.rotZ, s_.shift.scale);
    t_.SetProjectionMethod(s_.projectionMethod);
    const ProjectParam& p = s_.projection;
    t_.SetProjectionParams(p.centralMeridian, p.originLatitude, p.falseEasting, p.falseNorthing,
                           p.scaleFactor, p.standardParallel1, p.standardParallel2, p.zone, p.zoneOverride,
                           p.hemisphere, p.coneAxisColatitude);
    // The silent form of the four-parameter transformation: a batch must not print per point.
    t_.SetPlaneAdjustMethod(s_.planeAdjust ? 2 : 0);
    t_.SetPlaneAdjustParams(s_.planeShiftX, s_.planeShiftY, s_.planeRotation, s_.planeScale, 0, 0);
    t_.SetEleAdjustMethod(s_.eleMethod);
    t_.SetEleAdjustParams(s_.eleCoef[0], s_.eleCoef[1], s_.eleCoef[2], s_.eleCoef[3], s_.eleCoef[4],
                          s_.eleCoef[5]);
    t_.SetEleAdjustTGOParams(s_.tgo[0], s_.tgo[1], s_.tgo[2], s_.tgo[3], s_.tgo[4]);
    checkSettings();
}

// The transformer checks its parameters only when a point is converted, and a projection code without
// a class converts nothing and reports nothing. So the settings are tried here once: the ellipsoid by
// the geocentric conversion, the projection on a few points of its own area (its origin, its central
// meridian at several latitudes); parameters that reject all of them are invalid.
void Converter::checkSettings() {
    using Operation = ConverterSettings::Operation;
    if (s_.planeAdjust && !(std::isfinite(s_.planeScale) && s_.planeScale != 0))
        throw std::invalid_argument("the plane adjustment scale must be a number other than 0");
    const bool geocentricStep =
        s_.mode == Operation::Geocentric ||
        ((s_.mode == Operation::Convert || s_.mode == Operation::Shift) && s_.transformMethod != 2);
    if (geocentricStep) {
        try {
            const Geocentric ellipsoid(s_.a, s_.f);
        } catch (const CSException& e) {
            throw std::invalid_argument(oneLine(e.getMessage()));
        }
    }
    if (s_.mode != Operation::Convert && s_.mode != Operation::Project) return;

    const ProjectParam& p = s_.projection;
    double cm = p.centralMeridian;
    if (s_.projectionMethod == 34 && p.zoneOverride > 0) cm = (6 * p.zoneOverride - 183) * kPi / 180;
    // (latitude, longitude) radians; the last is Krovak's centre, whose latitude is kept in the
    // central-meridian slot and longitude in the origin-latitude slot.
    const double probes[][2] = {{p.originLatitude, cm},
                                {p.standardParallel1, cm},
                                {0, cm},
                                {kPi / 4, cm},
                                {-kPi / 4, cm},
                                {kPi / 3, cm},
                                {-kPi / 3, cm},
                                {p.centralMeridian, p.originLatitude}};
    std::string firstMessage;
    for (const auto& probe : probes) {
        double northing = 0, easting = 0, height = kNaN;
        try {
            t_.Projecting(probe[0], probe[1], 0, northing, easting, height);
        } catch (const CSException& e) {
            if (firstMessage.empty()) firstMessage = oneLine(e.getMessage());
            continue;
        }
        if (std::isnan(height))  // untouched: the code has no projection class
            throw std::invalid_argument("projection code " + std::to_string(s_.projectionMethod) +
                                        " has no projection class");
        return;
    }
    throw std::invalid_argument(firstMessage);
}

void Converter::loadGeoid(const std::string& path) {
    try {
        GeoidDB::getInstance()->LoadGGFFile(path.c_str());
    } catch (const std::exception& e) {
        throw std::invalid_argument("geoid grid " + path + ": " + e.what());
    }
}

std::size_t Converter::convert(std::size_t count, const double* first, const double* second,
                               const double* height, double* firstOut, double* secondOut, double* heightOut,
                               std::vector<PointFailure>* failures) {
    std::size_t failed = 0;
    // Writes the result of point i, or NaN and its failure.
    auto store = [&](std::size_t i, const double out[3], PointError* error) {
        if (error) {
            ++failed;
            if (failures) failures->push_back(PointFailure{i, std::move(error->message)});
        }
        firstOut[i] = error ? kNaN : out[0];
        secondOut[i] = error ? kNaN : out[1];
        if (heightOut) heightOut[i] = error ? kNaN : out[2];
    };
    std::size_t i = 0;
    using Operation = ConverterSettings::Operation;
    if ((s_.mode == Operation::Convert || s_.mode == Operation::Shift) && !s_.inverse) {
        // Two points at a time through the interleaved datum shift (both read before either is written,
        // as the outputs may be the inputs); a pair the shift declines goes point by point.
        for (; i + 1 < count; i += 2) {
            const double in[2][3] = {{first[i], second[i], height ? height[i] : 0.0},
                                     {first[i + 1], second[i + 1], height ? height[i + 1] : 0.0}};
            double local[2][3];
            const bool paired = t_.GeodeticShiftFromWGS84Pair(in, local);
            for (int k = 0; k < 2; ++k) {
                double out[3];
                try {
                    if (!paired) {
                        apply(in[k], out);
                    } else if (s_.mode == Operation::Convert) {
                        convertForwardFromLocal(in[k], local[k], out);
                    } else {  // the rest of apply for a shift
                        out[0] = local[k][0];
                        out[1] = normalisedLongitude(local[k][1]);
                        out[2] = local[k][2];
                    }
                } catch (PointError& e) {
                    store(i + k, out, &e);
                    continue;
                }
                store(i + k, out, nullptr);
            }
        }
    }
    for (; i < count; ++i) {
        const double in[3] = {first[i], second[i], height ? height[i] : 0.0};
        double out[3];
        try {
            apply(in, out);
        } catch (PointError& e) {
            store(i, out, &e);
            continue;
        }
        store(i, out, nullptr);
    }
    return failed;
}

bool Converter::convertPoint(const double in[3], double out[3], std::string* message) {
    const double copy[3] = {in[0], in[1], in[2]};
    try {
        apply(copy, out);
        return true;
    } catch (PointError& e) {
        out[0] = out[1] = out[2] = kNaN;
        if (message) *message = std::move(e.message);
        return false;
    }
}

void Converter::apply(const double in[3], double out[3]) {
    using Operation = ConverterSettings::Operation;
    switch (s_.mode) {
        case Operation::Convert:
            s_.inverse ? convertInverse(in, out) : convertForward(in, out);
            break;
        case Operation::Project:
            if (s_.inverse)
                library([&] { t_.BackProjecting(in[0], in[1], in[2], out[0], out[1], out[2]); });
            else
                library([&] { t_.Projecting(in[0], in[1], in[2], out[0], out[1], out[2]); });
            break;
        case Operation::Geocentric:
            if (s_.inverse)
                library([&] {
                    t_.GeocentricToGeodetic(s_.a, s_.f, in[0], in[1], in[2], out[0], out[1], out[2]);
                });
            else
                library([&] {
                    t_.GeodeticToGeocentric(s_.a, s_.f, in[1], in[0], in[2], out[0], out[1], out[2]);
                });
            break;
        case Operation::Shift:
            s_.inverse ? shiftToWGS84Exact(in, out) : shiftFromWGS84(in, out);
            break;
    }
    if (s_.geodeticOutput()) out[1] = normalisedLongitude(out[1]);
}

void Converter::shiftFromWGS84(const double in[3], double out[3]) {
    library([&] { t_.GeodeticShiftFromWGS84(in[0], in[1], in[2], out[0], out[1], out[2]); });
}

// The exact inverse of the shift from WGS 84, whatever its method: the WGS 84 point whose forward
// shift lands on the local point, found by fixed-point iteration. The shift is the identity plus a
// change of at most a few hundred metres that varies slowly with position, so each step gains several
// digits; four or five steps reach the last bit.
void Converter::shiftToWGS84Exact(const double in[3], double out[3]) {
    double p[3] = {in[0], in[1], in[2]};
    for (int iteration = 0; iteration < 20; ++iteration) {
        double q[3];
        shiftFromWGS84(p, q);
        const double dLat = in[0] - q[0];
        const double dLon = reduceLongitudeOnce(in[1] - q[1]);
        const double dH = in[2] - q[2];
        p[0] = std::max(-kHalfPi, std::min(kHalfPi, p[0] + dLat));
        p[1] = normalisedLongitude(p[1] + dLon);
        p[2] += dH;
        if (!std::isfinite(p[0] + p[1] + p[2])) throw PointError{"datum shift does not converge"};
        if (std::fabs(dLat) < 1e-15 && std::fabs(dLon) < 1e-15 && std::fabs(dH) < 1e-9) break;
    }
    out[0] = p[0];
    out[1] = p[1];
    out[2] = p[2];
}

// Elevation adjustment as a correction to add: every method evaluated with a zero height passed in.
double Converter::elevationCorrection(double x, double y) {
    double correction = 0;
    t_.EleAdjusting(x, y, &correction);
    return correction;
}

// Geoid undulation N (metres) of the loaded grid at a WGS 84 position; the grid may be laid out from
// −180° or from 0°, so a longitude outside its limits is tried once more a turn further east.
double Converter::geoidUndulation(double latitude, double longitude) {
    GeoidDB* geoid = GeoidDB::getInstance();
    const double lon = normalisedLongitude(longitude);
    double n = 0;
    try {
        try {
            geoid->ConvertGeoidToEllipsoidHeight(latitude, lon, 0.0, &n);
        } catch (const CSException&) {
            if (lon >= 0) throw;
            geoid->ConvertGeoidToEllipsoidHeight(latitude, lon + kTwoPi, 0.0, &n);
        }
    } catch (const CSException& e) {
        throw PointError{"geoid: " + oneLine(e.getMessage())};
    } catch (const std::exception& e) {
        throw PointError{std::string("geoid: ") + e.what()};
    }
    return n;
}

// WGS 84 (latitude, longitude, ellipsoidal height) → local grid (northing, easting, height): datum shift,
// projection, plane adjustment, elevation adjustment; with a geoid the height is H = h − N on WGS 84.
void Converter::convertForward(const double in[3], double out[3]) {
    double local[3];
    shiftFromWGS84(in, local);
    convertForwardFromLocal(in, local, out);
}

void Converter::convertForwardFromLocal(const double in[3], const double local[3], double out[3]) {
    double grid[3];
    library([&] { t_.Projecting(local[0], local[1], local[2], grid[0], grid[1], grid[2]); });
    double x = grid[0], y = grid[1];
    t_.PlaneAdjusting(grid[0], grid[1], x, y);
    double height = local[2];
    if (s_.useGeoid) height = in[2] - geoidUndulation(in[0], in[1]);
    out[0] = x;
    out[1] = y;
    out[2] = height + elevationCorrection(x, y);
}

// The exact inverse of convertForward, step by step in reverse order.
void Converter::convertInverse(const double in[3], double out[3]) {
    const double x = in[0], y = in[1];
    const double height = in[2] - elevationCorrection(x, y);
    double north = x, east = y;
    if (s_.planeAdjust) {
        // out = shift + m R(θ) (x, y)  ⇒  (x, y) = R(−θ) (out − shift) / m
        const double theta = s_.planeRotation * kArcSecond;
        const double dx = (x - s_.planeShiftX) / s_.planeScale;
        const double dy = (y - s_.planeShiftY) / s_.planeScale;
        north = dx * std::cos(theta) + dy * std::sin(theta);
        east = -dx * std::sin(theta) + dy * std::cos(theta);
    }
    double local[3];
    library([&] { t_.BackProjecting(north, east, height, local[0], local[1], local[2]); });
    if (!s_.useGeoid) {
        shiftToWGS84Exact(local, out);
        return;
    }
    // The geoid height belongs to the WGS 84 position, which depends (slightly) on the local
    // ellipsoidal height: adjust that height until h − N on WGS 84 gives the height asked for.
    double wgs[3] = {0, 0, 0};
    double localHeight = height;
    for (int iteration = 0; iteration < 10; ++iteration) {
        const double p[3] = {local[0], local[1], localHeight};
        shiftToWGS84Exact(p, wgs);
        const double residual = height - (wgs[2] - geoidUndulation(wgs[0], wgs[1]));
        localHeight += residual;
        if (std::fabs(residual) < 1e-9) break;
    }
    out[0] = wgs[0];
    out[1] = wgs[1];
    out[2] = wgs[2];
}

}  // namespace Orvale::Geodex
