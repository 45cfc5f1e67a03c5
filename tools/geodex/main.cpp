// geodex: batch coordinate conversion with the Geodex library.
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "Angles.h"
#include "Conversion.h"
#include "LineProcessor.h"
#include "Options.h"
#include "Runner.h"
#include "geodex/geodex.h"

using namespace geodexcli;
using Orvale::Geodex::CRS;
using Orvale::Geodex::CRSDB;
using Orvale::Geodex::EllipsoidDB;

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

const char* const kCommonHelp = R"(
Coordinates and output:
  Geodetic points are "latitude longitude [height]" in decimal degrees; degrees-minutes-seconds are
  accepted as 31:30:15.5, 31d30'15.5", 31°30'15.5" or 31d30m15.5s, with a sign or a hemisphere letter
  (N S E W). Grid points are "northing easting [height]" in metres. Heights in metres.
  --xy                  longitude first and easting first, in input and output
  --radians             angles in radians instead of degrees
  --no-height           never take the third column as a height (it is carried through)
  --precision N         decimals of metres in the output (default 4)
  --angle-precision N   decimals of degrees in the output (default 10; radians get 3 more)
  -j N                  convert on N threads (output order is kept)
  --help                this text
)";

const char* const kEllipsoidHelp = R"(
Ellipsoid (default WGS 84):
  --a METRES            semi-major axis
  --rf VALUE            inverse flattening 1/f   (or --f VALUE: the flattening itself)
)";

const char* const kProjectionHelp = R"(
Projection:
  --code N              projection code (default 32, transverse Mercator; 34 UTM, 14/15 Lambert, ...)
  --cm DEG              central meridian (default 120)      --lat0 DEG   latitude of origin (default 0)
  --fe METRES           false easting (default 500000)      --fn METRES  false northing (default 0)
  --k VALUE             scale factor (default 1)
  --sp1 DEG, --sp2 DEG  standard parallels (also latitude of true scale)
  --zone N              UTM zone of grid points (unproject, code 34)
  --zone-override N     UTM zone to project into (0 = the point's own zone)
  --hemisphere N|S      UTM and polar stereographic hemisphere
  --cone-colat DEG      colatitude of the cone axis (Krovak)
)";

const char* const kShiftHelp = R"(
Datum shift (the parameters of the direction WGS 84 -> local datum):
  --method N            1 seven-parameter (Bursa, coordinate frame), 2 Molodensky, 0 none
  --params DX,DY,DZ[,RX,RY,RZ,PPM]
                        translations in metres, rotations in arc-seconds, scale difference in ppm
  The local ellipsoid is given with --a and --rf.
)";

const char* const kAdjustHelp = R"(
Local grid adjustments (applied after the projection, to northing and easting):
  --plane DX,DY,ROT,SCALE   four-parameter transformation: shifts (m), rotation (arc-seconds), scale
  --ele-method N            height correction: 1 constant, 2 plane, 3 quadratic surface, 4 inclined plane
  --ele-coef C0,C1,C2,C3,C4,C5   coefficients of methods 1-3 (C0 = the constant of method 1)
  --ele-tgo X0,Y0,C,SX,SY   method 4: reference point (m), height at it (m), slopes along x and y
  The correction is evaluated at the adjusted (northing, easting) and added to the height.
)";

const char* const kConvertHelp =
    R"(usage: geodex convert --ellipsoids FILE --crs FILE --name NAME [options] [FILE]

WGS 84 "latitude longitude height" -> local grid "northing easting height", in this order:
datum shift from WGS 84, projection, plane adjustment, elevation adjustment. With --geoid the output
height is the geoid height H = h - N (N interpolated bilinearly on WGS 84), before the elevation
adjustment. --inverse converts local grid points back to WGS 84 with the exact inverse of each step.

  --ellipsoids FILE     ellipsoid catalogue ("name,a,f" lines), loaded before the CRS catalogue
  --crs FILE            CRS catalogue ("[crs]" records)
  --name NAME           the CRS record to use (exact name)
  --geoid FILE.ggf      geoid grid for geoid heights
  --inverse             local grid -> WGS 84
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

std::vector<std::string> commonFlags() { return {"--xy", "--radians", "--no-height", "--help", "--inverse"}; }

