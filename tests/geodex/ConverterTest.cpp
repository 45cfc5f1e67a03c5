// The conversion chain over arrays: PROJ on the equivalent pipelines as the oracle of the forward
// chain, and the settings refused when a converter is built. (Round trips through every inverse, in place,
// more refused settings and a failing point in an array are the Python module's tables, on the same
// converter; the command's table checks failing lines.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "geodex/ProjectionTestSupport.h"

using namespace ProjectionTestSupport;
using Operation = ConverterSettings::Operation;

namespace {

// The two local systems on the Krassowsky ellipsoid: a transverse Mercator grid with a seven-parameter
// shift and a Lambert grid with a Molodensky shift.
ConverterSettings siteTM() {
    ConverterSettings s;
    s.a = kKrassowskyA;
    s.f = kKrassowskyF;
    s.transformMethod = 1;
    s.shift = ParamSeven(15.8, -154.4, -82.3, 2.3 * kArcSecond, -1.2 * kArcSecond, 3.5 * kArcSecond, 4.2e-6);
    s.projectionMethod = 32;
    s.projection.centralMeridian = 117 * kDeg;
    s.projection.originLatitude = 0;
    s.projection.falseEasting = 500000;
    s.projection.falseNorthing = 0;
    s.projection.scaleFactor = 1;
    return s;
}

ConverterSettings siteLCC() {
    ConverterSettings s = siteTM();
    s.transformMethod = 2;
    s.shift = ParamSeven(-24, 123, 94, 0, 0, 0, 0);
    s.projectionMethod = 15;
    s.projection.centralMeridian = 105 * kDeg;
    s.projection.originLatitude = 30 * kDeg;
    s.projection.standardParallel1 = 25 * kDeg;
    s.projection.standardParallel2 = 47 * kDeg;
    s.projection.falseEasting = 400000;
    s.projection.falseNorthing = 100000;
    return s;
}

}  // namespace

// The forward chain against PROJ on the pipeline of the same system (PROJ's Molodensky takes the
// change of ellipsoid as target minus source).
TEST(Converter, ConvertAgreesWithProjToTheMillimetre) {
#if !GEODEX_HAVE_PROJ
    GTEST_SKIP() << "PROJ not found";
#else
    const std::string molodensky =
        format("+step +proj=molodensky +ellps=WGS84 +dx=-24 +dy=123 +dz=94 +da=%.17g +df=%.17g",
               kKrassowskyA - kA, kKrassowskyF - kF);
    const struct {
        const char* name;
        ConverterSettings settings;
        std::string pipeline;
        double lat0, lon0, spread;
    } cases[] = {
        {"Site TM", siteTM(),
         "+proj=pipeline +step +proj=cart +ellps=WGS84 +step +proj=helmert +x=15.8 +y=-154.4 +z=-82.3 "
         "+rx=2.3 +ry=-1.2 +rz=3.5 +s=4.2 +convention=coordinate_frame +exact +step +inv +proj=cart "
         "+a=6378245 +rf=298.3 +step +proj=tmerc +lon_0=117 +k=1 +x_0=500000 +a=6378245 +rf=298.3",
         33, 117, 2.5},
        {"Site LCC", siteLCC(),
         "+proj=pipeline " + molodensky +
             " +step +proj=lcc +lat_0=30 +lon_0=105 +lat_1=25 +lat_2=47 +x_0=400000 +y_0=100000 "
             "+a=6378245 +rf=298.3",
         35, 105, 8},
    };
    for (const auto& c : cases) {
        // 2000 random points around (lat0, lon0) degrees, in radians and metres.
        const size_t n = 2000;
        std::vector<double> lat(n), lon(n), h(n), north(n), east(n), height(n);
        std::mt19937 rng(11);
        std::uniform_real_distribution<double> d(-c.spread, c.spread), heights(-50, 2500);
        for (size_t i = 0; i < n; ++i) {
            lon[i] = (c.lon0 + d(rng)) * kDeg;
            lat[i] = (c.lat0 + d(rng)) * kDeg;
            h[i] = heights(rng);
        }
        ASSERT_EQ(Converter(c.settings)
                      .convert(n, lat.data(), lon.data(), h.data(), north.data(), east.data(), height.data()),
                  0u);
        const std::shared_ptr<PJ> pj = projObject(c.pipeline);
        ASSERT_NE(pj, nullptr) << c.pipeline;
        Largest worst, worstH;
        for (size_t i = 0; i < n; ++i) {
            const PJ_COORD r = proj_trans(pj.get(), PJ_FWD, proj_coord(lon[i], lat[i], h[i], 0));
            worst(std::hypot(r.xyz.x - east[i], r.xyz.y - north[i]));
            worstH(std::fabs(r.xyz.z - height[i]));
        }
        std::printf("[ oracle ] %s vs PROJ: largest horizontal %.3g m, vertical %.3g m\n", c.name,
                    worst.value, worstH.value);
        EXPECT_LT(worst.value, 1e-3) << c.name;
        EXPECT_LT(worstH.value, 1e-3) << c.name;
    }
#endif
}

