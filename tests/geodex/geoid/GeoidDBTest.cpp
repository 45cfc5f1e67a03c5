// The GGF geoid grid: its interpolators against GeographicLib on the same grid, the node values, the
// region choice of the EGM96 variable grid, limits, load failures and hostile files; and the transformer's
// heights through the grid of its geoid file.
#include <gtest/gtest.h>

#if GEODEX_HAVE_GEOGRAPHICLIB
#include <GeographicLib/Geoid.hpp>
#endif
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <unistd.h>

#include "geodex/ProjectionTestSupport.h"
#include "geodex/geoid/GgfFile.h"

using namespace Orvale::Geodex;
using ProjectionTestSupport::kDeg;
using ProjectionTestSupport::Largest;

namespace {

GeoidDB* db() { return GeoidDB::getInstance(); }

// A file name of its own for each test (the tests may run in parallel processes).
std::string tempPath(const std::string& suffix) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return ::testing::TempDir() + "geoid_" + info->test_suite_name() + "_" + info->name() + suffix;
}

// A global grid (or one within the given limits) of rows × columns nodes `spacing` degrees apart.
GgfFile::Header header(int rows, int columns, double spacing, bool hundredths = true, double south = -90,
                       double north = 90, double west = -180, double east = 360) {
    return {south, north, west, east, spacing, spacing, rows, columns, hundredths};
}

// Loads the file: "loaded" or the text of the exception.
std::string loadPath(const char* path) {
    try {
        db()->LoadGGFFile(path);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "loaded";
}
std::string load(const std::string& bytes) {
    GgfFile::writeFile(tempPath(".ggf"), bytes);
    return loadPath(tempPath(".ggf").c_str());
}
void load(const GgfFile::Header& h, const std::vector<int>& values) {
    ASSERT_EQ(load(GgfFile::ggfBytes(h, values)), "loaded");
}

struct EntryPoint {
    const char* name;
    std::function<void(double lon, double lat, double h, double* out)> entry;
    double sign;  // out = height + sign · N
};
// The two general conversions go through the EGM84 ten-degree bilinear grid and return 0.
void general(long (GeoidDB::*f)(double, double, double, double*), double lon, double lat, double h,
             double* out) {
    EXPECT_EQ((db()->*f)(lat, lon, h, out), 0);
}
#define GEOID_ENTRY(f) [](double lon, double lat, double h, double* out) { db()->f(lon, lat, h, out); }
// clang-format off
const EntryPoint kEntryPoints[] = {
    {"EllipsoidToEGM84TenDegBilinear", GEOID_ENTRY(convertEllipsoidToEGM84TenDegBilinearHeight), -1},
    {"EllipsoidToEGM96FifteenMinBilinear", GEOID_ENTRY(convertEllipsoidToEGM96FifteenMinBilinearGeoidHeight), -1},
    {"EGM84TenDegBilinearToEllipsoid", GEOID_ENTRY(convertEGM84TenDegBilinearToEllipsoidHeight), 1},
    {"EGM96FifteenMinBilinearToEllipsoid", GEOID_ENTRY(convertEGM96FifteenMinBilinearGeoidToEllipsoidHeight), 1},
    {"EllipsoidToEGM84TenDegNaturalSpline", GEOID_ENTRY(convertEllipsoidToEGM84TenDegNaturalSplineHeight), -1},
    {"EGM84TenDegNaturalSplineToEllipsoid", GEOID_ENTRY(convertEGM84TenDegNaturalSplineToEllipsoidHeight), 1},
    {"EllipsoidToEGM96VariableNaturalSpline", GEOID_ENTRY(convertEllipsoidToEGM96VariableNaturalSplineHeight), -1},
    {"EGM96VariableNaturalSplineToEllipsoid", GEOID_ENTRY(convertEGM96VariableNaturalSplineToEllipsoidHeight), 1},
    {"EllipsoidToGeoid", [](double lon, double lat, double h, double* out) { general(&GeoidDB::ConvertEllipsoidToGeoidHeight, lon, lat, h, out); }, -1},
    {"GeoidToEllipsoid", [](double lon, double lat, double h, double* out) { general(&GeoidDB::ConvertGeoidToEllipsoidHeight, lon, lat, h, out); }, 1},
};
// clang-format on

// One entry point at a point in degrees; `out` starts as −1, so that an untouched output shows.
double lastOut;
double convert(const EntryPoint& e, double lat, double lon, double h = 0) {
    lastOut = -1;
    e.entry(lon * kDeg, lat * kDeg, h, &lastOut);
    return lastOut;
}

// True when a conversion works; with no grid every entry point throws and writes nothing.
bool gridHeld() {
    int refused = 0;
    for (const EntryPoint& e : kEntryPoints) try {
            convert(e, 0, 0);
        } catch (const std::runtime_error& x) {
            refused += std::string(x.what()) == "no ggf grid loaded" && lastOut == -1;
        }
    EXPECT_TRUE(refused == 0 || refused == int(std::size(kEntryPoints)));
    return refused == 0;
}

}  // namespace

