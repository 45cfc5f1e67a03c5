#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geodex/geodex.h"
#include "geodex/geoid/GgfFile.h"

using namespace Orvale::Geodex;

namespace {

const double kDeg = 0.017453292519943295;

std::string tempPath(const std::string& suffix) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return ::testing::TempDir() + "dtgeoid_" + info->name() + suffix;
}

GgfFile::Header globalHeader() {
    GgfFile::Header h;
    h.rows = 19;
    h.columns = 37;
    h.latSpacing = h.lonSpacing = 10;
    return h;
}

}  // namespace

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
