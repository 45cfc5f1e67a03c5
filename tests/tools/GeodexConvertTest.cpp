// geodex convert through catalogue files: PROJ's cct on the equivalent pipeline, and exact round trips.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

const double kDeg = 3.141592653589793 / 180;
const double kArcSec = 4.84813681109536e-6;

std::string scratch(const std::string& name) {
    return ::testing::TempDir() + "geodexconv_" + std::to_string(getpid()) + "_" + name;
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

int shell(const std::string& command) {
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

std::vector<std::vector<double>> table(const std::string& text) {
    std::vector<std::vector<double>> rows;
    std::stringstream ss(text);
    std::string line;
    while (std::getline(ss, line)) {
        std::vector<double> row;
        std::stringstream ls(line);
        double v;
        while (ls >> v) row.push_back(v);
        rows.push_back(row);
    }
    return rows;
}

// Catalogue files with two local systems on the Krassowsky ellipsoid: a transverse Mercator grid with a
// seven-parameter shift and a Lambert grid with a Molodensky shift.
struct Catalogues {
    std::string ellipsoids = scratch("ellipsoids.txt"), crs = scratch("crs.txt");
    Catalogues() {
        writeFile(ellipsoids,
                  "WGS 84,6378137.0,0.0033528106647474805\n"
                  "Krassowsky 1940,6378245.0," +
                      fmt(1 / 298.3) + "\n");
        std::string text;
        text += "[crs]\nSite TM\nKrassowsky 1940\n";
        text += "1 15.8 -154.4 -82.3 " + fmt(2.3 * kArcSec) + " " + fmt(-1.2 * kArcSec) + " " +
                fmt(3.5 * kArcSec) + " 4.2e-6\n";
        text += "32 " + fmt(117 * kDeg) + " 0 0 0 500000 0 1 0 0\n0 0 0\n";
        text += "[crs]\nSite LCC\nKrassowsky 1940\n";
        text += "2 -24 123 94 0 0 0 0\n";
        text += "15 " + fmt(105 * kDeg) + " " + fmt(30 * kDeg) + " " + fmt(25 * kDeg) + " " + fmt(47 * kDeg) +
                " 400000 100000 1 0 0\n0 0 0\n";
        writeFile(crs, text);
    }
    std::string args(const std::string& name) const {
        return "convert --ellipsoids " + ellipsoids + " --crs " + crs + " --name \"" + name + "\"";
    }
    static std::string fmt(double v) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17g", v);
        return buf;
    }
};

std::string geodexOut(const std::string& args, const std::string& input, int* status = nullptr) {
    const std::string in = scratch("in"), out = scratch("out");
    writeFile(in, input);
    const int s = shell(std::string(GEODEX_BIN) + " " + args + " < " + in + " > " + out + " 2>/dev/null");
    if (status) *status = s;
    return readFile(out);
}

std::string points(double lon0, double lat0, double spread, int n, bool lonFirst) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> d(-spread, spread), h(-50, 2500);
    std::string text;
    for (int i = 0; i < n; ++i) {
        char buf[128];
        const double lon = lon0 + d(rng), lat = lat0 + d(rng);
        if (lonFirst)
            std::snprintf(buf, sizeof buf, "%.10f %.10f %.4f\n", lon, lat, h(rng));
        else
            std::snprintf(buf, sizeof buf, "%.10f %.10f %.4f\n", lat, lon, h(rng));
        text += buf;
    }
    return text;
}

bool haveCct() { return shell("command -v cct > /dev/null 2>&1") == 0; }

// Largest horizontal and vertical difference between our convert (--xy: E N h) and cct on a pipeline.
void compareWithCct(const std::string& ours, const std::string& pipeline, const std::string& input,
                    double tolerance, const char* label) {
    const std::string in = scratch("cct_in"), out = scratch("cct_out");
    writeFile(in, input);
    ASSERT_EQ(shell("cct -d 6 " + pipeline + " " + in + " > " + out + " 2>/dev/null"), 0);
    const auto expected = table(readFile(out));
    const auto got = table(geodexOut(ours + " --xy --precision 6", input));
    ASSERT_EQ(expected.size(), got.size());
    double worst = 0, worstH = 0;
    for (size_t i = 0; i < got.size(); ++i) {
        ASSERT_GE(expected[i].size(), 3u);
        ASSERT_EQ(got[i].size(), 3u);
        worst = std::max(worst, std::hypot(got[i][0] - expected[i][0], got[i][1] - expected[i][1]));
        worstH = std::max(worstH, std::fabs(got[i][2] - expected[i][2]));
    }
    std::printf("[ oracle ] %s vs cct: largest horizontal %.3g m, vertical %.3g m over %zu points\n", label,
                worst, worstH, got.size());
    EXPECT_LT(worst, tolerance);
    EXPECT_LT(worstH, tolerance);
}

}  // namespace

