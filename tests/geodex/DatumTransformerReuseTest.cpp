// The transformer keeps the projection object it built and recycles coordinate tuples. Both must be
// invisible: every code runs through a transformer and through a path that builds each class afresh from
// the parameter slots for every point, and both must give bitwise the same values, exception texts and
// scale-factor slot. This is also what checks that each code reads its own slots.
#include <gtest/gtest.h>

#include <cmath>
#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "geodex/ProjectionTestSupport.h"

using namespace ProjectionTestSupport;

namespace {

// One conversion's observable outcome, written out bit for bit (%a), so that two outcomes are the same
// exactly when their texts are. Outputs start as a marker, so "untouched" is visible too.
struct Outcome {
    double first = -7777.25, second = -8888.5, height = -9999.75;
    std::string error;
};

// The construct-everything path: the class of each code built from the slots, used for one point.
template <typename Use>
void withFreshProjection(int code, double a, double f, ProjectParam& p, Use&& use) {
    const double CM = p.centralMeridian, OL = p.originLatitude, FE = p.falseEasting, FN = p.falseNorthing;
    const double k = p.scaleFactor, SP1 = p.standardParallel1, SP2 = p.standardParallel2;
    // clang-format off
    switch (code) {
        case 0: return use(AlbersEqualAreaConic(a, f, CM, OL, SP1, SP2, FE, FN));
        case 1: return use(AzimuthalEquidistant(a, f, CM, OL, FE, FN));
        case 2: return use(Bonne(a, f, CM, OL, FE, FN));
        case 4: return use(Cassini(a, f, CM, OL, FE, FN));
        case 5: return use(CylindricalEqualArea(a, f, CM, OL, FE, FN));
        case 6: return use(EckertIV(a, f, CM, FE, FN));
        case 7: return use(EckertVI(a, f, CM, FE, FN));
        case 8: return use(EquidistantCylindrical(a, f, CM, SP1, FE, FN));
        case 13: return use(Gnomonic(a, f, CM, OL, FE, FN));
        case 14: return use(LambertConformalConic(a, f, CM, OL, FE, FN, k));
        case 15: return use(LambertConformalConic(a, f, CM, OL, SP1, SP2, FE, FN));
        case 17: return use(Mercator(a, f, CM, SP1, FE, FN, p.scaleFactor));
        case 18: return use(Mercator(a, f, CM, FE, FN, k));
        case 20: return use(MillerCylindrical(a, f, CM, FE, FN));
        case 21: return use(Mollweide(a, f, CM, FE, FN));
        case 23: return use(PolarLambertConformalConic(a, f, CM, OL, SP1, FE, FN));
        case 25: return use(Orthographic(a, f, CM, OL, FE, FN));
        case 26: return use(PolarStereographic(a, f, CM, SP1, FE, FN));
        case 27: return use(PolarStereographic(a, f, CM, k, p.hemisphere, FE, FN));
        case 28: return use(Polyconic(a, f, CM, OL, FE, FN));
        case 29: return use(Sinusoidal(a, f, CM, FE, FN));
        case 30: return use(Stereographic(a, f, CM, OL, FE, FN));
        case 31: return use(TransverseCylindricalEqualArea(a, f, CM, OL, FE, FN, k));
        case 32: return use(TransverseMercator(a, f, CM, OL, FE, FN, k));
        case 34: return use(UTM(a, f, p.zoneOverride));
        case 36: return use(VanDerGrinten(a, f, CM, FE, FN));
        case 37: return use(Krovak(a, f, CM, OL, p.coneAxisColatitude, SP1, k, FN, FE));
        default: return;  // a code without a class converts nothing
    }
    // clang-format on
}

// Runs `convert` on a fresh outcome, keeping the exception text and the scale factor afterwards.
template <typename F>
std::string outcome(const double& scaleFactor, F convert, Outcome* kept = nullptr) {
    Outcome o;
    try {
        convert(o);
    } catch (const CSException& e) {
        o.error = e.getMessage();
    }
    if (kept) *kept = o;
    char s[160];
    std::snprintf(s, sizeof s, "(%a, %a, %a, k %a) ", o.first, o.second, o.height, scaleFactor);
    return s + o.error;
}

// a, f, CM, OL, FE, FN, k, SP1, SP2, zone, zone override, hemisphere, cone axis.
using Setting = std::array<double, 13>;
const Setting kTypical = {kA, kF, 0.2, 0.5, 500000, 100000, 0.9996, 0.6, 0.8, 31, 0, 'N', 0.52};

// Applied in this order to one transformer: typical values, another origin, the first again (a kept
// object must not survive a change and back), −0 for 0, invalid slots, non-numbers, another ellipsoid,
// an invalid ellipsoid, the typical values; then those with one input changed at a time, each followed by
// the typical values again: a kept object must notice a change of any single input.
std::vector<Setting> settings() {
    // clang-format off
    std::vector<Setting> all = {kTypical, {kA, kF, 0.86, 0.43, 0, 0, 0.9999, 1.37, -0.3, 33, 33, 'S', 0.5236}, kTypical,
        {kA, kF, -0.0, -0.0, -0.0, -0.0, 1, -0.0, 0.8, 31, 31, 'N', 0.52}, {kA, kF, 0.0, 0.0, 0.0, 0.0, 1, 0.0, 0.8, 31, 31, 'N', 0.52},
        {kA, kF, 7.0, 2.0, 1e9, -1e9, -1, 2.0, 2.0, 61, 70, 'X', 4.0}, {kA, kF, kNaN, kNaN, 0, 0, kNaN, kNaN, 0.8, 1, 0, 'S', kNaN},
        {kA, kF, -kNaN, 0.5, 0, 0, 1, 0.6, 0.8, 1, 0, 'S', 0.52}, {6378245, 1 / 298.3, 0.2, 0.5, 500000, 100000, 0.9996, 0.6, 0.8, 31, 0, 'N', 0.52},
        {-1, 0, 0.2, 0.5, 500000, 100000, 0.9996, 0.6, 0.8, 31, 0, 'N', 0.52}, kTypical};
    const Setting changed = {6378388, 1 / 297.0, 0.25, 0.45, 400000, 0, 0.9, 0.65, 0.7, 32, 32, 'S', 0.55};
    // clang-format on
    for (std::size_t i = 0; i < changed.size(); ++i) {
        all.push_back(kTypical);
        all.back()[i] = changed[i];
        all.push_back(kTypical);
    }
    return all;
}

// Compares the transformer `t` (configured for `code` with `s`) with the fresh path over grids of
// geodetic and grid points; counts the conversions compared and reports the first mismatches.
void compareGrids(DatumTransformer& t, int code, const Setting& s, int& compared, int& mismatches) {
    ProjectParam fresh = t.GetProjectParams();
    // One conversion both ways: `viaFresh` gets the fresh object and the outcome to fill, whose height
    // starts as `height` (a code without a class leaves it so).
    auto both = [&](const char* what, double x, double y, double height, auto viaTransformer, auto viaFresh) {
        Outcome o;
        const std::string a = outcome(t.GetProjectParams().scaleFactor, viaTransformer, &o);
        const std::string b = outcome(fresh.scaleFactor, [&](Outcome& r) {
            r.height = height;
            withFreshProjection(code, s[0], s[1], fresh,
                                [&](const auto& projection) { viaFresh(projection, r); });
        });
        if (++compared, a != b && ++mismatches <= 20)
            ADD_FAILURE() << "code " << code << " " << what << " (" << x << ", " << y << "): transformer "
                          << a << ", fresh " << b;
        return o;
    };
    std::vector<double> lats = {kNaN}, lons = {kNaN};
    for (int i = 0; i <= 10; ++i) {
        lats.push_back(-1.62 + 3.24 * i / 10);
        lons.push_back(-3.3 + 9.7 * i / 10);
    }
    std::vector<std::pair<double, double>> grid;  // northing, easting
    for (double lat : lats)
        for (double lon : lons) {
            const Outcome o = both(
                "project", lat, lon, Outcome().height,
                [&](Outcome& r) { t.Projecting(lat, lon, 12.5, r.first, r.second, r.height); },
                [&](const auto& projection, Outcome& r) {
                    auto* raw = projection.project(GeodeticCoordinates(10, lon, lat, 12.5));
                    const std::unique_ptr<std::remove_pointer_t<decltype(raw)>> p(raw);
                    r.first = p->northing(), r.second = p->easting(), r.height = 12.5;
                });
            if (o.error.empty()) grid.emplace_back(o.first, o.second);
        }
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 7; ++j) grid.emplace_back(-2.1e7 + 7e6 * i + s[5], -2.1e7 + 7e6 * j + s[4]);
    grid.emplace_back(kNaN, s[4]);
    for (const auto& [n, e] : grid)
        both(
            "backProject", n, e, -3.0,
            [&](Outcome& r) { t.BackProjecting(n, e, -3.0, r.first, r.second, r.height); },
            [&, n = n, e = e](const auto& projection, Outcome& r) {
                std::unique_ptr<GeodeticCoordinates> p;
                if constexpr (std::is_same_v<std::decay_t<decltype(projection)>, UTM>)
                    p.reset(projection.backProject(UTMCoordinates(34, fresh.zone, fresh.hemisphere, e, n)));
                else
                    p.reset(projection.backProject(MapProjectionCoordinates(32, e, n)));
                r.first = p->latitude(), r.second = p->longitude();
            });
}
}  // namespace

