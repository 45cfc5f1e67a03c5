// geodex: batch coordinate conversion with the Geodex library.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "Options.h"
#include "Runner.h"

using namespace geodexcli;

namespace {

const char* const kMainHelp = R"(usage: geodex COMMAND [options] [FILE]

Converts point lists, one point per line, from FILE or standard input to standard output.
Columns are separated by blanks or by commas; blank lines and lines starting with '#' are passed
through; columns after the coordinates are carried through unchanged. A line that cannot be converted
is written as "ERROR" (so output lines stay aligned with input lines) and reported on standard error
with its line number; the exit status is then 1.

Commands:
  convert      WGS 84 -> local grid through a CRS of a catalogue (--inverse: back to WGS 84)
  project      geodetic -> grid by one projection (code and parameters)
  unproject    grid -> geodetic by one projection
  geocentric   geodetic -> earth-centred X Y Z (--inverse: back)
  shift        datum shift WGS 84 -> local datum (--inverse: back)

Run "geodex COMMAND --help" for the options and examples of a command.
)";

const char* const kConvertHelp =
    R"(usage: geodex convert --ellipsoids FILE --crs FILE --name NAME [options] [FILE]

WGS 84 "latitude longitude height" -> local grid "northing easting height", in this order:
datum shift from WGS 84, projection, plane adjustment, elevation adjustment. With --geoid the output
height is the geoid height H = h - N (N interpolated bilinearly on WGS 84), before the elevation
adjustment. --inverse converts local grid points back to WGS 84 with the exact inverse of each step.
)";

const char* const kConvertExamples = R"(
Examples:
  geodex convert --ellipsoids ell.txt --crs crs.txt --name "Site grid" points.txt > grid.txt
  geodex convert --ellipsoids ell.txt --crs crs.txt --name "Site grid" --inverse grid.txt
  echo "31:14:05.2N 121:28:33.7E 12.5 P1" | geodex convert --ellipsoids ell.txt --crs crs.txt \
      --name "Site grid" --plane 10.2,-5.1,1.5,1.000012 --ele-method 1 --ele-coef 0.35,0,0,0,0,0
)";

const char* const kProjectHelp = R"(usage: geodex project|unproject [options] [FILE]

project:   "latitude longitude [height]" -> "northing easting [height]"
unproject: "northing easting [height]" -> "latitude longitude [height]"
)";

const char* const kProjectExamples = R"(
Examples:
  echo "31.5 121.2" | geodex project --code 32 --cm 120 --k 0.9996 --fe 500000
  echo "3486577.7 613930.2" | geodex unproject --code 34 --zone 51 --hemisphere N
  geodex project --code 15 --cm 10.5 --lat0 47.5 --sp1 46 --sp2 49 --fe 600000 --fn 200000 --xy lonlat.csv
)";

const char* const kGeocentricHelp = R"(usage: geodex geocentric [--inverse] [options] [FILE]

"latitude longitude [height]" -> earth-centred "X Y Z" (metres) on the ellipsoid; --inverse the reverse.
)";

const char* const kGeocentricExamples = R"(
Examples:
  echo "45 7 250" | geodex geocentric
  echo "4466133.2 548372.9 4487471.3" | geodex geocentric --inverse --a 6378245 --rf 298.3
)";

const char* const kShiftCommandHelp = R"(usage: geodex shift --method N --params ... [options] [FILE]

WGS 84 "latitude longitude height" -> the same point on the local datum; --inverse the exact reverse.
)";

const char* const kShiftExamples = R"(
Examples:
  echo "31.2 121.5 20" | geodex shift --a 6378245 --rf 298.3 --method 1 \
      --params 15.8,-154.4,-82.3,0.3,-0.2,0.5,1.2
  geodex shift --a 6378245 --rf 298.3 --method 2 --params -24,123,94 --inverse local.txt
)";

// A command: its --help text around the sections of its option groups, which are also the groups it reads.
struct CommandSpec {
    const char* name;
    Mode mode;
    const char* usage;
    std::vector<OptionGroup> groups;
    const char* examples;
};

const CommandSpec kCommands[] = {
    {"convert",
     Mode::Convert,
     kConvertHelp,
     {OptionGroup::Catalogue, OptionGroup::Adjust, OptionGroup::Common},
     kConvertExamples},
    {"project",
     Mode::Project,
     kProjectHelp,
     {OptionGroup::Ellipsoid, OptionGroup::Projection, OptionGroup::Common},
     kProjectExamples},
    {"unproject",
     Mode::Project,
     kProjectHelp,
     {OptionGroup::Ellipsoid, OptionGroup::Projection, OptionGroup::Common},
     kProjectExamples},
    {"geocentric",
     Mode::Geocentric,
     kGeocentricHelp,
     {OptionGroup::Ellipsoid, OptionGroup::Common},
     kGeocentricExamples},
    {"shift",
     Mode::Shift,
     kShiftCommandHelp,
     {OptionGroup::Ellipsoid, OptionGroup::Shift, OptionGroup::Common},
     kShiftExamples},
};

int run(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << kMainHelp;
        return args.empty() ? 2 : 0;
    }
    const std::string command = args[0];
    args.erase(args.begin());

    auto chosen = std::find_if(std::begin(kCommands), std::end(kCommands),
                             [&](const CommandSpec& c) { return command == c.name; });
    if (chosen == std::end(kCommands))
        throw UsageError("unknown command \"" + command + "\" (try geodex --help)");

    const Options o(args);
    if (o.given("--help")) {
        std::cout << chosen->usage;
        for (OptionGroup g : chosen->groups) std::cout << groupHelp(g);
        std::cout << chosen->examples;
        return 0;
    }
    // An option the command does not read would be dropped without a word (convert takes its ellipsoid
    // from the catalogue, not from --a): refuse it instead.
    for (const OptionSpec& option : optionTable())
        if (o.given(option.name) &&
            std::find(chosen->groups.begin(), chosen->groups.end(), option.group) == chosen->groups.end())
            throw UsageError("option " + std::string(option.name) + " does not apply to " + command);
    Request q;
    Settings& s = q.settings;
    LineFormat& f = q.format;
    RunOptions& r = q.run;
    s.mode = chosen->mode;
    s.inverse = command == "unproject";
    for (OptionGroup g : chosen->groups) readGroup(g, o, q);
    f.geodeticIn = s.geodeticInput();
    f.geodeticOut = s.geodeticOutput();
    if (s.mode == Mode::Geocentric) {
        f.heightRequired = s.inverse;
        f.heightAlwaysOut = true;
        f.xyzIn = s.inverse;
        f.xyzOut = !s.inverse;
    }
    r.progress = isatty(STDERR_FILENO);

    const std::vector<std::string>& files = o.positional();
    if (files.size() > 1) throw UsageError("one input file at most");
    std::ios::sync_with_stdio(false);
    long long failures = 0;
    if (files.empty() || files[0] == "-") {
        failures = runLines(std::cin, std::cout, std::cerr, s, f, r);
    } else {
        std::ifstream in(files[0], std::ios::binary);
        if (!in) throw UsageError("cannot open " + files[0] + ": " + std::strerror(errno));
        struct stat st {};
        if (stat(files[0].c_str(), &st) == 0) r.totalBytes = st.st_size;
        failures = runLines(in, std::cout, std::cerr, s, f, r);
    }
    if (!std::cout) {
        std::cerr << "geodex: error writing the output\n";
        return 1;
    }
    return failures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const UsageError& e) {
        std::cerr << "geodex: " << e.what() << '\n';
        return 2;
    }
}