// Node values are hundredths of a metre (16-bit) or metres as floats (32-bit). A constant grid shifts by
// its value through every entry point, across the whole globe: a 30° grid holds 7 × 13 = 91 values, far
// fewer than the EGM84 spline (702) and EGM96 variable (1038960) entry points allow, so every read must be
// clamped to the grid. At every node of a varying grid both interpolators return the node value (the
// spline reading no element beyond the last of the grid).
TEST(GeoidDB, EveryEntryPointShiftsByTheGridAndInterpolatorsHitTheNodes) {
    const std::vector<int> values = GgfFile::syntheticGrid(19, 37, 10);
    for (bool hundredths : {true, false}) {
        load(header(7, 13, 30, hundredths), std::vector<int>(7 * 13, 2000));
        for (double lat = -90; lat <= 90; lat += 7.5)
            for (double lon = -180; lon <= 360; lon += 7.5)
                for (const EntryPoint& e : kEntryPoints)
                    EXPECT_NEAR(convert(e, lat, lon, 100), 100 + e.sign * 20, 1e-12) << e.name << lat << lon;
        load(header(19, 37, 10, hundredths), values);
        for (int r = 0; r < 19; ++r)
            for (int c = 0; c < 37; ++c) {
                const double node = double(float(values[r * 37 + c] / 100.0));
                for (const EntryPoint& e : {kEntryPoints[2], kEntryPoints[5]})
                    EXPECT_NEAR(convert(e, 90 - 10 * r, 10 * c), node, 1e-12) << e.name << r << ", " << c;
            }
    }
}

#if GEODEX_HAVE_GEOGRAPHICLIB
TEST(GeoidDB, AgreesWithGeographicLibBilinearOnTheSameGrid) {
    const std::vector<int> values = GgfFile::syntheticGrid(181, 361, 1);
    const std::string dir = ::testing::TempDir(), pgmName = "geodex_synthetic_" + std::to_string(::getpid());
    GgfFile::writePgm(dir + pgmName + ".pgm", 181, 361, values);
    const GeographicLib::Geoid oracle(pgmName, dir, false, true);
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> latitude(-90, 90), longitude(-180, 360);
    for (bool hundredths : {true, false}) {
        load(header(181, 361, 1, hundredths), values);
        Largest largest;
        for (int k = 0; k < 5000; ++k) {
            const double lat = latitude(random), lon = longitude(random);
            double ours = 0;
            db()->ConvertGeoidToEllipsoidHeight(lat * kDeg, lon * kDeg, 0, &ours);
            largest(std::fabs(ours - oracle(lat, lon)));
            ASSERT_NEAR(ours, oracle(lat, lon), 4 * FLT_EPSILON * 330) << lat << ", " << lon;
        }
        std::printf("largest difference from GeographicLib (%d-bit): %.3g m\n", hundredths ? 16 : 32,
                    largest.value);
    }
    std::remove((dir + pgmName + ".pgm").c_str());
}

