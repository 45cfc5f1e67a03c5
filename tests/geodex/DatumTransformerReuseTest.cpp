// The transformer keeps the projection object it built and recycles coordinate tuples. Both must be
// invisible: these tests run every code through a transformer and through a path that builds each class
// afresh for every point, and require bitwise the same values, exception texts and scale-factor slot.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "geodex/geodex.h"

using namespace Orvale::Geodex;

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();

std::uint64_t bits(double x) {
    std::uint64_t b = 0;
    std::memcpy(&b, &x, sizeof x);
    return b;
}

// One conversion's observable outcome. Outputs start as a marker, so "untouched" is visible too.
struct Outcome {
    double first = -7777.25;
    double second = -8888.5;
    double height = -9999.75;
    std::string error;
    double scaleFactorAfter = 0;

    bool operator==(const Outcome& o) const {
        return bits(first) == bits(o.first) && bits(second) == bits(o.second) &&
               bits(height) == bits(o.height) && error == o.error &&
               bits(scaleFactorAfter) == bits(o.scaleFactorAfter);
    }
};

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    return out << "(" << o.first << ", " << o.second << ", " << o.height << ", \"" << o.error << "\", k "
               << o.scaleFactorAfter << ")";
}

// The construct-everything path: the class of each code built from the slots for one point.
template <typename Use>
void withFreshProjection(int code, double a, double f, ProjectParam& p, Use&& use) {
    const double CM = p.centralMeridian, OL = p.originLatitude, FE = p.falseEasting, FN = p.falseNorthing;
    const double k = p.scaleFactor, SP1 = p.standardParallel1, SP2 = p.standardParallel2;
    switch (code) {
        case 0:
            use(AlbersEqualAreaConic(a, f, CM, OL, SP1, SP2, FE, FN));
            break;
        case 1:
            use(AzimuthalEquidistant(a, f, CM, OL, FE, FN));
            break;
        case 2:
            use(Bonne(a, f, CM, OL, FE, FN));
            break;
        case 4:
            use(Cassini(a, f, CM, OL, FE, FN));
            break;
        case 5:
            use(CylindricalEqualArea(a, f, CM, OL, FE, FN));
            break;
        case 6:
            use(EckertIV(a, f, CM, FE, FN));
            break;
        case 7:
            use(EckertVI(a, f, CM, FE, FN));
            break;
        case 8:
            use(EquidistantCylindrical(a, f, CM, SP1, FE, FN));
            break;
        case 13:
            use(Gnomonic(a, f, CM, OL, FE, FN));
            break;
        case 14:
            use(LambertConformalConic(a, f, CM, OL, FE, FN, k));
            break;
        case 15:
            use(LambertConformalConic(a, f, CM, OL, SP1, SP2, FE, FN));
            break;
        case 17:
            use(Mercator(a, f, CM, SP1, FE, FN, p.scaleFactor));
            break;
        case 18:
            use(Mercator(a, f, CM, FE, FN, k));
            break;
        case 20:
            use(MillerCylindrical(a, f, CM, FE, FN));
            break;
        case 21:
            use(Mollweide(a, f, CM, FE, FN));
            break;
        case 23:
            use(PolarLambertConformalConic(a, f, CM, OL, SP1, FE, FN));
            break;
        case 25:
            use(Orthographic(a, f, CM, OL, FE, FN));
            break;
        case 26:
            use(PolarStereographic(a, f, CM, SP1, FE, FN));
            break;
        case 27:
            use(PolarStereographic(a, f, CM, k, p.hemisphere, FE, FN));
            break;
        case 28:
            use(Polyconic(a, f, CM, OL, FE, FN));
            break;
        case 29:
            use(Sinusoidal(a, f, CM, FE, FN));
            break;
        case 30:
            use(Stereographic(a, f, CM, OL, FE, FN));
            break;
        case 31:
            use(TransverseCylindricalEqualArea(a, f, CM, OL, FE, FN, k));
            break;
        case 32:
            use(TransverseMercator(a, f, CM, OL, FE, FN, k));
            break;
        case 34:
            use(UTM(a, f, p.zoneOverride));
            break;
        case 36:
            use(VanDerGrinten(a, f, CM, FE, FN));
            break;
        case 37:
            use(Krovak(a, f, CM, OL, p.coneAxisColatitude, SP1, k, FN, FE));
            break;
        default:
            break;
    }
}

