#include <gtest/gtest.h>

#include <GeographicLib/Geoid.hpp>
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <unistd.h>

#include "geodex/geodex.h"
#include "geodex/geoid/GgfFile.h"

using namespace Orvale::Geodex;

namespace {

const double kDeg = 0.017453292519943295;

// A file name of its own for each test (the tests may run in parallel processes).
std::string tempPath(const std::string& suffix) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return ::testing::TempDir() + "geoid_" + info->test_suite_name() + "_" + info->name() + suffix;
}

std::string load(const GgfFile::Header& h, const std::vector<int>& values) {
    const std::string path = tempPath(".ggf");
    GgfFile::writeFile(path, GgfFile::ggfBytes(h, values));
    GeoidDB::getInstance()->LoadGGFFile(path.c_str());
    return path;
}

std::string loadFailure(const std::string& bytes) {
    const std::string path = tempPath(".ggf");
    GgfFile::writeFile(path, bytes);
    try {
        GeoidDB::getInstance()->LoadGGFFile(path.c_str());
    } catch (const std::exception& e) {
        return e.what();
    }
    return "loaded";
}

using Entry = void (GeoidDB::*)(double, double, double, double*);
struct EntryPoint {
    const char* name;
    Entry entry;
    double sign;  // out = height + sign · N
};
const EntryPoint kEntryPoints[] = {
    {"EllipsoidToEGM84TenDegBilinear", &GeoidDB::convertEllipsoidToEGM84TenDegBilinearHeight, -1},
    {"EllipsoidToEGM96FifteenMinBilinear", &GeoidDB::convertEllipsoidToEGM96FifteenMinBilinearGeoidHeight,
     -1},
    {"EGM84TenDegBilinearToEllipsoid", &GeoidDB::convertEGM84TenDegBilinearToEllipsoidHeight, 1},
    {"EGM96FifteenMinBilinearToEllipsoid", &GeoidDB::convertEGM96FifteenMinBilinearGeoidToEllipsoidHeight, 1},
    {"EllipsoidToEGM84TenDegNaturalSpline", &GeoidDB::convertEllipsoidToEGM84TenDegNaturalSplineHeight, -1},
    {"EGM84TenDegNaturalSplineToEllipsoid", &GeoidDB::convertEGM84TenDegNaturalSplineToEllipsoidHeight, 1},
    {"EllipsoidToEGM96VariableNaturalSpline", &GeoidDB::convertEllipsoidToEGM96VariableNaturalSplineHeight,
     -1},
    {"EGM96VariableNaturalSplineToEllipsoid", &GeoidDB::convertEGM96VariableNaturalSplineToEllipsoidHeight,
     1},
};

// A 10° global grid, as the transformer tests use.
GgfFile::Header globalHeader() {
    GgfFile::Header h;
    h.rows = 19;
    h.columns = 37;
    h.latSpacing = h.lonSpacing = 10;
    return h;
}

// True when a conversion works; with no grid every entry point throws and writes nothing.
bool gridHeld() {
    int refused = 0;
    for (const EntryPoint& e : kEntryPoints) {
        double out = -1;
        try {
            (GeoidDB::getInstance()->*e.entry)(0, 0, 0, &out);
        } catch (const std::runtime_error& x) {
            refused += std::string(x.what()) == "no ggf grid loaded" && out == -1;
        }
    }
    EXPECT_TRUE(refused == 0 || refused == int(std::size(kEntryPoints)));
    return refused == 0;
}

}  // namespace

TEST(GeoidDB, ConstantGridShiftsByItsValueThroughEveryEntryPoint) {
    for (bool hundredths : {true, false}) {
        GgfFile::Header h;
        h.rows = 19;
        h.columns = 37;
        h.latSpacing = h.lonSpacing = 10;
        h.hundredths = hundredths;
        load(h, std::vector<int>(19 * 37, 2000));
        GeoidDB* db = GeoidDB::getInstance();
        for (double lat : {-90.0, -33.3, 0.0, 47.1, 90.0}) {
            for (double lon : {-180.0, -0.5, 0.0, 123.4, 359.9}) {
                double H = 0, h2 = 0;
                EXPECT_EQ(db->ConvertEllipsoidToGeoidHeight(lat * kDeg, lon * kDeg, 100, &H), 0);
                EXPECT_EQ(db->ConvertGeoidToEllipsoidHeight(lat * kDeg, lon * kDeg, 100, &h2), 0);
                EXPECT_NEAR(H, 80, 1e-12);
                EXPECT_NEAR(h2, 120, 1e-12);
                for (const EntryPoint& e : kEntryPoints) {
                    double out = 0;
                    (db->*e.entry)(lon * kDeg, lat * kDeg, 100, &out);
                    EXPECT_NEAR(out, 100 + e.sign * 20, 1e-12) << e.name << " at " << lat << ", " << lon;
                }
            }
        }
    }
}