std::vector<std::string> commonValued() {
    return {"--precision",  "--angle-precision",
            "-j",           "--a",
            "--rf",         "--f",
            "--code",       "--cm",
            "--lat0",       "--fe",
            "--fn",         "--k",
            "--sp1",        "--sp2",
            "--zone",       "--zone-override",
            "--hemisphere", "--cone-colat",
            "--method",     "--params",
            "--plane",      "--ele-method",
            "--ele-coef",   "--ele-tgo",
            "--ellipsoids", "--crs",
            "--name",       "--geoid"};
}

std::u16string widen(const std::string& s) {
    // Catalogue paths are 16-bit texts; file names of this command are taken byte by byte.
    return std::u16string(s.begin(), s.end());
}

void readEllipsoid(const Options& o, Settings& s) {
    s.a = o.number("--a", s.a);
    if (o.has("--rf")) s.f = 1 / o.number("--rf", 298.257223563);
    if (o.has("--f")) s.f = o.number("--f", s.f);
}

void readProjection(const Options& o, Settings& s) {
    Orvale::Geodex::ProjectParam& p = s.projection;
    s.projectionMethod = o.integer("--code", s.projectionMethod);
    p.centralMeridian = o.angle("--cm", p.centralMeridian);
    p.originLatitude = o.angle("--lat0", p.originLatitude);
    p.falseEasting = o.number("--fe", p.falseEasting);
    p.falseNorthing = o.number("--fn", p.falseNorthing);
    p.scaleFactor = o.number("--k", p.scaleFactor);
    p.standardParallel1 = o.angle("--sp1", p.standardParallel1);
    p.standardParallel2 = o.angle("--sp2", p.standardParallel2);
    p.zone = o.integer("--zone", p.zone);
    p.zoneOverride = o.integer("--zone-override", p.zoneOverride);
    if (o.has("--hemisphere")) {
        const std::string h = o.text("--hemisphere");
        if (h != "N" && h != "S") throw UsageError("--hemisphere must be N or S");
        p.hemisphere = h[0];
    }
    p.coneAxisColatitude = o.angle("--cone-colat", p.coneAxisColatitude);
}

void readShift(const Options& o, Settings& s) {
    s.transformMethod = o.integer("--method", s.transformMethod);
    if (!o.has("--params")) return;
    std::vector<double> v;
    try {
        v = o.numbers("--params", 7);
    } catch (const UsageError&) {
        v = o.numbers("--params", 3);
        v.resize(7, 0.0);
    }
    const double arcSecond = Orvale::Geodex::kArcSecond;
    s.shift = Orvale::Geodex::ParamSeven(v[0], v[1], v[2], v[3] * arcSecond, v[4] * arcSecond,
                                         v[5] * arcSecond, v[6] * 1e-6);
}

void readAdjustments(const Options& o, Settings& s) {
    if (o.has("--plane")) {
        const std::vector<double> v = o.numbers("--plane", 4);
        s.planeAdjust = true;
        s.planeShiftX = v[0];
        s.planeShiftY = v[1];
        s.planeRotation = v[2];
        s.planeScale = v[3];
        if (!(s.planeScale != 0)) throw UsageError("--plane: the scale must not be 0");
    }
    s.eleMethod = o.integer("--ele-method", 0);
    if (o.has("--ele-coef")) {
        const std::vector<double> v = o.numbers("--ele-coef", 6);
        std::copy(v.begin(), v.end(), s.eleCoef);
    }
    if (o.has("--ele-tgo")) {
        const std::vector<double> v = o.numbers("--ele-tgo", 5);  // X0, Y0, C, SX, SY
        s.tgo[0] = v[0];
        s.tgo[1] = v[1];
        s.tgo[2] = v[3];
        s.tgo[3] = v[4];
        s.tgo[4] = v[2];
    }
}

