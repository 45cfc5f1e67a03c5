// The conversion chain over arrays: PROJ on the equivalent pipelines as the oracle of the forward
// chain, round trips through every inverse (shifts and the chain with its adjustments), the settings it
// rejects, and a failing point in an array.
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

#if GEODEX_HAVE_PROJ
#include <proj.h>
#endif

using namespace ProjectionTestSupport;
using Operation = ConverterSettings::Operation;

namespace {

const double kArcSecond = 4.84813681109536e-6;

// The two local systems on the Krassowsky ellipsoid: a transverse Mercator grid with a seven-parameter
// shift and a Lambert grid with a Molodensky shift.
ConverterSettings siteTM() {
    ConverterSettings s;
    s.a = 6378245.0;
    s.f = 1 / 298.3;
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

// n random points (radians, metres) around (lat0, lon0) degrees, as three arrays.
struct Points {
    std::vector<double> lat, lon, h;
};
Points points(double lat0, double lon0, double spread, int n) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> d(-spread, spread), height(-50, 2500);
    Points p;
    for (int i = 0; i < n; ++i) {
        p.lon.push_back((lon0 + d(rng)) * kDeg);
        p.lat.push_back((lat0 + d(rng)) * kDeg);
        p.h.push_back(height(rng));
    }
    return p;
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
               6378245.0 - 6378137.0, 1 / 298.3 - 0.0033528106647474805);
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
        const Points p = points(c.lat0, c.lon0, c.spread, 2000);
        const size_t n = p.lat.size();
        std::vector<double> north(n), east(n), height(n);
        Converter converter(c.settings);
        ASSERT_EQ(converter.convert(n, p.lat.data(), p.lon.data(), p.h.data(), north.data(), east.data(),
                                    height.data()),
                  0u);
        std::shared_ptr<PJ> pj(proj_create(PJ_DEFAULT_CTX, c.pipeline.c_str()),
                               [](PJ* x) { proj_destroy(x); });
        ASSERT_NE(pj, nullptr) << c.pipeline;
        Largest worst, worstH;
        for (size_t i = 0; i < n; ++i) {
            const PJ_COORD r = proj_trans(pj.get(), PJ_FWD, proj_coord(p.lon[i], p.lat[i], p.h[i], 0));
            worst(std::hypot(r.xyz.x - east[i], r.xyz.y - north[i]));
            worstH(std::fabs(r.xyz.z - height[i]));
        }
        std::printf("[ oracle ] %s vs PROJ: largest horizontal %.3g m, vertical %.3g m\n", c.name, worst.value,
                    worstH.value);
        EXPECT_LT(worst.value, 1e-3) << c.name;
        EXPECT_LT(worstH.value, 1e-3) << c.name;
    }
#endif
}

// Each inverse undoes its forward run, in place (outputs over the inputs): both shifts, and the chain
// with its plane and height adjustments.
TEST(Converter, InversesUndoEveryStepIncludingAdjustments) {
    ConverterSettings bursa = siteTM(), molodensky = siteLCC();
    bursa.mode = molodensky.mode = Operation::Shift;
    ConverterSettings adjustedTM = siteTM(), adjustedLCC = siteLCC();
    for (ConverterSettings* s : {&adjustedTM, &adjustedLCC}) {
        s->planeAdjust = true;
        s->planeShiftX = 1250.5;
        s->planeShiftY = -830.25;
        s->planeRotation = 12.5;
        s->planeScale = 1.0000123;
        s->eleMethod = 3;
        const double coef[6] = {1e-6, -2e-6, 1e-13, 2e-13, -1e-13, 0.35};
        std::copy(coef, coef + 6, s->eleCoef);
    }
    Points world;  // far apart, on both sides of the date line
    world.lat = {31.2 * kDeg, -33.9 * kDeg, 60 * kDeg};
    world.lon = {121.5 * kDeg, 151.2 * kDeg, -150 * kDeg};
    world.h = {20, 100, 0};
    const struct {
        const char* name;
        ConverterSettings settings;
        Points input;
        double angle;  // radians; the Lambert inverse stops its latitude iteration at 4.85e-10
    } cases[] = {{"seven-parameter shift", bursa, world, 1e-14},
                 {"Molodensky shift", molodensky, world, 1e-14},
                 {"TM chain with adjustments", adjustedTM, points(33, 117, 2.5, 500), 1e-12},
                 {"LCC chain with adjustments", adjustedLCC, points(33, 105, 2.5, 500), 1e-11}};
    for (const auto& c : cases) {
        Points p = c.input;
        const size_t n = p.lat.size();
        Converter there(c.settings);
        ASSERT_EQ(
            there.convert(n, p.lat.data(), p.lon.data(), p.h.data(), p.lat.data(), p.lon.data(), p.h.data()),
            0u);
        ConverterSettings inverse = c.settings;
        inverse.inverse = true;
        Converter back(inverse);
        ASSERT_EQ(
            back.convert(n, p.lat.data(), p.lon.data(), p.h.data(), p.lat.data(), p.lon.data(), p.h.data()),
            0u);
        Largest worst, worstH;
        for (size_t i = 0; i < n; ++i) {
            worst(std::fabs(p.lat[i] - c.input.lat[i]));
            worst(std::fabs(std::remainder(p.lon[i] - c.input.lon[i], 2 * kHalfTurn)));
            worstH(std::fabs(p.h[i] - c.input.h[i]));
        }
        std::printf("[ round trip ] %s: largest %.3g rad, %.3g m\n", c.name, worst.value, worstH.value);
        EXPECT_LT(worst.value, c.angle) << c.name;
        EXPECT_LT(worstH.value, 1e-6) << c.name;
    }
}

