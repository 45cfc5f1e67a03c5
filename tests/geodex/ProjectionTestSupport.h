#pragma once
// What the projection and transformer tests share: the WGS 84 and Krassowsky ellipsoids, the text of a
// thrown CSException and of the library's messages, one handle on every projection class, a
// largest-difference tracker that fails on non-numbers, and PROJ objects where PROJ is found.
#include <gtest/gtest.h>
#if GEODEX_HAVE_PROJ
#include <proj.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "geodex/geodex.h"

namespace ProjectionTestSupport {

using namespace Orvale::Geodex;

const double kA = 6378137.0;
const double kF = 1 / 298.257223563;
// The Krassowsky ellipsoid, the local datum of the shift and conversion tests.
const double kKrassowskyA = 6378245.0, kKrassowskyF = 1 / 298.3;
const double kDeg = 0.017453292519943295;
const double kArcSecond = 4.84813681109536e-6;
const double kNaN = NAN;
// π and π/2 under names of their own, so that they never meet the library's constants.
const double kHalfTurn = 3.141592653589793;
const double kQuarterTurn = 1.5707963267948966;
const std::string kFarWarning = "Longitude is too far from Central Meridian, distortion may be significant\n";

// Runs f and returns the text of the CSException it throws, or "" when it throws nothing.
inline std::string thrown(const std::function<void()>& f) {
    try {
        f();
    } catch (const CSException& e) {
        return e.getMessage();
    }
    return "";
}

// The texts of the numbered messages, concatenated in the order given.
inline std::string messages(const std::vector<int>& numbers) {
    // clang-format off
    static const std::map<int, std::string> texts = {
        {19, "Ellipsoid semi-major axis must be greater than zero\n"}, {20, "Inverse flattening must be between 250 and 350\n"},
        {22, "Origin Latitude (or Standard Parallel or Latitude of True Scale) out of range\n"}, {24, "Central Meridian out of range\n"},
        {25, "Scale Factor out of range\n"}, {28, "Invalid 1st Standard Parallel\n"}, {29, "Invalid 2nd Standard Parallel\n"},
        {30, "1st & 2nd Standard Parallels cannot both be zero\n"}, {31, "Standard Parallels cannot be equal and opposite latitudes\n"},
        {41, "Invalid Hemisphere\n"}, {42, "Easting/Northing too far from center of projection\n"}, {43, "Latitude out of range\n"},
        {44, "Longitude out of range\n"}, {45, "Easting/X out of range\n"}, {46, "Northing/Y out of range\n"}, {47, "Point projects into a circle\n"}, {60, kFarWarning}};
    // clang-format on
    std::string s;
    for (int n : numbers) s += texts.at(n);
    return s;
}

struct Plane {
    double e, n;  // metres
    std::string warning;
    int type;
};
struct Geo {
    double lon, lat;  // radians
    std::string warning;
};

// Any projection class behind one face: radians and metres, a fresh tuple per call.
struct Projection {
    std::function<Plane(double lon, double lat)> fwd;
    std::function<Geo(double e, double n)> inv;
};

template <class P, class... Args>
Projection make(Args... args) {
    auto p = std::make_shared<P>(args...);
    return {[p](double lon, double lat) {
                std::unique_ptr<MapProjectionCoordinates> r(p->project(GeodeticCoordinates(10, lon, lat, 0)));
                return Plane{r->easting(), r->northing(), r->warningMessage(), r->coordinateType()};
            },
            [p](double e, double n) {
                std::unique_ptr<GeodeticCoordinates> r(p->backProject(MapProjectionCoordinates(0, e, n)));
                if (r->coordinateType() != 10 || r->height() != 0) ADD_FAILURE() << "not a geodetic point";
                return Geo{r->longitude(), r->latitude(), r->warningMessage()};
            }};
}

// The largest difference seen; a non-number anywhere sticks, so that it fails every limit.
struct Largest {
    double value = 0;
    void operator()(double x) { value = std::isnan(value) || std::isnan(x) ? NAN : std::max(value, x); }
};

// Ground distance between two points as an angle (radians): the latitude difference or the longitude
// difference along the parallel, whichever is larger (longitudes wrap; a non-number gives a non-number).
inline double angularError(double lon1, double lat1, double lon2, double lat2) {
    Largest d;
    d(std::fabs(lat1 - lat2));
    d(std::fabs(std::remainder(lon1 - lon2, 2 * kHalfTurn)) * std::cos(lat2));
    return d.value;
}

// Forward then inverse of one point: how far (metres on the ground) the point came back from itself.
inline double roundTripMetres(const Projection& p, double lon, double lat) {
    const Plane m = p.fwd(lon, lat);
    const Geo g = p.inv(m.e, m.n);
    return angularError(g.lon, g.lat, lon, lat) * kA;
}

// printf-style text, for PROJ definitions.
template <class... Args>
std::string format(const char* pattern, Args... args) {
    char text[512];
    std::snprintf(text, sizeof text, pattern, args...);
    return text;
}

#if GEODEX_HAVE_PROJ
// The PROJ object of a definition string, destroyed with its last handle; null when PROJ refuses it.
inline std::shared_ptr<PJ> projObject(const std::string& definition) {
    return std::shared_ptr<PJ>(proj_create(PJ_DEFAULT_CTX, definition.c_str()), [](PJ* p) {
        if (p) proj_destroy(p);
    });
}
#endif

// The transformer's projection calls on one code and its parameter slots.
inline DatumTransformer transformer(int code, double cm, double ol, double fe, double fn, double k,
                                    double sp1, double sp2 = 0, char hemisphere = 'N', double a = kA,
                                    double f = kF) {
    DatumTransformer t;
    t.SetDstEllipsoid(a, f);
    t.SetProjectionMethod(code);
    t.SetProjectionParams(cm, ol, fe, fn, k, sp1, sp2, 0, 0, hemisphere, 0);
    return t;
}

}  // namespace ProjectionTestSupport