Outcome freshProject(int code, double a, double f, ProjectParam& p, double lat, double lon, double h) {
    Outcome o;
    try {
        withFreshProjection(code, a, f, p, [&](const auto& projection) {
            const GeodeticCoordinates point(CoordinateType::geodetic, lon, lat, h);
            const auto result = std::unique_ptr<CoordinateTuple>(projection.project(point));
            double e = 0, n = 0;
            if (auto* grid = dynamic_cast<MapProjectionCoordinates*>(result.get())) {
                e = grid->easting();
                n = grid->northing();
            } else {
                auto* utm = dynamic_cast<UTMCoordinates*>(result.get());
                e = utm->easting();
                n = utm->northing();
            }
            o.first = n;
            o.second = e;
            o.height = h;
        });
    } catch (const CSException& e) {
        o.error = e.getMessage();
    }
    o.scaleFactorAfter = p.scaleFactor;
    return o;
}

Outcome freshBackProject(int code, double a, double f, ProjectParam& p, double n, double e, double h) {
    Outcome o;
    o.height = h;
    try {
        withFreshProjection(code, a, f, p, [&](const auto& projection) {
            std::unique_ptr<GeodeticCoordinates> result;
            if constexpr (std::is_same_v<std::decay_t<decltype(projection)>, UTM>)
                result.reset(projection.backProject(
                    UTMCoordinates(CoordinateType::universalTransverseMercator, p.zone, p.hemisphere, e, n)));
            else
                result.reset(projection.backProject(
                    MapProjectionCoordinates(CoordinateType::transverseMercator, e, n)));
            o.first = result->latitude();
            o.second = result->longitude();
        });
    } catch (const CSException& ex) {
        o.error = ex.getMessage();
    }
    o.scaleFactorAfter = p.scaleFactor;
    return o;
}

Outcome transformerProject(DatumTransformer& t, double lat, double lon, double h) {
    Outcome o;
    try {
        t.Projecting(lat, lon, h, o.first, o.second, o.height);
    } catch (const CSException& e) {
        o.error = e.getMessage();
    }
    o.scaleFactorAfter = t.GetProjectParams().scaleFactor;
    return o;
}

Outcome transformerBackProject(DatumTransformer& t, double n, double e, double h) {
    Outcome o;
    try {
        t.BackProjecting(n, e, h, o.first, o.second, o.height);
    } catch (const CSException& ex) {
        o.error = ex.getMessage();
    }
    o.scaleFactorAfter = t.GetProjectParams().scaleFactor;
    return o;
}

struct Setting {
    double a, f;
    double cm, ol, fe, fn, k, sp1, sp2;
    int zone, zoneOverride;
    char hemisphere;
    double coneAxis;
};

const double kA = 6378137.0;
const double kF = 1 / 298.257223563;

