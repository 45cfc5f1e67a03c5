// Runs the geodex command as a user would: files, pipes, options, exit status, catalogue files. The
// conversion chain itself is tested on the library's Converter (tests/geodex/ConverterTest.cpp).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Options.h"

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
    Result r;
    const int raw =
        std::system((std::string(GEODEX_BIN) + " " + args + " < " + in + " > " + out + " 2> " + err).c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = readFile(out);
    r.err = readFile(err);
    return r;
}

// A catalogue pair that holds one system, "Site TM": `name` is found in it or not.
std::string catalogues(const std::string& name) {
    const std::string ellipsoids = scratch("ellipsoids.txt"), crs = scratch("crs.txt");
    writeFile(ellipsoids, "WGS 84,6378137.0,0.0033528106647474805\n");
    writeFile(crs, "[crs]\nSite TM\nWGS 84\n0 0 0 0 0 0 0 0\n32 2.04 0 0 0 500000 0 1 0 0\n0 0 0\n");
    return "convert --ellipsoids " + ellipsoids + " --crs " + crs + " --name \"" + name + "\"";
}

const char* const kTM = "--code 32 --cm 117 --k 0.9996 --fe 500000";

}  // namespace

// One invocation a row: exit status, the whole output and a part of the error stream. The figures agree
// with PROJ's cct to the last digit printed. Comments and blank lines pass through, extra columns are
// carried, degrees-minutes-seconds with hemisphere letters read as decimal degrees, a line without a height
// gets none, commas stay commas (--xy: easting first), and a bad line becomes a marker while the rest goes
// on.
TEST(GeodexCommand, InvocationsGiveTheirStatusOutputAndMessages) {
    const std::string project = std::string("project ") + kTM;
    const struct {
        std::string args, input;
        int status;
        std::string out, err;
    } cases[] = {
        // clang-format off
        {project + " --precision 4", "# survey control\n\n31.5 118.25 12.5 P1 fence\n31:30:00N 118d15'00\"E 12.5 P2\n31.5 118.25\n", 0,
         "# survey control\n\n3485693.3076 618709.7093 12.5000 P1 fence\n3485693.3076 618709.7093 12.5000 P2\n3485693.3076 618709.7093\n", ""},
        {"project --xy " + std::string(kTM), "118.25, 31.5, 7.0, \"a, b\"\n", 0, "618709.7093,3485693.3076,7.0000, \"a, b\"\n", ""},
        {project, "31 118\n95 118\nnot a point\n32 118\n", 1, "3430031.0487 595468.3537\nERROR\nERROR\n3540872.5314 594457.4634\n",
         "line 2: Latitude out of range\ngeodex: line 3: "},
        // The first row's grid point comes back to its geodetic point.
        {"unproject " + std::string(kTM) + " --angle-precision 8", "3485693.3076 618709.7093\n", 0, "31.50000000 118.25000000\n", ""},
        {"geocentric --precision 6", "0 0 0\n0 90 0\n", 0, "6378137.000000 0.000000 0.000000\n0.000000 6378137.000000 0.000000\n", ""},
        {"geocentric --inverse", "4466133.2 548372.9 4487471.3\n", 0, "45.1150143199 7.0000087976 -12570.0356\n", ""},
        // Usage errors: status 2, nothing written.
        {"frobnicate", "31 117 0\n", 2, "", "unknown command"},
        {"project --code", "31 117 0\n", 2, "", "needs a value"},
        {"project --bogus 1", "31 117 0\n", 2, "", "unknown option"},
        {catalogues("Site TM") + " --a 6378137", "31 117 0\n", 2, "", "--a does not apply to convert"},
        {"project -j 1e10", "31 117 0\n", 2, "", "not a whole number"},
        {"convert --crs /nonexistent", "31 117 0\n", 2, "", "convert needs"},
        {catalogues("No such grid"), "31 117 0\n", 2, "", ""},
        {"project --code 3", "31 117 0\n", 2, "", "projection code 3 has no projection class"},
        // clang-format on
    };
    for (const auto& c : cases) {
        const Result r = geodex(c.args, c.input);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_EQ(r.out, c.out) << c.args;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << c.args << ": " << r.err;
    }
    const Result help = geodex("convert --help", "");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Examples:"), std::string::npos);
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
    EXPECT_EQ(std::count(one.out.begin(), one.out.end(), '\n'), std::count(input.begin(), input.end(), '\n'));
    EXPECT_TRUE(one.out == four.out);
    EXPECT_EQ(one.err, four.err);
}

// The option table drives parsing and --help; the man page is written by hand. Each option of the table
// must be in the man page and in the help of some command, and the man page must name no other option.
TEST(GeodexCommand, ManPageAndHelpListEveryOptionOfTheTable) {
    const auto options = [](std::string text) {
        text = std::regex_replace(text, std::regex(R"(\\-)"), "-");  // roff writes a hyphen as \-
        std::set<std::string> names;
        const std::regex word(R"((^|[^A-Za-z0-9-])(--?[a-z][a-z0-9-]*))");
        for (std::sregex_iterator m(text.begin(), text.end(), word), end; m != end; ++m)
            names.insert((*m)[2]);
        return names;
    };
    const std::set<std::string> man = options(readFile(GEODEX_MANPAGE));
    std::string helps;
    for (const char* command : {"convert", "project", "geocentric", "shift"})
        helps += geodex(std::string(command) + " --help", "").out;
    const std::set<std::string> help = options(helps);
    std::set<std::string> table;
    for (const geodexcli::OptionSpec& o : geodexcli::optionTable()) {
        table.insert(o.name);
        EXPECT_TRUE(man.count(o.name)) << o.name << " is missing from the man page";
        EXPECT_TRUE(help.count(o.name)) << o.name << " is missing from every --help";
    }
    for (const std::string& name : man) EXPECT_TRUE(table.count(name)) << "the man page names " << name;
    EXPECT_GT(table.size(), 30u);
}