// Fills the ellipsoid, shift and projection from a CRS record of the catalogues.
void readCatalogue(const Options& o, Settings& s) {
    if (!o.has("--ellipsoids") || !o.has("--crs") || !o.has("--name"))
        throw UsageError("convert needs --ellipsoids FILE, --crs FILE and --name NAME");
    if (!EllipsoidDB::GetInstance()->LoadEllipsoids(widen(o.text("--ellipsoids"))))
        throw UsageError("cannot open the ellipsoid catalogue " + o.text("--ellipsoids"));
    if (!CRSDB::GetInstance()->LoadCRSs(widen(o.text("--crs"))))
        throw UsageError("cannot open the CRS catalogue " + o.text("--crs"));
    const std::string name = o.text("--name");
    bool found = false;
    CRS crs;
    for (const CRS& c : CRSDB::GetInstance()->GetCRSs())
        if (c.GetName() == name) {
            crs = c;
            found = true;
            break;
        }
    if (!found) throw UsageError("no CRS named \"" + name + "\" in " + o.text("--crs"));
    s.a = crs.GetEllipsoid().GetSemiMajorAxis();
    s.f = crs.GetEllipsoid().GetFlattening();
    s.transformMethod = crs.GetTransformMethod();
    s.shift = crs.GetTransformParams();
    s.projectionMethod = crs.GetProjectMethod();
    s.projection = crs.GetProjectParams();
}

int run(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << kMainHelp;
        return args.empty() ? 2 : 0;
    }
    const std::string command = args[0];
    args.erase(args.begin());

    Settings s;
    LineFormat f;
    std::string help;
    if (command == "convert") {
        s.mode = Mode::Convert;
        help = std::string(kConvertHelp) + kAdjustHelp + kCommonHelp + kConvertExamples;
    } else if (command == "project" || command == "unproject") {
        s.mode = Mode::Project;
        help = std::string(kProjectHelp) + kEllipsoidHelp + kProjectionHelp + kCommonHelp + kProjectExamples;
    } else if (command == "geocentric") {
        s.mode = Mode::Geocentric;
        help = std::string(kGeocentricHelp) + kEllipsoidHelp + kCommonHelp + kGeocentricExamples;
    } else if (command == "shift") {
        s.mode = Mode::Shift;
        help = std::string(kShiftCommandHelp) + kEllipsoidHelp + kShiftHelp + kCommonHelp + kShiftExamples;
    } else {
        throw UsageError("unknown command \"" + command + "\" (try geodex --help)");
    }

    const Options o(args, commonFlags(), commonValued());
    if (o.flag("--help")) {
        std::cout << help;
        return 0;
    }
    s.inverse = o.flag("--inverse") || command == "unproject";
    switch (s.mode) {
        case Mode::Convert:
            readCatalogue(o, s);
            readAdjustments(o, s);
            if (o.has("--geoid")) {
                try {
                    Orvale::Geodex::GeoidDB::getInstance()->LoadGGFFile(o.text("--geoid").c_str());
                } catch (const std::exception& e) {
                    throw UsageError("geoid grid " + o.text("--geoid") + ": " + e.what());
                }
                s.useGeoid = true;
            }
            f.geodeticIn = !s.inverse;
            f.geodeticOut = s.inverse;
            break;
        case Mode::Project:
            readEllipsoid(o, s);
            readProjection(o, s);
            f.geodeticIn = !s.inverse;
            f.geodeticOut = s.inverse;
            break;
        case Mode::Geocentric:
            readEllipsoid(o, s);
            f.geodeticIn = !s.inverse;
            f.geodeticOut = s.inverse;
            f.heightRequired = s.inverse;
            f.heightAlwaysOut = true;
            f.xyzIn = s.inverse;
            f.xyzOut = !s.inverse;
            break;
        case Mode::Shift:
            readEllipsoid(o, s);
            readShift(o, s);
            f.geodeticIn = true;
            f.geodeticOut = true;
            break;
    }
    f.lonLatOrder = o.flag("--xy");
    f.radians = o.flag("--radians");
    f.heightColumn = !o.flag("--no-height");
    f.linearDecimals = o.integer("--precision", 4);
    f.angleDecimals = o.integer("--angle-precision", 10);
    if (f.linearDecimals < 0 || f.linearDecimals > 15 || f.angleDecimals < 0 || f.angleDecimals > 15)
        throw UsageError("precisions must lie between 0 and 15");

    RunOptions r;
    r.threads = o.integer("-j", 1);
    if (r.threads < 1 || r.threads > 256) throw UsageError("-j needs a thread count from 1 to 256");
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