// Applied in this order to one transformer: typical values, another origin, the first again (a kept
// object must not survive a change and back), −0 for 0, invalid slots, non-numbers, another ellipsoid,
// an invalid ellipsoid, and the typical values once more.
const Setting kSettings[] = {
    {kA, kF, 0.2, 0.5, 500000, 100000, 0.9996, 0.6, 0.8, 31, 0, 'N', 0.52},
    {kA, kF, 0.86, 0.43, 0, 0, 0.9999, 1.37, -0.3, 33, 33, 'S', 0.5236},
    {kA, kF, 0.2, 0.5, 500000, 100000, 0.9996, 0.6, 0.8, 31, 0, 'N', 0.52},
    {kA, kF, -0.0, -0.0, -0.0, -0.0, 1, -0.0, 0.8, 31, 31, 'N', 0.52},
    {kA, kF, 0.0, 0.0, 0.0, 0.0, 1, 0.0, 0.8, 31, 31, 'N', 0.52},
    {kA, kF, 7.0, 2.0, 1e9, -1e9, -1, 2.0, 2.0, 61, 70, 'X', 4.0},
    {kA, kF, kNaN, kNaN, 0, 0, kNaN, kNaN, 0.8, 1, 0, 'S', kNaN},
    {kA, kF, -kNaN, 0.5, 0, 0, 1, 0.6, 0.8, 1, 0, 'S', 0.52},
    {6378245, 1 / 298.3, 0.2, 0.5, 500000, 100000, 0.9996, 0.6, 0.8, 31, 0, 'N', 0.52},
    {-1, 0, 0.2, 0.5, 500000, 100000, 0.9996, 0.6, 0.8, 31, 0, 'N', 0.52},
    {kA, kF, 0.2, 0.5, 500000, 100000, 0.9996, 0.6, 0.8, 31, 0, 'N', 0.52},
};

std::vector<double> steps(double from, double to, int count) {
    std::vector<double> v;
    for (int i = 0; i < count; ++i) v.push_back(from + (to - from) * i / (count - 1));
    return v;
}

// Then the typical values with one slot (or the ellipsoid) changed at a time, each followed by the
// typical values again: a kept object must notice a change of any single input.
std::vector<Setting> settings() {
    std::vector<Setting> all(std::begin(kSettings), std::end(kSettings));
    const Setting base = kSettings[0];
    for (int slot = 0; slot < 13; ++slot) {
        Setting s = base;
        switch (slot) {
            case 0:
                s.a = 6378388;
                break;
            case 1:
                s.f = 1 / 297.0;
                break;
            case 2:
                s.cm = 0.25;
                break;
            case 3:
                s.ol = 0.45;
                break;
            case 4:
                s.fe = 400000;
                break;
            case 5:
                s.fn = 0;
                break;
            case 6:
                s.k = 0.9;
                break;
            case 7:
                s.sp1 = 0.65;
                break;
            case 8:
                s.sp2 = 0.7;
                break;
            case 9:
                s.zone = 32;
                break;
            case 10:
                s.zoneOverride = 32;
                break;
            case 11:
                s.hemisphere = 'S';
                break;
            default:
                s.coneAxis = 0.55;
                break;
        }
        all.push_back(s);
        all.push_back(base);
    }
    return all;
}

// Compares the transformer `t` (already configured for `code`) with the fresh path over grids of
// geodetic and grid points; returns the number of conversions compared.
int compareGrids(DatumTransformer& t, int code, const Setting& s, int& mismatches) {
    ProjectParam fresh = t.GetProjectParams();
    int compared = 0;
    auto check = [&](const Outcome& viaTransformer, const Outcome& viaFresh, const char* what, double x,
                     double y) {
        ++compared;
        if (viaTransformer == viaFresh) return;
        if (++mismatches <= 20)
            ADD_FAILURE() << "code " << code << " " << what << " (" << x << ", " << y << "): transformer "
                          << viaTransformer << ", fresh " << viaFresh;
    };
    std::vector<double> lats = steps(-1.62, 1.62, 11);
    lats.push_back(kNaN);
    std::vector<double> lons = steps(-3.3, 6.4, 11);
    lons.push_back(kNaN);
    std::vector<std::pair<double, double>> grid;  // northing, easting
    for (double lat : lats)
        for (double lon : lons) {
            const Outcome viaTransformer = transformerProject(t, lat, lon, 12.5);
            check(viaTransformer, freshProject(code, s.a, s.f, fresh, lat, lon, 12.5), "project", lat, lon);
            if (viaTransformer.error.empty()) grid.emplace_back(viaTransformer.first, viaTransformer.second);
        }
    for (double n : steps(-2.1e7, 2.1e7, 7))
        for (double e : steps(-2.1e7, 2.1e7, 7)) grid.emplace_back(n + s.fn, e + s.fe);
    grid.emplace_back(kNaN, s.fe);
    for (const auto& [n, e] : grid)
        check(transformerBackProject(t, n, e, -3.0), freshBackProject(code, s.a, s.f, fresh, n, e, -3.0),
              "backProject", n, e);
    return compared;
}