#endif

TEST(GeoidDB, PointOutsideTheLimitsRaisesOneExceptionWithBothMessages) {
    load(header(181, 361, 1, true, -10, 10, 0, 20), GgfFile::syntheticGrid(181, 361, 1));
    const struct {
        double lat, lon;
        const char* text;
    } cases[] = {{11, -1, "Latitude out of range\nLongitude out of range\n"},
                 {-10.5, 5, "Latitude out of range\n"},
                 {5, 20.5, "Longitude out of range\n"},
                 {NAN, 5, "Latitude out of range\n"},
                 {5, NAN, "Longitude out of range\n"}};
    for (const auto& c : cases)
        for (const EntryPoint& e : kEntryPoints) try {
                ADD_FAILURE() << e.name << " gave " << convert(e, c.lat, c.lon);
            } catch (const CSException& x) {
                EXPECT_STREQ(x.getMessage(), c.text) << e.name;
                EXPECT_EQ(lastOut, -1) << "out written by " << e.name;
            }
}

// Values are the element indices of a 721 × 361 grid, so the value read at a node reveals the column count
// used: index = row · columns + column. Lower bounds of an area belong to it, upper ones do not.
TEST(GeoidDB, EGM96VariableChoosesTheGridByRegion) {
    std::vector<int> index(361 * 721);
    for (std::size_t k = 0; k < index.size(); ++k) index[k] = int(k) * 100;
    load(header(361, 721, 0.5, false), index);
    // clang-format off
    const double cases[][3] = {
        {75, 274, 721},       // first high-resolution area
        {-72.5, 25, 721},     // last high-resolution area
        {0, 125, 721},        // (−1, 1, 125, 128.5)
        {-60.5, -47.5, 721},  // (−61.5, −60, 312.5, 317) reached through a negative longitude
        {75.5, 274, 181},     // upper latitude bound of the first area, and beyond 60°
        {0, 128.5, 361},      // upper longitude bound, within ±60°
        // Neither −60° nor 125° survives the radian round trip: these rows lie one step either side.
        {-60, 10, 361}, {-60.000000000000007, 10, 181}, {0, 124.99999999999999, 361},
        {60.5, 10, 181}, {-60.5, 10, 181}, {10, 10, 361}};
    // clang-format on
    for (const auto& c : cases) {
        const double row = std::lround((90 - c[0]) / 0.5),
                     column = std::lround((c[1] < 0 ? c[1] + 360 : c[1]) / 0.5);
        EXPECT_NEAR(convert(kEntryPoints[7], c[0], c[1]), row * c[2] + column, 1e-6) << c[0] << ", " << c[1];
    }
}

// A file that fails to load leaves no grid. (Hostile files are fuzz_ggf's.)
TEST(GeoidDB, LoadFailuresLeaveNoGrid) {
    const GgfFile::Header valid = header(3, 3, 90);
    const std::vector<int> nine(9, 500);
    const std::string full = GgfFile::ggfBytes(valid, nine);
    // clang-format off
    const std::pair<const char*, std::string> cases[] = {
        {"data stop after the first row", GgfFile::ggfBytes(valid, {500, 500, 500})}, {"one byte short", full.substr(0, full.size() - 1)},
        {"header only", full.substr(0, 146)}, {"truncated header", full.substr(0, 100)}, {"empty file", ""},
        {"zero rows", GgfFile::ggfBytes(header(0, 3, 90), nine)}, {"negative columns", GgfFile::ggfBytes(header(3, -3, 90), nine)},
        {"both negative", GgfFile::ggfBytes(header(-3, -3, 90), nine)}, {"huge product", GgfFile::ggfBytes(header(2147483647, 2147483647, 90, false), nine)},
        {"product above 32 bits", GgfFile::ggfBytes(header(65537, 65537, 90), nine)}, {"more values than the file holds", GgfFile::ggfBytes(header(1000, 1000, 90, false), nine)},
        {"floats announced, shorts stored", GgfFile::ggfBytes(header(3, 3, 90, false), std::vector<int>(5, 1))}};
    // clang-format on
    for (const auto& [what, bytes] : cases) {
        load(valid, nine);
        ASSERT_TRUE(gridHeld());
        EXPECT_EQ(load(bytes), "fail to init ggf") << what;
        EXPECT_FALSE(gridHeld()) << what;
    }
    EXPECT_EQ(load(full), "loaded");
    EXPECT_TRUE(gridHeld());
    for (const char* path : {"/nonexistent/dir/none.ggf", "", static_cast<const char*>(nullptr)})
        EXPECT_EQ(loadPath(path), "fail to open ggf file");
}

