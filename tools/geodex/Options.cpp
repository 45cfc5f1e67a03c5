#include "Options.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <stdexcept>

#include "Angles.h"

namespace geodexcli {

double OptionValue::number() const {
    auto v = parseNumber(text);
    if (!v) throw UsageError("option " + name + ": not a number: " + text);
    return *v;
}

int OptionValue::integer() const {
    const double v = number();
    // Range first: converting a double outside int (or NaN) is undefined.
    if (!(v >= INT_MIN && v <= INT_MAX) || v != std::trunc(v))
        throw UsageError("option " + name + ": not a whole number");
    return static_cast<int>(v);
}

double OptionValue::angle() const {
    auto v = parseDegrees(text);
    if (!v) throw UsageError("option " + name + ": not an angle in degrees: " + text);
    return *v * kDegree;
}

std::vector<double> OptionValue::numbers(size_t n) const {
    std::vector<double> out;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = text.find(',', start);
        const std::string part =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        auto v = parseNumber(part);
        if (!v) throw UsageError("option " + name + ": not a number: " + part);
        out.push_back(*v);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (out.size() != n)
        throw UsageError("option " + name + " needs " + std::to_string(n) + " comma-separated numbers");
    return out;
}

namespace {

using V = const OptionValue&;
using R = Request&;

int precision(V v) {
    const int p = v.integer();
    if (p < 0 || p > 15) throw UsageError("precisions must lie between 0 and 15");
    return p;
}

void readShiftParams(V v, R r) {
    // Three translations, or the seven parameters.
    const size_t given = std::count(v.text.begin(), v.text.end(), ',') + 1;
    if (given != 3 && given != 7)
        throw UsageError("option " + v.name + " needs 3 or 7 comma-separated numbers");
    std::vector<double> p = v.numbers(given);
    p.resize(7, 0.0);
    const double arcSecond = Orvale::Geodex::kArcSecond;
    r.settings.shift = Orvale::Geodex::ParamSeven(p[0], p[1], p[2], p[3] * arcSecond, p[4] * arcSecond,
                                                  p[5] * arcSecond, p[6] * 1e-6);
}

void readPlane(V v, R r) {
    const std::vector<double> p = v.numbers(4);
    Settings& s = r.settings;
    s.planeAdjust = true;
    s.planeShiftX = p[0];
    s.planeShiftY = p[1];
    s.planeRotation = p[2];
    s.planeScale = p[3];
    if (!(s.planeScale != 0)) throw UsageError("--plane: the scale must not be 0");
}

void readTgo(V v, R r) {
    const std::vector<double> p = v.numbers(5);  // X0, Y0, C, SX, SY
    double* tgo = r.settings.tgo;                // X0, Y0, SX, SY, C
    tgo[0] = p[0];
    tgo[1] = p[1];
    tgo[2] = p[3];
    tgo[3] = p[4];
    tgo[4] = p[2];
}

// Fills the ellipsoid, shift and projection from a CRS record of the catalogues, then loads the geoid grid.
void readCatalogues(R r) {
    if (r.ellipsoids.empty() || r.crs.empty() || r.name.empty())
        throw UsageError("convert needs --ellipsoids FILE, --crs FILE and --name NAME");
    Settings& s = r.settings;
    const Mode mode = s.mode;
    const bool inverse = s.inverse;
    try {
        s = Settings::fromCatalogue(r.ellipsoids, r.crs, r.name);
        s.mode = mode;
        s.inverse = inverse;
        if (r.geoid.empty()) return;
        Orvale::Geodex::Converter::loadGeoid(r.geoid);
    } catch (const std::invalid_argument& e) {
        throw UsageError(e.what());
    }
    s.useGeoid = true;
}

struct GroupSpec {
    OptionGroup group;
    const char* heading;
    const char* preface;  // text between the heading and the options
    const char* notes;    // text after the options
    void (*finish)(Request& request);
};

const GroupSpec kGroups[] = {
    {OptionGroup::Catalogue, "Catalogues:", "", "", readCatalogues},
    {OptionGroup::Ellipsoid, "Ellipsoid (default WGS 84):", "", "", nullptr},
    {OptionGroup::Projection, "Projection:", "", "", nullptr},
    {OptionGroup::Shift, "Datum shift (the parameters of the direction WGS 84 -> local datum):", "",
     "  The local ellipsoid is given with --a and --rf.\n", nullptr},
    {OptionGroup::Adjust,
     "Local grid adjustments (applied after the projection, to northing and easting):", "",
     "  The correction is evaluated at the adjusted (northing, easting) and added to the height.\n", nullptr},
    {OptionGroup::Common, "Coordinates and output:",
     R"(  Geodetic points are "latitude longitude [height]" in decimal degrees; degrees-minutes-seconds are
  accepted as 31:30:15.5, 31d30'15.5", 31°30'15.5" or 31d30m15.5s, with a sign or a hemisphere letter
  (N S E W). Grid points are "northing easting [height]" in metres. Heights in metres.
)",
     "", nullptr},
};

const GroupSpec& groupSpec(OptionGroup g) {
    return *std::find_if(std::begin(kGroups), std::end(kGroups),
                         [g](const GroupSpec& s) { return s.group == g; });
}

const OptionSpec* findOption(const std::string& name) {
    const std::vector<OptionSpec>& table = optionTable();
    auto it = std::find_if(table.begin(), table.end(), [&](const OptionSpec& o) { return name == o.name; });
    return it == table.end() ? nullptr : &*it;
}

}  // namespace

