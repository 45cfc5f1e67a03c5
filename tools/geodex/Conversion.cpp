#include "Conversion.h"

#include "Angles.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace geodexcli {

using namespace Orvale::Geodex;

namespace {

using Orvale::Geodex::kArcSecond;

std::string oneLine(const char* text) {
    std::string s(text);
    while (!s.empty() && s.back() == '\n') s.pop_back();
    for (size_t i = s.find('\n'); i != std::string::npos; i = s.find('\n', i)) s.replace(i, 1, "; ");
    return s;
}

// Runs a library call, turning its exception into a ConversionError.
template <typename F>
void library(F call) {
    try {
        call();
    } catch (const CSException& e) {
        throw ConversionError{oneLine(e.getMessage())};
    }
}

double wrap(double d) {
    if (d > kPi) d -= 2 * kPi;
    if (d < -kPi) d += 2 * kPi;
    return d;
}

}  // namespace

double normalisedLongitude(double longitude) {
    if (!std::isfinite(longitude)) return longitude;
    double l = std::fmod(longitude, 2 * kPi);
    if (l >= kPi) l -= 2 * kPi;
    if (l < -kPi) l += 2 * kPi;
    return l;
}

Conversion::Conversion(const Settings& settings) : s_(settings) {
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
}

void Conversion::apply(const double in[3], double out[3]) {
    switch (s_.mode) {
        case Mode::Convert:
            s_.inverse ? convertInverse(in, out) : convertForward(in, out);
            return;
        case Mode::Project:
            if (s_.inverse)
                library([&] { t_.BackProjecting(in[0], in[1], in[2], out[0], out[1], out[2]); });
            else
                library([&] { t_.Projecting(in[0], in[1], in[2], out[0], out[1], out[2]); });
            return;
        case Mode::Geocentric:
            if (s_.inverse)
                library([&] {
                    t_.GeocentricToGeodetic(s_.a, s_.f, in[0], in[1], in[2], out[0], out[1], out[2]);
                });
            else
                library([&] {
                    t_.GeodeticToGeocentric(s_.a, s_.f, in[1], in[0], in[2], out[0], out[1], out[2]);
                });
            return;
        case Mode::Shift:
            s_.inverse ? shiftToWGS84Exact(in, out) : shiftFromWGS84(in, out);
            return;
    }
}

void Conversion::shiftFromWGS84(const double in[3], double out[3]) {
    library([&] { t_.GeodeticShiftFromWGS84(in[0], in[1], in[2], out[0], out[1], out[2]); });
}

// The exact inverse of the shift from WGS 84, whatever its method: the WGS 84 point whose forward
// shift lands on the local point, found by fixed-point iteration. The shift is the identity plus a
// change of at most a few hundred metres that varies slowly with position, so each step gains several
// digits; four or five steps reach the last bit.
void Conversion::shiftToWGS84Exact(const double in[3], double out[3]) {
    double p[3] = {in[0], in[1], in[2]};
    for (int iteration = 0; iteration < 20; ++iteration) {
        double q[3];
        shiftFromWGS84(p, q);
        const double dLat = in[0] - q[0];
        const double dLon = wrap(in[1] - q[1]);
        const double dH = in[2] - q[2];
        p[0] = std::max(-kPi / 2, std::min(kPi / 2, p[0] + dLat));
        p[1] = normalisedLongitude(p[1] + dLon);
        p[2] += dH;
        if (!std::isfinite(p[0] + p[1] + p[2])) throw ConversionError{"datum shift does not converge"};
        if (std::fabs(dLat) < 1e-15 && std::fabs(dLon) < 1e-15 && std::fabs(dH) < 1e-9) break;
    }
    out[0] = p[0];
    out[1] = p[1];
    out[2] = p[2];
}

// Elevation adjustment as a correction to add: every method evaluated with a zero height passed in.
double Conversion::elevationCorrection(double x, double y) {
    double correction = 0;
    t_.EleAdjusting(x, y, &correction);
    return correction;
}

// Geoid undulation N (metres) of the loaded grid at a WGS 84 position; the grid may be laid out from
// −180° or from 0°, so a longitude outside its limits is tried once more a turn further east.
double Conversion::geoidUndulation(double latitude, double longitude) {
    GeoidDB* geoid = GeoidDB::getInstance();
    const double lon = normalisedLongitude(longitude);
    double n = 0;
    try {
        try {
            geoid->ConvertGeoidToEllipsoidHeight(latitude, lon, 0.0, &n);
        } catch (const CSException&) {
            if (lon >= 0) throw;
            geoid->ConvertGeoidToEllipsoidHeight(latitude, lon + 2 * kPi, 0.0, &n);
        }
    } catch (const CSException& e) {
        throw ConversionError{"geoid: " + oneLine(e.getMessage())};
    } catch (const std::exception& e) {
        throw ConversionError{std::string("geoid: ") + e.what()};
    }
    return n;
}

// WGS 84 (latitude, longitude, ellipsoidal height) → local grid (northing, easting, height): datum shift,
// projection, plane adjustment, elevation adjustment; with a geoid the height is H = h − N on WGS 84.
void Conversion::convertForward(const double in[3], double out[3]) {
    double local[3];
    shiftFromWGS84(in, local);
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
void Conversion::convertInverse(const double in[3], double out[3]) {
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

}  // namespace geodexcli
