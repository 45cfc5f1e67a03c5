// Non-numbers and infinities, in points and in parameters, through every projection code of the
// transformer: each call ends (no iteration runs away), and ends either with CSException or, for the
// one class that checks nothing (Krovak), with non-number results. Never a finite answer from a
// non-number, never a hang.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "geodex/ProjectionTestSupport.h"

using namespace ProjectionTestSupport;

namespace {

const double kInf = std::numeric_limits<double>::infinity();

// The codes with a projection class (the others convert nothing).
const int kCodes[] = {0,  1,  2,  4,  5,  6,  7,  8,  13, 14, 15, 17, 18, 20,
                      21, 23, 25, 26, 27, 28, 29, 30, 31, 32, 34, 36, 37};

// A transformer on a parameter set each code accepts (CM, OL, FE, FN, k, SP1, SP2), one slot optionally
// replaced; and a latitude each code accepts.
DatumTransformer configured(int code, int badSlot = -1, double bad = 0) {
    DatumTransformer t;
    t.SetProjectionMethod(code);
    // clang-format off
    double slot[7] = {code == 37 ? 0.86 : 0.3, code == 23 ? 1.3 : (code == 37 ? 0.43 : 0.5), 500000, 100000, code == 37 ? 0.9999 : 0.9996,
                      code == 23 ? 71 * kDeg : (code == 26 ? 1.2 : (code == 37 ? 1.37 : 0.45)), 0.8};
    // clang-format on
    if (badSlot >= 0) slot[badSlot] = bad;
    t.SetProjectionParams(slot[0], slot[1], slot[2], slot[3], slot[4], slot[5], slot[6], 31, 0, 'N',
                          1.04216856380474);
    return t;
}
double validLatitude(int code) { return code == 23 || code == 26 || code == 27 ? 1.4 : 0.6; }

// Runs a conversion into a and b: true when it threw CSException or left both non-numbers.
bool rejectsOrNaN(const std::function<void(double&, double&)>& convert) {
    double a = 0, b = 0;
    try {
        convert(a, b);
    } catch (const CSException&) {
        return true;
    }
    return std::isnan(a) && std::isnan(b);
}

}  // namespace

TEST(NonNumberInput, PointsAreRejectedByEveryProjectionInBothDirections) {
    for (int code : kCodes)
        for (double bad : {kNaN, kInf, -kInf}) {
            DatumTransformer t = configured(code);
            double h = 0;
            const double lat = validLatitude(code);
            const std::function<void(double&, double&)> calls[] = {
                [&](double& a, double& b) { t.Projecting(bad, 0.35, 0, a, b, h); },
                [&](double& a, double& b) { t.Projecting(lat, bad, 0, a, b, h); },
                [&](double& a, double& b) { t.BackProjecting(bad, 5e5, 0, a, b, h); },
                [&](double& a, double& b) { t.BackProjecting(1e5, bad, 0, a, b, h); }};
            for (const auto& call : calls) EXPECT_TRUE(rejectsOrNaN(call)) << "code " << code;
        }
}

// A slot the code does not read changes nothing; one it reads must not yield a finite point that comes
// back as a finite position.
TEST(NonNumberInput, NonNumberParametersNeverGiveFiniteResults) {
    for (int code : kCodes)
        for (int slot = 0; slot < 7; ++slot) {
            DatumTransformer t = configured(code, slot, kNaN), clean = configured(code);
            double n = 0, e = 0, n0 = 0, e0 = 0, h = 0;
            clean.Projecting(validLatitude(code), 0.35, 0, n0, e0, h);
            try {
                t.Projecting(validLatitude(code), 0.35, 0, n, e, h);
            } catch (const CSException&) {
                continue;
            }
            if (std::isnan(n) || std::isnan(e) || (n == n0 && e == e0)) continue;
            EXPECT_TRUE(rejectsOrNaN([&](double& lat, double& lon) {
                t.BackProjecting(n, e, 0, lat, lon, h);
                lat = lon = std::isnan(lat) || std::isnan(lon) ? NAN : 0.0;  // either a non-number will do
            })) << "code "
                << code << " slot " << slot << " gave " << n << ", " << e;
        }
}

TEST(NonNumberInput, GeocentricAndShiftsPropagateOrReject) {
    DatumTransformer t;
    double x = 0, y = 0, z = 0;
    EXPECT_THROW(t.GeodeticToGeocentric(kA, kF, kNaN, 0.5, 0, x, y, z), CSException);
    EXPECT_THROW(t.GeodeticToGeocentric(kA, kF, 0.5, kNaN, 0, x, y, z), CSException);
    EXPECT_THROW(t.GeodeticToGeocentric(kNaN, kF, 0.5, 0.5, 0, x, y, z), CSException);
    double lat = 0, lon = 0, h = 0;
    t.GeocentricToGeodetic(kA, kF, kNaN, 1, 1, lat, lon, h);  // ends
    EXPECT_TRUE(std::isnan(lat) || std::isnan(lon));
    for (int method : {0, 1, 2}) {
        t.SetTransformMethod(method);
        t.SetTransformParams(10, 20, 30, 1e-6, 2e-6, 3e-6, 1e-6);
        EXPECT_TRUE(rejectsOrNaN([&](double& lat, double& lon) {
            t.GeodeticShiftFromWGS84(kNaN, 0.5, 0, lat, lon, h);
            lon = lat;  // the latitude alone must be a non-number
        })) << "method "
            << method;
    }
}
