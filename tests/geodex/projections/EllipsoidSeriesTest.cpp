// The shared ellipsoid series against GeographicLib's exact auxiliary latitudes and meridian arc.
#include <GeographicLib/Ellipsoid.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "geodex/projections/EllipsoidMath.h"

using namespace Orvale::Geodex;

namespace {
const double kDeg = kPi / 180;

struct Body {
    const char* name;
    double a, f;
};
const Body kBodies[] = {{"WGS 84", 6378137.0, 1 / 298.257223563},
                        {"Clarke 1880", 6378249.145, 1 / 293.465},
                        {"flattest accepted", 6378137.0, 1 / 250.0}};
}  // namespace

TEST(EllipsoidSeries, AgreeWithExactAuxiliaryLatitudes) {
    for (const Body& body : kBodies) {
        const GeographicLib::Ellipsoid exact(body.a, body.f);
        const double es2 = eccentricitySquared(body.f);
        const double e = std::sqrt(es2);
        const MeridianSeries arc(body.a, body.f);
        const AuthalicSeries authalic(es2);
        const ConformalSeries conformal(es2);
        const double qp = authalicQ(e, es2, kHalfPi);
        double arcErr = 0, footErr = 0, authErr = 0, confErr = 0, mErr = 0, tErr = 0;
        for (double deg = -89.5; deg <= 89.5; deg += 0.5) {
            const double phi = deg * kDeg;
            arcErr = std::max(arcErr, std::fabs(arc.distance(phi) - exact.MeridianDistance(deg)));
            const double mu = exact.RectifyingLatitude(deg) * kDeg;
            footErr = std::max(footErr, std::fabs(arc.footpoint(mu) - phi));
            const double beta = exact.AuthalicLatitude(deg) * kDeg;
            authErr = std::max(authErr, std::fabs(authalic.latitude(beta) - phi));
            authErr = std::max(authErr, std::fabs(std::asin(authalicQ(e, es2, phi) / qp) - beta));
            const double chi = exact.ConformalLatitude(deg) * kDeg;
            confErr = std::max(confErr, std::fabs(conformal.latitude(chi) - phi));
            tErr = std::max(tErr,
                            std::fabs(-std::log(isometricT(e, phi)) - exact.IsometricLatitude(deg) * kDeg));
            const double circle = exact.CircleRadius(deg) / body.a;
            mErr = std::max(mErr, std::fabs(parallelRadiusFactor(es2, phi) - circle));
        }
        std::printf(
            "%-18s meridian arc %.2e m, footpoint %.2e rad, authalic %.2e rad, conformal %.2e rad, "
            "isometric %.2e, m(phi) %.2e\n",
            body.name, arcErr, footErr, authErr, confErr, tErr, mErr);
        // The e⁶ arc series is a documented approximation: about a millimetre at the flattest ellipsoid.
        EXPECT_LT(arcErr, 2e-3) << body.name;
        EXPECT_LT(footErr, 1e-9) << body.name;
        EXPECT_LT(authErr, 1e-9) << body.name;
        EXPECT_LT(confErr, 1e-10) << body.name;
        EXPECT_LT(tErr, 1e-12) << body.name;
        EXPECT_LT(mErr, 1e-15) << body.name;
    }
}

TEST(EllipsoidSeries, AuthalicLatitudeKeepsItsDigitsUpToThePoles) {
    // asin(q/qp) loses half the digits near a pole (errors near 1e-8 rad); the cancellation-free form
    // must not. The series inverse must undo the series to rounding.
    for (const Body& body : kBodies) {
        const GeographicLib::Ellipsoid exact(body.a, body.f);
        const double es2 = eccentricitySquared(body.f);
        const double e = std::sqrt(es2);
        const AuthalicSeries series(es2);
        double worst = 0, worstInverse = 0;
        for (double colatitude : {0.0, 1e-12, 1e-9, 1e-7, 1e-5, 1e-3, 0.1, 0.7, 1.5, kHalfPi}) {
            for (double sign : {1.0, -1.0}) {
                const double phi = sign * (kHalfPi - colatitude);
                const double reference = exact.AuthalicLatitude(phi / kDeg) * kDeg;
                worst = std::max(worst, std::fabs(authalicLatitude(e, es2, phi) - reference));
                const double beta = series.authalicOf(phi);
                worstInverse = std::max(worstInverse, std::fabs(series.latitude(beta) - phi));
            }
        }
        for (int i = -900; i <= 900; ++i) {
            const double phi = i * 0.1 * kDeg;
            worstInverse = std::max(worstInverse, std::fabs(series.latitude(series.authalicOf(phi)) - phi));
        }
        std::printf("%-18s authalic latitude %.2e rad, series inverse %.2e rad\n", body.name, worst,
                    worstInverse);
        EXPECT_LT(worst, 1e-15) << body.name;
        EXPECT_LT(worstInverse, 1e-15) << body.name;
    }
}