// Settings the transformer would only reject point by point are refused when the converter is built, with
// the library's message on one line; settings the operation does not read are not. (Codes without a class,
// scale factors, flattenings and plane scales are rows of the Python module's table.)
TEST(Converter, RefusesOnlySettingsThatConvertNoPoint) {
    ConverterSettings geocentric = siteTM(), shift = siteTM(), utm = siteTM();
    geocentric.mode = Operation::Geocentric;
    geocentric.a = -1;
    // Molodensky reads no ellipsoid check, and a projection code is not read by a shift.
    shift.mode = Operation::Shift;
    shift.transformMethod = 2;
    shift.projectionMethod = 3;
    // UTM with a zone override is tried in the zone it names.
    utm.projectionMethod = 34;
    utm.projection.zoneOverride = 12;
    for (const ConverterSettings& s : {siteTM(), shift, utm}) EXPECT_NO_THROW(Converter{s});
    EXPECT_THROW(
        try { Converter{geocentric}; } catch (const std::invalid_argument& e) {
            EXPECT_NE(std::string(e.what()).find("semi-major axis"), std::string::npos) << e.what();
            EXPECT_EQ(std::string(e.what()).find('\n'), std::string::npos) << e.what();
            throw;
        },
        std::invalid_argument);
}

// An array converts two points at a time through an interleaved datum shift; each point must come out
// bit for bit as it does alone (convertPoint), failures included, whatever the shift method (and for the
// shift alone), for an odd
// count and with the outputs written over the inputs. The grid spans points that fail in the shift
// (latitude or longitude out of range, non-numbers), in the projection (too far from the central
// meridian, too close to a pole) and points near the polar axis.
TEST(Converter, ArrayConvertsEachPointAsItDoesAlone) {
    std::vector<double> lat, lon, h;
    for (double la = -96; la <= 96; la += 4.25)
        for (double lo = -200; lo <= 380; lo += 14.5) {
            lat.push_back(la * kDeg), lon.push_back(lo * kDeg), h.push_back(la * 37 - lo);
        }
    for (double la : {89.995, -89.999, 90.0})
        lat.push_back(la * kDeg), lon.push_back(117 * kDeg), h.push_back(5);
    lat.push_back(NAN), lon.push_back(117 * kDeg), h.push_back(0);
    lat.push_back(31 * kDeg), lon.push_back(NAN), h.push_back(0);
    if (lat.size() % 2 == 0) lat.push_back(30 * kDeg), lon.push_back(118 * kDeg), h.push_back(1);
    for (int run = 0; run < 4; ++run) {
        const int method = run % 3;
        ConverterSettings s = siteTM();
        s.mode = run == 3 ? Operation::Shift : Operation::Convert;
        s.transformMethod = method;
        s.planeAdjust = method == 1;
        s.planeShiftX = 12, s.planeRotation = 3.5, s.planeScale = 1.0001;
        s.eleMethod = method == 1 ? 3 : 0;
        s.eleCoef[0] = 1e-5, s.eleCoef[3] = 2e-12, s.eleCoef[5] = 4;
        Converter converter(s);
        std::vector<double> north = lat, east = lon, height = h;
        std::vector<PointFailure> failures;
        const std::size_t failed = converter.convert(lat.size(), north.data(), east.data(), height.data(),
                                                     north.data(), east.data(), height.data(), &failures);
        EXPECT_EQ(failed, failures.size());
        std::size_t next = 0, mismatches = 0;
        for (std::size_t i = 0; i < lat.size(); ++i) {
            const double in[3] = {lat[i], lon[i], h[i]};
            double out[3];
            std::string message;
            const bool ok = converter.convertPoint(in, out, &message);
            const bool listed = next < failures.size() && failures[next].index == i;
            const double array[3] = {north[i], east[i], height[i]};
            const bool same = std::memcmp(out, array, sizeof out) == 0;
            if (listed) ++next;
            const bool differs = ok == listed || !same || (listed && failures[next - 1].message != message);
            if (differs && ++mismatches <= 5)
                ADD_FAILURE() << "run " << run << " point " << i << " (" << lat[i] / kDeg << ", "
                              << lon[i] / kDeg << "): alone " << (ok ? "converts" : message);
        }
        EXPECT_EQ(next, failures.size());
        EXPECT_EQ(mismatches, 0u);
        EXPECT_GT(failed, 10u);
        EXPECT_GT(lat.size() - failed, 500u);
    }
}