// Node values are hundredths of a metre (16-bit) or metres as floats (32-bit).
TEST(GeoidDB, BothInterpolatorsReturnTheNodeValueAtEveryNode) {
    const int rows = 19, columns = 37;
    const std::vector<int> values = GgfFile::syntheticGrid(rows, columns, 10);
    for (bool hundredths : {true, false}) {
        GgfFile::Header h;
        h.rows = rows;
        h.columns = columns;
        h.latSpacing = h.lonSpacing = 10;
        h.hundredths = hundredths;
        load(h, values);
        GeoidDB* db = GeoidDB::getInstance();
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                const double node = double(float(values[r * columns + c] / 100.0));
                const double lat = (90 - 10 * r) * kDeg, lon = 10 * c * kDeg;
                double bilinear = 0, spline = 0;
                db->convertEGM84TenDegBilinearToEllipsoidHeight(lon, lat, 0, &bilinear);
                db->convertEGM84TenDegNaturalSplineToEllipsoidHeight(lon, lat, 0, &spline);
                EXPECT_NEAR(bilinear, node, 1e-12) << r << ", " << c;
                // The spline entry point reads no element beyond index 702 (the last of this grid).
                EXPECT_NEAR(spline, node, 1e-12) << r << ", " << c;
            }
        }
    }
}

TEST(GeoidDB, AgreesWithGeographicLibBilinearOnTheSameGrid) {
    const int rows = 181, columns = 361;
    const std::vector<int> values = GgfFile::syntheticGrid(rows, columns, 1);
    const std::string dir = ::testing::TempDir();
    const std::string pgmName = "geodex_synthetic_" + std::to_string(::getpid());
    GgfFile::writePgm(dir + pgmName + ".pgm", rows, columns, values);
    const GeographicLib::Geoid oracle(pgmName, dir, false, true);

    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> latitude(-90, 90), longitude(-180, 360);
    for (bool hundredths : {true, false}) {
        GgfFile::Header h;
        h.hundredths = hundredths;
        load(h, values);
        double largest = 0;
        for (int k = 0; k < 20000; ++k) {
            const double lat = latitude(random), lon = longitude(random);
            double ours = 0;
            GeoidDB::getInstance()->ConvertGeoidToEllipsoidHeight(lat * kDeg, lon * kDeg, 0, &ours);
            const double theirs = oracle(lat, lon);
            largest = std::max(largest, std::fabs(ours - theirs));
            ASSERT_NEAR(ours, theirs, 4 * FLT_EPSILON * 330) << lat << ", " << lon;
        }
        std::printf("largest difference from GeographicLib (%s): %.3g m\n", hundredths ? "16-bit" : "32-bit",
                    largest);
    }
    std::remove((dir + pgmName + ".pgm").c_str());
}

TEST(GeoidDB, PointOutsideTheLimitsRaisesOneExceptionWithBothMessages) {
    GgfFile::Header h;
    h.south = -10;
    h.north = 10;
    h.west = 0;
    h.east = 20;
    load(h, GgfFile::syntheticGrid(181, 361, 1));
    struct Case {
        double lat, lon;
        const char* text;
    } cases[] = {
        {11, -1, "Latitude out of range\nLongitude out of range\n"},
        {-10.5, 5, "Latitude out of range\n"},
        {5, 20.5, "Longitude out of range\n"},
        {NAN, 5, "Latitude out of range\n"},
        {5, NAN, "Longitude out of range\n"},
    };
    for (const Case& c : cases) {
        for (const EntryPoint& e : kEntryPoints) {
            double out = -1;
            try {
                (GeoidDB::getInstance()->*e.entry)(c.lon * kDeg, c.lat * kDeg, 0, &out);
                ADD_FAILURE() << "no exception from " << e.name;
            } catch (const CSException& x) {
                EXPECT_STREQ(x.getMessage(), c.text) << e.name;
            }
            EXPECT_EQ(out, -1) << "out written by " << e.name;
        }
    }
}

