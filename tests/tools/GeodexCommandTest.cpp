// Runs the geodex command as a user would: files, pipes, options, exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Result {
    int status = -1;
    std::string out, err;
};

std::string scratch(const std::string& name) {
    return ::testing::TempDir() + "geodex_" + std::to_string(getpid()) + "_" + name;
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

// Runs "geodex ARGS < input", capturing both output streams.
Result geodex(const std::string& args, const std::string& input) {
    const std::string in = scratch("stdin"), out = scratch("stdout"), err = scratch("stderr");
    writeFile(in, input);
    const std::string command =
        std::string(GEODEX_BIN) + " " + args + " < " + in + " > " + out + " 2> " + err;
    Result r;
    const int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = readFile(out);
    r.err = readFile(err);
    return r;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::stringstream ss(text);
    std::string line;
    while (std::getline(ss, line)) result.push_back(line);
    return result;
}

std::vector<double> numbers(const std::string& line) {
    std::vector<double> v;
    std::stringstream ss(line);
    std::string field;
    while (ss >> field) {
        char* end = nullptr;
        const double d = std::strtod(field.c_str(), &end);
        if (end && *end == '\0') v.push_back(d);
    }
    return v;
}

const char* const kTM = "--code 32 --cm 117 --k 0.9996 --fe 500000";

}  // namespace

TEST(GeodexCommand, ProjectsAndUnprojectsWithCommentsBlanksAndExtraColumns) {
    const std::string input =
        "# survey control\n"
        "\n"
        "31.5 118.25 12.5 P1 fence\n"
        "31:30:00N 118d15'00\"E 12.5 P2\n"
        "31.5 118.25\n";
    Result p = geodex(std::string("project ") + kTM + " --precision 4", input);
    ASSERT_EQ(p.status, 0) << p.err;
    const std::vector<std::string> out = lines(p.out);
    ASSERT_EQ(out.size(), 5u);
    EXPECT_EQ(out[0], "# survey control");
    EXPECT_EQ(out[1], "");
    EXPECT_NE(out[2].find(" 12.5000 P1 fence"), std::string::npos) << out[2];
    // The same point written in degrees-minutes-seconds with hemisphere letters projects identically.
    EXPECT_EQ(out[3].substr(0, out[3].find(" 12.5")), out[2].substr(0, out[2].find(" 12.5")));
    EXPECT_EQ(numbers(out[4]).size(), 2u);  // no height in, none out

    Result u = geodex(std::string("unproject ") + kTM + " --angle-precision 11", p.out);
    ASSERT_EQ(u.status, 0) << u.err;
    const std::vector<double> back = numbers(lines(u.out)[2]);
    ASSERT_GE(back.size(), 3u);
    EXPECT_NEAR(back[0], 31.5, 1e-9);
    EXPECT_NEAR(back[1], 118.25, 1e-9);
}

TEST(GeodexCommand, CommaSeparatedLinesKeepTheirSeparatorAndLonLatOrder) {
    Result p = geodex(std::string("project --xy ") + kTM, "118.25, 31.5, 7.0, \"a, b\"\n");
    ASSERT_EQ(p.status, 0) << p.err;
    const std::string line = lines(p.out)[0];
    // easting first with --xy, then northing, height, then the carried columns
    EXPECT_EQ(std::count(line.begin(), line.end(), ','), 4) << line;
    const double easting = std::stod(line.substr(0, line.find(',')));
    EXPECT_GT(easting, 500000);
    EXPECT_LT(easting, 700000);
}

TEST(GeodexCommand, BadLinesBecomeMarkersWithTheLibraryMessageAndTheRestGoesOn) {
    Result r = geodex(std::string("project ") + kTM, "31 118\n95 118\nnot a point\n32 118\n");
    EXPECT_EQ(r.status, 1);
    const std::vector<std::string> out = lines(r.out);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[1], "ERROR");
    EXPECT_EQ(out[2], "ERROR");
    EXPECT_EQ(numbers(out[3]).size(), 2u);
    EXPECT_NE(r.err.find("line 2: Latitude out of range"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("line 3: "), std::string::npos) << r.err;
}

TEST(GeodexCommand, UsageErrorsExitWithTwo) {
    EXPECT_EQ(geodex("frobnicate", "").status, 2);
    EXPECT_EQ(geodex("project --code", "").status, 2);
    EXPECT_EQ(geodex("project --bogus 1", "").status, 2);
    EXPECT_EQ(geodex("convert --crs /nonexistent", "").status, 2);
    Result help = geodex("convert --help", "");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Examples:"), std::string::npos);
}

TEST(GeodexCommand, GeocentricBothWays) {
    Result r = geodex("geocentric --precision 6", "0 0 0\n0 90 0\n");
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<double> a = numbers(lines(r.out)[0]);
    ASSERT_EQ(a.size(), 3u);
    EXPECT_NEAR(a[0], 6378137.0, 1e-6);
    EXPECT_NEAR(a[1], 0, 1e-6);
    Result back = geodex("geocentric --inverse", "4466133.2 548372.9 4487471.3\n");
    ASSERT_EQ(back.status, 0) << back.err;
    std::vector<double> g = numbers(lines(back.out)[0]);
    ASSERT_EQ(g.size(), 3u);
    EXPECT_NEAR(g[1], std::atan2(548372.9, 4466133.2) * 180 / 3.141592653589793, 1e-10);
}

TEST(GeodexCommand, ShiftInverseIsExactForBothMethods) {
    const std::string input = "31.2 121.5 20\n-33.9 151.2 100\n60 -150 0\n";
    for (const std::string params :
         {"--method 1 --params 15.8,-154.4,-82.3,2.3,-1.2,3.5,4.2", "--method 2 --params -24,123,94"}) {
        const std::string args = "shift --a 6378245 --rf 298.3 --angle-precision 12 --precision 9 " + params;
        Result f = geodex(args, input);
        ASSERT_EQ(f.status, 0) << f.err;
        Result b = geodex(args + " --inverse", f.out);
        ASSERT_EQ(b.status, 0) << b.err;
        const std::vector<std::string> in = lines(input), out = lines(b.out);
        for (size_t i = 0; i < in.size(); ++i) {
            const std::vector<double> p = numbers(in[i]), q = numbers(out[i]);
            ASSERT_EQ(q.size(), 3u);
            EXPECT_NEAR(q[0], p[0], 1e-10) << params;
            EXPECT_NEAR(q[1], p[1], 1e-10) << params;
            EXPECT_NEAR(q[2], p[2], 1e-6) << params;
        }
    }
}

TEST(GeodexCommand, ThreadsGiveTheSameOutputAsOneThread) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> lat(20, 50), lon(110, 124);
    std::string input;
    for (int i = 0; i < 60000; ++i) {
        if (i % 5000 == 0) input += "# block\n";
        if (i % 7777 == 0) input += "91 118 1\n";  // fails: keeps its place
        char buf[96];
        std::snprintf(buf, sizeof buf, "%.9f %.9f %.3f P%d\n", lat(rng), lon(rng), 10.0 + i % 50, i);
        input += buf;
    }
    Result one = geodex(std::string("project ") + kTM + " -j 1", input);
    Result four = geodex(std::string("project ") + kTM + " -j 4", input);
    EXPECT_EQ(one.status, 1);
    EXPECT_EQ(four.status, 1);
    EXPECT_EQ(lines(one.out).size(), lines(input).size());
    EXPECT_TRUE(one.out == four.out);
    EXPECT_EQ(one.err, four.err);
}