TEST(DatumTransformerReuse, EveryCodeMatchesAFreshObjectPerPoint) {
    int compared = 0, mismatches = 0;
    for (int code = -1; code <= 38; ++code) {
        DatumTransformer t;
        for (const Setting& s : settings()) {
            t.SetDstEllipsoid(s[0], s[1]);
            t.SetProjectionMethod(code);
            t.SetProjectionParams(s[2], s[3], s[4], s[5], s[6], s[7], s[8], int(s[9]), int(s[10]),
                                  char(s[11]), s[12]);
            compareGrids(t, code, s, compared, mismatches);
        }
        // A copy starts without the kept object, a moved-to transformer carries on with it.
        DatumTransformer copy = t;
        compareGrids(copy, code, kTypical, compared, mismatches);
        DatumTransformer moved = std::move(copy);
        compareGrids(moved, code, kTypical, compared, mismatches);
    }
    std::printf("compared %d conversions, %d differed\n", compared, mismatches);
    EXPECT_EQ(mismatches, 0);
}

// Tuples recycled through the per-thread lists: a block reused by another tuple class starts with empty
// messages, and tuples deleted on another thread than the one that made them are fine.
TEST(CoordinateTupleRecycling, ReusedBlocksStartCleanAndCrossThreads) {
    for (int i = 0; i < 4; ++i) {
        delete new GeodeticCoordinates(CoordinateType::geodetic, "some long warning text", 1, 2, 3);
        std::unique_ptr<MapProjectionCoordinates> grid(
            new MapProjectionCoordinates(CoordinateType::transverseMercator, 4, 5));
        EXPECT_STREQ(grid->warningMessage(), "");
        EXPECT_STREQ(grid->errorMessage(), "");
        EXPECT_EQ(grid->easting(), 4);
    }
    std::vector<CoordinateTuple*> made;
    for (int i = 0; i < 600; ++i)
        made.push_back(new CartesianCoordinates(CoordinateType::geocentric, i, 2 * i, 3 * i));
    std::thread other([&] {
        for (CoordinateTuple* tuple : made) delete tuple;
        made.clear();
        for (int i = 0; i < 600; ++i)
            made.push_back(new UTMCoordinates(CoordinateType::universalTransverseMercator, 31, 'N', i, i));
    });
    other.join();
    for (std::size_t i = 0; i < made.size(); ++i) {
        auto* utm = static_cast<UTMCoordinates*>(made[i]);
        EXPECT_EQ(utm->easting(), static_cast<double>(i));
        EXPECT_EQ(utm->zone(), 31);
        delete made[i];
    }
}