TEST(GeoidDB, EGM96VariableChoosesTheGridByRegion) {
    // Values are the element indices of a 721 × 361 grid, so the value read at a node reveals the
    // column count used: index = row · columns + column.
    GgfFile::Header h;
    h.rows = 361;
    h.columns = 721;
    h.latSpacing = h.lonSpacing = 0.5;
    h.hundredths = false;
    std::vector<int> index(361 * 721);
    for (std::size_t k = 0; k < index.size(); ++k) index[k] = int(k) * 100;
    load(h, index);
    struct Case {
        double lat, lon;
        int columns;
    } cases[] = {
        {75, 274, 721},       // first high-resolution area
        {-72.5, 25, 721},     // last high-resolution area
        {0, 125, 721},        // (−1, 1, 125, 128.5): lower bounds belong to the area
        {-60.5, -47.5, 721},  // (−61.5, −60, 312.5, 317) reached through a negative longitude
        {75.5, 274, 181},     // upper latitude bound of the first area is outside it, and beyond 60°
        {0, 128.5, 361},      // upper longitude bound is outside the area, within ±60°
        {-60, 10, 361},       // −60 belongs to the middle band
        {60.5, 10, 181},     {-60.5, 10, 181}, {10, 10, 361},
    };
    for (const Case& c : cases) {
        const int row = int(std::lround((90 - c.lat) / 0.5));
        const int column = int(std::lround((c.lon < 0 ? c.lon + 360 : c.lon) / 0.5));
        double out = 0;
        GeoidDB::getInstance()->convertEGM96VariableNaturalSplineToEllipsoidHeight(c.lon * kDeg, c.lat * kDeg,
                                                                                   0, &out);
        EXPECT_NEAR(out, double(row * c.columns + column), 1e-6) << c.lat << ", " << c.lon;
    }
}

TEST(GeoidDB, EntryPointsNeverReadBeyondASmallerGrid) {
    // A 30° grid holds 7 × 13 = 91 values, far fewer than the EGM84 spline (702) and EGM96 variable
    // (1038960) entry points allow: every read is clamped to the grid, so results stay within its range.
    GgfFile::Header h;
    h.rows = 7;
    h.columns = 13;
    h.latSpacing = h.lonSpacing = 30;
    const std::vector<int> values = GgfFile::syntheticGrid(7, 13, 30);
    load(h, values);
    const double lo = *std::min_element(values.begin(), values.end()) / 100.0 - 1e-3;
    const double hi = *std::max_element(values.begin(), values.end()) / 100.0 + 1e-3;
    for (double lat = -90; lat <= 90; lat += 7.5) {
        for (double lon = -180; lon <= 360; lon += 7.5) {
            for (const EntryPoint& e : kEntryPoints) {
                double out = 0;
                (GeoidDB::getInstance()->*e.entry)(lon * kDeg, lat * kDeg, 0, &out);
                const double n = e.sign * out;
                EXPECT_TRUE(n >= lo && n <= hi) << e.name << " at " << lat << ", " << lon << ": " << n;
            }
        }
    }
}

TEST(GeoidDB, LoadFailuresLeaveNoGrid) {
    GgfFile::Header valid;
    valid.rows = 3;
    valid.columns = 3;
    valid.latSpacing = valid.lonSpacing = 90;
    const std::vector<int> nine(9, 500);
    struct Case {
        const char* what;
        std::string bytes;
    };
    auto header = [&](int32_t rows, int32_t columns, bool hundredths) {
        GgfFile::Header h = valid;
        h.rows = rows;
        h.columns = columns;
        h.hundredths = hundredths;
        return h;
    };
    const std::string full = GgfFile::ggfBytes(valid, nine);
    const Case cases[] = {
        {"data stop after the first row", GgfFile::ggfBytes(valid, {500, 500, 500})},
        {"one byte short", full.substr(0, full.size() - 1)},
        {"header only", full.substr(0, 146)},
        {"truncated header", full.substr(0, 100)},
        {"empty file", ""},
        {"zero rows", GgfFile::ggfBytes(header(0, 3, true), nine)},
        {"negative columns", GgfFile::ggfBytes(header(3, -3, true), nine)},
        {"both negative", GgfFile::ggfBytes(header(-3, -3, true), nine)},
        {"huge product", GgfFile::ggfBytes(header(2147483647, 2147483647, false), nine)},
        {"product above 32 bits", GgfFile::ggfBytes(header(65537, 65537, true), nine)},
        {"more values than the file holds", GgfFile::ggfBytes(header(1000, 1000, false), nine)},
        {"floats announced, shorts stored", GgfFile::ggfBytes(header(3, 3, false), std::vector<int>(5, 1))},
    };
    for (const Case& c : cases) {
        load(valid, nine);
        ASSERT_TRUE(gridHeld());
        EXPECT_EQ(loadFailure(c.bytes), "fail to init ggf") << c.what;
        EXPECT_FALSE(gridHeld()) << c.what;
    }
    EXPECT_EQ(loadFailure(full), "loaded");
    EXPECT_TRUE(gridHeld());
    for (const char* path : {"/nonexistent/dir/none.ggf", "", static_cast<const char*>(nullptr)}) {
        try {
            GeoidDB::getInstance()->LoadGGFFile(path);
            ADD_FAILURE() << "loaded " << (path ? path : "(null)");
        } catch (const std::exception& e) {
            EXPECT_STREQ(e.what(), "fail to open ggf file");
        }
    }
}