TEST(GeodexConvert, AgreesWithCctOnHelmertAndTransverseMercatorToTheMillimetre) {
    if (!haveCct()) GTEST_SKIP() << "cct (proj-bin) not installed";
    Catalogues c;
    const std::string pipeline =
        "+proj=pipeline +step +proj=unitconvert +xy_in=deg +xy_out=rad +step +proj=cart +ellps=WGS84 "
        "+step +proj=helmert +x=15.8 +y=-154.4 +z=-82.3 +rx=2.3 +ry=-1.2 +rz=3.5 +s=4.2 "
        "+convention=coordinate_frame +exact +step +inv +proj=cart +a=6378245 +rf=298.3 "
        "+step +proj=tmerc +lon_0=117 +k=1 +x_0=500000 +a=6378245 +rf=298.3";
    compareWithCct(c.args("Site TM"), pipeline, points(117, 33, 2.5, 2000, true), 1e-3, "Helmert + tmerc");
}

TEST(GeodexConvert, AgreesWithCctOnMolodenskyAndLambertToTheMillimetre) {
    if (!haveCct()) GTEST_SKIP() << "cct (proj-bin) not installed";
    Catalogues c;
    // PROJ's Molodensky takes the change of ellipsoid as target minus source.
    char dadf[128];
    std::snprintf(dadf, sizeof dadf, "+da=%.17g +df=%.17g", 6378245.0 - 6378137.0,
                  1 / 298.3 - 0.0033528106647474805);
    const std::string pipeline =
        std::string(
            "+proj=pipeline +step +proj=unitconvert +xy_in=deg +xy_out=rad +step +proj=molodensky "
            "+ellps=WGS84 +dx=-24 +dy=123 +dz=94 ") +
        dadf +
        " +step +proj=lcc +lat_0=30 +lon_0=105 +lat_1=25 +lat_2=47 +x_0=400000 +y_0=100000 +a=6378245 "
        "+rf=298.3";
    compareWithCct(c.args("Site LCC"), pipeline, points(105, 35, 8, 2000, true), 1e-3, "Molodensky + lcc");
}

TEST(GeodexConvert, InverseUndoesEveryStepIncludingAdjustments) {
    Catalogues c;
    const std::string adjust =
        " --plane 1250.5,-830.25,12.5,1.0000123 --ele-method 3 --ele-coef 1e-6,-2e-6,1e-13,2e-13,-1e-13,0.35";
    for (const std::string name : {"Site TM", "Site LCC"}) {
        const double lon0 = name == "Site TM" ? 117 : 105;
        const std::string input = points(lon0, 33, 2.5, 500, false);
        int status = -1;
        const std::string grid = geodexOut(c.args(name) + adjust + " --precision 9", input, &status);
        ASSERT_EQ(status, 0);
        const auto back =
            table(geodexOut(c.args(name) + adjust + " --inverse --angle-precision 13", grid, &status));
        ASSERT_EQ(status, 0);
        const auto original = table(input);
        ASSERT_EQ(back.size(), original.size());
        double worst = 0, worstH = 0;
        for (size_t i = 0; i < back.size(); ++i) {
            worst = std::max(
                {worst, std::fabs(back[i][0] - original[i][0]), std::fabs(back[i][1] - original[i][1])});
            worstH = std::max(worstH, std::fabs(back[i][2] - original[i][2]));
        }
        std::printf("[ round trip ] %s: largest %.3g deg, %.3g m\n", name.c_str(), worst, worstH);
        EXPECT_LT(worst, 1e-9) << name;
        EXPECT_LT(worstH, 1e-6) << name;
    }
}

TEST(GeodexConvert, UnknownCrsNameIsAUsageError) {
    Catalogues c;
    int status = -1;
    geodexOut(c.args("No such grid"), "31 117 0\n", &status);
    EXPECT_EQ(status, 2);
}