// The transformer converts heights with the grid of its geoid file, read again whenever the file changes,
// whatever the interpolator asked for; any failure gives zero.
TEST(DatumTransformerGeoid, ConvertsWithTheGridOfItsGeoidFileAndFollowsItsChanges) {
    const std::string path = tempPath(".ggf");
    GgfFile::writeFile(path, GgfFile::ggfBytes(header(19, 37, 10), GgfFile::syntheticGrid(19, 37, 10)));
    DatumTransformer t;
    t.SetGeoidFilePath(path);
    for (const auto& pt : {std::pair{12.5, 33.3}, {-47.2, -120.9}, {89.9, 359.0}, {0.0, 0.0}}) {
        const double lat = pt.first * kDeg, lon = pt.second * kDeg;
        db()->LoadGGFFile(path.c_str());
        const double H = convert(kEntryPoints[8], pt.first, pt.second, 100),
                     h = convert(kEntryPoints[9], pt.first, pt.second, 100);
        EXPECT_NE(H, 100.0);
        for (int interpolator : {0, 1, 7}) {
            EXPECT_EQ(t.ConvertEllipsoidToGeoidHeight(lat, lon, 100, interpolator), H);
            EXPECT_EQ(t.ConvertGeoidToEllipsoidHeight(lat, lon, 100, interpolator), h);
        }
    }
    for (int value : {2000, -1500, 3000}) {
        GgfFile::writeFile(path, GgfFile::ggfBytes(header(19, 37, 10), std::vector<int>(19 * 37, value)));
        EXPECT_NEAR(t.ConvertEllipsoidToGeoidHeight(0.3, 1.1, 100, 0), 100 - value / 100.0, 1e-9);
        EXPECT_NEAR(t.ConvertGeoidToEllipsoidHeight(0.3, 1.1, 100, 0), 100 + value / 100.0, 1e-9);
    }
    const std::string truncated = tempPath("-short.ggf");
    GgfFile::writeFile(path,
                       GgfFile::ggfBytes(header(19, 37, 10, true, -10, 10), std::vector<int>(19 * 37, 2000)));
    GgfFile::writeFile(truncated, GgfFile::ggfBytes(header(19, 37, 10), std::vector<int>(37, 2000)));
    const struct {
        const char* what;
        std::string path;
        double lat;
    } failures[] = {// clang-format off
        {"no file named", "", 0}, {"missing file", "/nonexistent/dir/geoid.ggf", 0}, {"short file", truncated, 0},
        {"point outside the limits", path, 20 * kDeg}, {"latitude not a number", path, NAN}};
    // clang-format on
    for (const auto& c : failures) {
        DatumTransformer f;
        f.SetGeoidFilePath(c.path);
        EXPECT_EQ(f.ConvertEllipsoidToGeoidHeight(c.lat, 0.5, 100, 0), 0.0) << c.what;
        EXPECT_EQ(f.ConvertGeoidToEllipsoidHeight(c.lat, 0.5, 100, 0), 0.0) << c.what;
    }
}