TEST(GeoidDB, HostileFilesNeverCrash) {
    std::mt19937 random(99);
    GgfFile::Header small;
    small.rows = 4;
    small.columns = 5;
    const std::string base = GgfFile::ggfBytes(small, std::vector<int>(20, 100));
    for (int k = 0; k < 300; ++k) {
        std::string bytes = base;
        // Flip a few bytes anywhere, header fields included, and sometimes cut the file.
        for (int flips = 0; flips < 1 + k % 6; ++flips) bytes[random() % bytes.size()] = char(random());
        if (k % 3 == 0) bytes.resize(random() % bytes.size());
        const std::string result = loadFailure(bytes);
        if (result != "loaded") {
            EXPECT_EQ(result, "fail to init ggf");
            continue;
        }
        // Whatever the header says, conversions throw or return a number; they never read astray.
        for (const EntryPoint& e : kEntryPoints) {
            for (double lat : {-1.5, 0.0, 0.7}) {
                double out = 0;
                try {
                    (GeoidDB::getInstance()->*e.entry)(1.0, lat, 0, &out);
                } catch (const CSException&) {
                }
            }
        }
    }
}

// The transformer converts heights with the grid of its geoid file, read again whenever the file changes.
TEST(DatumTransformerGeoid, ConvertsWithTheGridOfItsGeoidFile) {
    const std::string path = tempPath(".ggf");
    GgfFile::writeFile(path, GgfFile::ggfBytes(globalHeader(), GgfFile::syntheticGrid(19, 37, 10)));
    DatumTransformer t;
    t.SetGeoidFilePath(path);
    const double points[][2] = {{12.5, 33.3}, {-47.2, -120.9}, {89.9, 359.0}, {0, 0}};
    for (const auto& pt : points) {
        GeoidDB::getInstance()->LoadGGFFile(path.c_str());
        double H = 0, h = 0;
        GeoidDB::getInstance()->ConvertEllipsoidToGeoidHeight(pt[0] * kDeg, pt[1] * kDeg, 100, &H);
        GeoidDB::getInstance()->ConvertGeoidToEllipsoidHeight(pt[0] * kDeg, pt[1] * kDeg, 100, &h);
        for (int interpolator : {0, 1, 7}) {
            EXPECT_EQ(t.ConvertEllipsoidToGeoidHeight(pt[0] * kDeg, pt[1] * kDeg, 100, interpolator), H);
            EXPECT_EQ(t.ConvertGeoidToEllipsoidHeight(pt[0] * kDeg, pt[1] * kDeg, 100, interpolator), h);
        }
        EXPECT_NE(H, 100.0);
    }
}

TEST(DatumTransformerGeoid, FollowsTheFileWhenItChangesBetweenCalls) {
    const std::string path = tempPath(".ggf");
    DatumTransformer t;
    t.SetGeoidFilePath(path);
    for (int value : {2000, -1500, 3000}) {
        GgfFile::writeFile(path, GgfFile::ggfBytes(globalHeader(), std::vector<int>(19 * 37, value)));
        EXPECT_NEAR(t.ConvertEllipsoidToGeoidHeight(0.3, 1.1, 100, 0), 100 - value / 100.0, 1e-9);
        EXPECT_NEAR(t.ConvertGeoidToEllipsoidHeight(0.3, 1.1, 100, 0), 100 + value / 100.0, 1e-9);
    }
}

TEST(DatumTransformerGeoid, AnyFailureGivesZero) {
    const std::string valid = tempPath(".ggf");
    GgfFile::Header limited = globalHeader();
    limited.south = -10;
    limited.north = 10;
    GgfFile::writeFile(valid, GgfFile::ggfBytes(limited, std::vector<int>(19 * 37, 2000)));
    const std::string truncated = tempPath("-short.ggf");
    GgfFile::writeFile(truncated, GgfFile::ggfBytes(globalHeader(), std::vector<int>(37, 2000)));
    struct Case {
        const char* what;
        std::string path;
        double lat;
    } cases[] = {
        {"no file named", "", 0},
        {"missing file", "/nonexistent/dir/geoid.ggf", 0},
        {"short file", truncated, 0},
        {"point outside the limits", valid, 20 * kDeg},
        {"latitude not a number", valid, NAN},
    };
    for (const Case& c : cases) {
        DatumTransformer t;
        t.SetGeoidFilePath(c.path);
        EXPECT_EQ(t.ConvertEllipsoidToGeoidHeight(c.lat, 0.5, 100, 0), 0.0) << c.what;
        EXPECT_EQ(t.ConvertGeoidToEllipsoidHeight(c.lat, 0.5, 100, 0), 0.0) << c.what;
    }
}