void configure(DatumTransformer& t, int code, const Setting& s) {
    t.SetDstEllipsoid(s.a, s.f);
    t.SetProjectionMethod(code);
    t.SetProjectionParams(s.cm, s.ol, s.fe, s.fn, s.k, s.sp1, s.sp2, s.zone, s.zoneOverride, s.hemisphere,
                          s.coneAxis);
}
}  // namespace

TEST(DatumTransformerReuse, EveryCodeMatchesAFreshObjectPerPoint) {
    int compared = 0;
    int mismatches = 0;
    for (int code = -1; code <= 38; ++code) {
        DatumTransformer t;
        for (const Setting& s : settings()) {
            configure(t, code, s);
            compared += compareGrids(t, code, s, mismatches);
        }
        // A copy starts without the kept object, a moved-to transformer carries on with it.
        DatumTransformer copy = t;
        compared += compareGrids(copy, code, kSettings[0], mismatches);
        DatumTransformer moved = std::move(copy);
        compared += compareGrids(moved, code, kSettings[0], mismatches);
    }
    std::printf("compared %d conversions, %d differed\n", compared, mismatches);
    EXPECT_EQ(mismatches, 0);
}

// Code 17 writes its derived scale factor into the slot on every call, also after the slot was set
// again to the value the caller gave.
TEST(DatumTransformerReuse, MercatorByTrueScaleWritesItsScaleFactorEveryTime) {
    DatumTransformer t;
    t.SetDstEllipsoid(kA, kF);
    t.SetProjectionMethod(17);
    for (int round = 0; round < 3; ++round) {
        t.SetProjectionParams(0, 0, 0, 0, 5.0, 0.7, 0, 0, 0, 'N', 0);
        ASSERT_EQ(t.GetProjectParams().scaleFactor, 5.0);
        double n = 0, e = 0, h = 0;
        t.Projecting(0.3, 0.1, 0, n, e, h);
        const double derived = t.GetProjectParams().scaleFactor;
        EXPECT_LT(derived, 1.0) << "round " << round;
        EXPECT_GT(derived, 0.7) << "round " << round;
        t.SetProjectionParams(0, 0, 0, 0, 5.0, 0.7, 0, 0, 0, 'N', 0);
        t.BackProjecting(n, e, 0, n, e, h);
        EXPECT_EQ(bits(t.GetProjectParams().scaleFactor), bits(derived)) << "round " << round;
    }
}

// A failing construction throws on every call: nothing failed is kept.
TEST(DatumTransformerReuse, FailingConstructionThrowsEveryTime) {
    DatumTransformer t;
    t.SetDstEllipsoid(kA, kF);
    t.SetProjectionMethod(32);
    t.SetProjectionParams(0, 0, 0, 0, 0.0, 0, 0, 0, 0, 'N', 0);  // scale factor 0 is invalid
    for (int i = 0; i < 3; ++i) {
        double n = 1, e = 2, h = 3;
        EXPECT_THROW(t.Projecting(0.1, 0.1, 0, n, e, h), CSException);
        EXPECT_EQ(n, 1);
        EXPECT_EQ(e, 2);
        EXPECT_EQ(h, 3);
    }
}

// Tuples recycled through the per-thread lists: a block reused by another tuple class starts with empty
// messages, and tuples deleted on another thread than the one that made them are fine.
TEST(CoordinateTupleRecycling, ReusedBlocksStartCleanAndCrossThreads) {
    for (int i = 0; i < 4; ++i) {
        delete new GeodeticCoordinates(CoordinateType::geodetic, "some long warning text", 1, 2, 3);
        auto* grid = new MapProjectionCoordinates(CoordinateType::transverseMercator, 4, 5);
        EXPECT_STREQ(grid->warningMessage(), "");
        EXPECT_STREQ(grid->errorMessage(), "");
        EXPECT_EQ(grid->easting(), 4);
        delete grid;
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