const std::vector<OptionSpec>& optionTable() {
    using G = OptionGroup;
    static const std::vector<OptionSpec> table = {
        {"--ellipsoids", "FILE", "ellipsoid catalogue (\"name,a,f\" lines), loaded before the CRS catalogue",
         G::Catalogue, [](V v, R r) { r.ellipsoids = v.text; }},
        {"--crs", "FILE", "CRS catalogue (\"[crs]\" records)", G::Catalogue,
         [](V v, R r) { r.crs = v.text; }},
        {"--name", "NAME", "the CRS record to use (exact name)", G::Catalogue,
         [](V v, R r) { r.name = v.text; }},
        {"--geoid", "FILE.ggf", "geoid grid for geoid heights", G::Catalogue,
         [](V v, R r) { r.geoid = v.text; }},

        {"--a", "METRES", "semi-major axis", G::Ellipsoid, [](V v, R r) { r.settings.a = v.number(); }},
        {"--rf", "VALUE", "inverse flattening 1/f", G::Ellipsoid,
         [](V v, R r) { r.settings.f = 1 / v.number(); }},
        {"--f", "VALUE", "the flattening itself (takes precedence over --rf)", G::Ellipsoid,
         [](V v, R r) { r.settings.f = v.number(); }},

        {"--code", "N", "projection code (default 32, transverse Mercator; 34 UTM, 14/15 Lambert, ...)",
         G::Projection, [](V v, R r) { r.settings.projectionMethod = v.integer(); }},
        {"--cm", "DEG", "central meridian (default 120)", G::Projection,
         [](V v, R r) { r.settings.projection.centralMeridian = v.angle(); }},
        {"--lat0", "DEG", "latitude of origin (default 0)", G::Projection,
         [](V v, R r) { r.settings.projection.originLatitude = v.angle(); }},
        {"--fe", "METRES", "false easting (default 500000)", G::Projection,
         [](V v, R r) { r.settings.projection.falseEasting = v.number(); }},
        {"--fn", "METRES", "false northing (default 0)", G::Projection,
         [](V v, R r) { r.settings.projection.falseNorthing = v.number(); }},
        {"--k", "VALUE", "scale factor (default 1)", G::Projection,
         [](V v, R r) { r.settings.projection.scaleFactor = v.number(); }},
        {"--sp1", "DEG", "first standard parallel (also latitude of true scale)", G::Projection,
         [](V v, R r) { r.settings.projection.standardParallel1 = v.angle(); }},
        {"--sp2", "DEG", "second standard parallel", G::Projection,
         [](V v, R r) { r.settings.projection.standardParallel2 = v.angle(); }},
        {"--zone", "N", "UTM zone of grid points (unproject, code 34)", G::Projection,
         [](V v, R r) { r.settings.projection.zone = v.integer(); }},
        {"--zone-override", "N", "UTM zone to project into (0 = the point's own zone)", G::Projection,
         [](V v, R r) { r.settings.projection.zoneOverride = v.integer(); }},
        {"--hemisphere", "N|S", "UTM and polar stereographic hemisphere", G::Projection,
         [](V v, R r) {
             if (v.text != "N" && v.text != "S") throw UsageError("--hemisphere must be N or S");
             r.settings.projection.hemisphere = v.text[0];
         }},
        {"--cone-colat", "DEG", "colatitude of the cone axis (Krovak)", G::Projection,
         [](V v, R r) { r.settings.projection.coneAxisColatitude = v.angle(); }},

        {"--method", "N", "1 seven-parameter (Bursa, coordinate frame), 2 Molodensky, 0 none", G::Shift,
         [](V v, R r) { r.settings.transformMethod = v.integer(); }},
        {"--params", "DX,DY,DZ[,RX,RY,RZ,PPM]",
         "translations in metres, rotations in arc-seconds, scale difference in ppm", G::Shift,
         readShiftParams},

        {"--plane", "DX,DY,ROT,SCALE",
         "four-parameter transformation: shifts (m), rotation (arc-seconds), scale", G::Adjust, readPlane},
        {"--ele-method", "N", "height correction: 1 constant, 2 plane, 3 quadratic surface, 4 inclined plane",
         G::Adjust, [](V v, R r) { r.settings.eleMethod = v.integer(); }},
        {"--ele-coef", "C0,C1,C2,C3,C4,C5", "coefficients of methods 1-3 (C0 = the constant of method 1)",
         G::Adjust,
         [](V v, R r) {
             const std::vector<double> c = v.numbers(6);
             std::copy(c.begin(), c.end(), r.settings.eleCoef);
         }},
        {"--ele-tgo", "X0,Y0,C,SX,SY",
         "method 4: reference point (m), height at it (m), slopes along x and y", G::Adjust, readTgo},

        {"--xy", nullptr, "longitude first and easting first, in input and output", G::Common,
         [](V, R r) { r.format.lonLatOrder = true; }},
        {"--radians", nullptr, "angles in radians instead of degrees", G::Common,
         [](V, R r) { r.format.radians = true; }},
        {"--no-height", nullptr, "never take the third column as a height (it is carried through)", G::Common,
         [](V, R r) { r.format.heightColumn = false; }},
        {"--precision", "N", "decimals of metres in the output (default 4)", G::Common,
         [](V v, R r) { r.format.linearDecimals = precision(v); }},
        {"--angle-precision", "N", "decimals of degrees in the output (default 10; radians get 3 more)",
         G::Common, [](V v, R r) { r.format.angleDecimals = precision(v); }},
        {"-j", "N", "convert on N threads (output order is kept)", G::Common,
         [](V v, R r) {
             r.run.threads = v.integer();
             if (r.run.threads < 1 || r.run.threads > 256)
                 throw UsageError("-j needs a thread count from 1 to 256");
         }},
        {"--inverse", nullptr, "the reverse direction (project: as unproject)", G::Common,
         [](V, R r) { r.settings.inverse = true; }},
        {"--help", nullptr, "this text", G::Common, nullptr},
    };
    return table;
}