// Settings the transformer would only reject point by point (or not at all) are refused when the
// converter is built, with the library's message.
TEST(Converter, RejectsSettingsThatConvertNoPoint) {
    auto with = [](auto change) {
        ConverterSettings s = siteTM();
        change(s);
        return s;
    };
    const struct {
        ConverterSettings settings;
        const char* message;  // "" accepted
    } cases[] = {
        {siteTM(), ""},
        {with([](ConverterSettings& s) { s.projectionMethod = 3; }),
         "projection code 3 has no projection class"},
        {with([](ConverterSettings& s) { s.projection.scaleFactor = 5; }), "scale=5"},
        {with([](ConverterSettings& s) { s.f = 0.5; }), "Inverse flattening"},
        {with([](ConverterSettings& s) { s.mode = Operation::Geocentric, s.a = -1; }), "semi-major axis"},
        {with([](ConverterSettings& s) { s.planeAdjust = true, s.planeScale = 0; }),
         "plane adjustment scale"},
        // Molodensky reads no ellipsoid check, and a projection code is not read by a shift.
        {with([](ConverterSettings& s) {
             s.mode = Operation::Shift, s.transformMethod = 2, s.projectionMethod = 3;
         }),
         ""},
        // UTM with a zone override is tried in the zone it names.
        {with([](ConverterSettings& s) { s.projectionMethod = 34, s.projection.zoneOverride = 12; }), ""},
    };
    for (const auto& c : cases) {
        std::string message;
        try {
            Converter converter(c.settings);
        } catch (const std::invalid_argument& e) {
            message = e.what();
        }
        if (*c.message == '\0')
            EXPECT_EQ(message, "");
        else
            EXPECT_NE(message.find(c.message), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    }
}

// A point that fails leaves NaN in every output and its message under its index; the others convert as
// they do alone. Without heights the points lie on the ellipsoid.
TEST(Converter, FailingPointGivesNaNAndItsMessage) {
    ConverterSettings s = siteTM();
    s.mode = Operation::Project;
    Converter converter(s);
    const double lat[] = {31 * kDeg, 95 * kDeg, 32 * kDeg}, lon[] = {118 * kDeg, 118 * kDeg, 118 * kDeg};
    double north[3], east[3], h[3];
    std::vector<PointFailure> failures;
    EXPECT_EQ(converter.convert(3, lat, lon, nullptr, north, east, h, &failures), 1u);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].index, 1u);
    EXPECT_EQ(failures[0].message, "Latitude out of range");
    EXPECT_TRUE(std::isnan(north[1]) && std::isnan(east[1]) && std::isnan(h[1]));
    for (int i : {0, 2}) {
        const double in[3] = {lat[i], lon[i], 0};
        double out[3];
        ASSERT_TRUE(converter.convertPoint(in, out));
        EXPECT_EQ(north[i], out[0]);
        EXPECT_EQ(east[i], out[1]);
        EXPECT_EQ(h[i], 0.0);
    }
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
