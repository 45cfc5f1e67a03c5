#pragma once
// Test helpers of the conic projection tests: PROJ as an independent oracle, grids of points, the
// largest differences found and the round trip through the projection's own inverse.
#include <proj.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "geodex/geodex.h"

namespace ConicOracle {

using namespace Orvale::Geodex;

const double kA = 6378137.0;
const double kF = 1 / 298.257223563;
const double kDeg = 0.017453292519943295;
// π and π/2 under names of their own, so that they never meet the library's constants.
const double kHalfTurn = 3.141592653589793;
const double kQuarterTurn = 1.5707963267948966;
const double kEs = 2 * kF - kF * kF;  // e²

// One PROJ projection built from a definition string (angles in degrees), radians in and out.
class Proj {
  public:
    explicit Proj(const std::string& definition) : pj_(proj_create(PJ_DEFAULT_CTX, definition.c_str())) {}
    ~Proj() { proj_destroy(pj_); }
    Proj(const Proj&) = delete;
    Proj& operator=(const Proj&) = delete;
    bool valid() const { return pj_ != nullptr; }

    bool forward(double lambda, double phi, double& x, double& y) const {
        PJ_COORD c = proj_trans(pj_, PJ_FWD, proj_coord(lambda, phi, 0, 0));
        x = c.xy.x;
        y = c.xy.y;
        return std::isfinite(x) && std::isfinite(y) && std::fabs(x) < 1e30;
    }
    bool inverse(double x, double y, double& lambda, double& phi) const {
        PJ_COORD c = proj_trans(pj_, PJ_INV, proj_coord(x, y, 0, 0));
        lambda = c.lp.lam;
        phi = c.lp.phi;
        return std::isfinite(lambda) && std::isfinite(phi) && std::fabs(lambda) < 1e30;
    }

  private:
    PJ* pj_;
};

// printf-style definition text; the ellipsoid of every test is appended.
inline std::string definition(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    char ellipsoid[96];
    std::snprintf(ellipsoid, sizeof ellipsoid, " +a=%.17g +f=%.17g +no_defs", kA, kF);
    return std::string(text) + ellipsoid;
}

// Radians → degrees with every digit, for PROJ definitions.
inline double deg(double radians) { return radians / kDeg; }

struct Point {
    double lambda, phi;  // radians
};

// Regular grid in degrees (both ends included), returned in radians.
inline std::vector<Point> grid(double lat0, double lat1, double lon0, double lon1, double step) {
    std::vector<Point> points;
    for (double lat = lat0; lat <= lat1 + 1e-9; lat += step)
        for (double lon = lon0; lon <= lon1 + 1e-9; lon += step) points.push_back({lon * kDeg, lat * kDeg});
    return points;
}

// Angular distance on the ground between two longitude/latitude pairs, radians (longitudes wrap).
inline double angularError(double lambda1, double phi1, double lambda2, double phi2) {
    const double dl = std::remainder(lambda1 - lambda2, 2 * kHalfTurn);
    return std::max(std::fabs(phi1 - phi2), std::fabs(dl) * std::cos(phi2));
}

struct Differences {
    double forward = 0;    // metres
    double inverse = 0;    // radians
    double roundTrip = 0;  // radians
    int compared = 0;
    int inverseCompared = 0;  // points where PROJ's inverse could be used
    int skipped = 0;          // points the projection's own checks reject
};

// Projects and back-projects every grid point with `projection` and PROJ.
template <typename Projection>
Differences compare(const Projection& projection, const Proj& oracle, const std::vector<Point>& points) {
    Differences d;
    for (const Point& p : points) {
        std::unique_ptr<MapProjectionCoordinates> grid;
        std::unique_ptr<GeodeticCoordinates> back;
        try {
            grid.reset(projection.project(GeodeticCoordinates(10, p.lambda, p.phi, 0)));
            back.reset(projection.backProject(*grid));
        } catch (const CSException&) {
            ++d.skipped;
            continue;
        }
        ++d.compared;
        d.roundTrip =
            std::max(d.roundTrip, angularError(back->longitude(), back->latitude(), p.lambda, p.phi));
        double x, y, lambda, phi;
        if (oracle.forward(p.lambda, p.phi, x, y))
            d.forward = std::max(d.forward, std::hypot(grid->easting() - x, grid->northing() - y));
        // PROJ's own inverse counts only where its forward takes the answer back to the point (to 1 mm):
        // far out some of its iterations stop on a wrong root.
        double xBack, yBack;
        if (oracle.inverse(grid->easting(), grid->northing(), lambda, phi) &&
            oracle.forward(lambda, phi, xBack, yBack) &&
            std::hypot(xBack - grid->easting(), yBack - grid->northing()) < 1e-3) {
            ++d.inverseCompared;
            d.inverse = std::max(d.inverse, angularError(back->longitude(), back->latitude(), lambda, phi));
        }
    }
    return d;
}

// One line of the accuracy table in the test log.
inline void report(const char* code, const char* case_, const Differences& d) {
    std::printf("| %-4s | %-44s | fwd %.2e m | inv %.2e rad | round trip %.2e rad | %5d pts, %d rejected\n",
                code, case_, d.forward, d.inverse, d.roundTrip, d.compared, d.skipped);
}

// The library's messages the conic tests expect.
const std::string k19 = "Ellipsoid semi-major axis must be greater than zero\n";
const std::string k20 = "Inverse flattening must be between 250 and 350\n";
const std::string k22 = "Origin Latitude (or Standard Parallel or Latitude of True Scale) out of range\n";
const std::string k24 = "Central Meridian out of range\n";
const std::string k28 = "Invalid 1st Standard Parallel\n";
const std::string k29 = "Invalid 2nd Standard Parallel\n";
const std::string k30 = "1st & 2nd Standard Parallels cannot both be zero\n";
const std::string k31 = "Standard Parallels cannot be equal and opposite latitudes\n";
const std::string k43 = "Latitude out of range\n";
const std::string k44 = "Longitude out of range\n";
const std::string k45 = "Easting/X out of range\n";
const std::string k46 = "Northing/Y out of range\n";

// The text of the CSException that `call` throws, or "no exception".
inline std::string messageOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const CSException& e) {
        return e.getMessage();
    }
    return "no exception";
}

}  // namespace ConicOracle