Options::Options(const std::vector<std::string>& args) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() < 2 || a[0] != '-' || parseNumber(a)) {
            positional_.push_back(a);
            continue;
        }
        const size_t eq = a.find('=');
        const std::string name = a.substr(0, eq);
        const OptionSpec* known = findOption(name);
        if (!known) throw UsageError("unknown option " + name);
        std::string value;
        if (!known->argument) {
            if (eq != std::string::npos) throw UsageError("option " + name + " takes no value");
        } else if (eq != std::string::npos) {
            value = a.substr(eq + 1);
        } else {
            if (i + 1 >= args.size()) throw UsageError("option " + name + " needs a value");
            value = args[++i];
        }
        values_[name] = value;
    }
}

std::string Options::text(const std::string& name) const {
    auto it = values_.find(name);
    return it == values_.end() ? std::string() : it->second;
}

std::string groupHelp(OptionGroup group) {
    const GroupSpec& g = groupSpec(group);
    const size_t column = 24;  // help texts start here; a longer name and argument get a line of their own
    std::string out = std::string("\n") + g.heading + "\n" + g.preface;
    for (const OptionSpec& o : optionTable()) {
        if (o.group != group) continue;
        std::string left = std::string("  ") + o.name + (o.argument ? std::string(" ") + o.argument : "");
        left +=
            left.size() < column ? std::string(column - left.size(), ' ') : "\n" + std::string(column, ' ');
        out += left + o.help + "\n";
    }
    return out + g.notes;
}

void readGroup(OptionGroup group, const Options& options, Request& request) {
    for (const OptionSpec& o : optionTable())
        if (o.group == group && o.read && options.given(o.name))
            o.read({o.name, options.text(o.name)}, request);
    if (const auto finish = groupSpec(group).finish) finish(request);
}

}  // namespace geodexcli
