// The Python module geodex: numpy arrays through the library's Converter, degrees by default, the GIL
// released while converting, large arrays split over threads.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ParallelConversion.h"
#include "geodex/Converter.h"
#include "geodex/AngleConstants.h"

namespace py = pybind11;
using Orvale::Geodex::Converter;
using Orvale::Geodex::ConverterSettings;
using Orvale::Geodex::ParamSeven;
using Orvale::Geodex::PointFailure;
using Operation = ConverterSettings::Operation;

namespace {

const double kRadiansPerDegree = Orvale::Geodex::kDegree;
const double kDegreesPerRadian = Orvale::Geodex::kRadiansToDegrees;
using Orvale::Geodex::kArcSecond;  // radians

// Keyword arguments taken one by one; a name nobody took is a TypeError, as for a Python function.
class Keywords {
  public:
    Keywords(const py::kwargs& kwargs, std::string function) : function_(std::move(function)) {
        for (const auto& item : kwargs)
            values_.emplace_back(py::str(item.first), py::reinterpret_borrow<py::object>(item.second));
    }

    bool has(const std::string& name) const { return find(name) != nullptr; }
    py::object object(const std::string& name) {
        const py::object* v = find(name);
        taken_.insert(name);
        return v ? *v : py::none();
    }
    double number(const std::string& name, double fallback) {
        const py::object v = object(name);
        return v.is_none() ? fallback : v.cast<double>();
    }
    // An angle given in degrees, in radians; the current value (radians) when absent.
    double angle(const std::string& name, double current) {
        const py::object v = object(name);
        return v.is_none() ? current : v.cast<double>() * kRadiansPerDegree;
    }
    int integer(const std::string& name, int fallback) {
        const py::object v = object(name);
        return v.is_none() ? fallback : v.cast<int>();
    }
    bool flag(const std::string& name) {
        const py::object v = object(name);
        return !v.is_none() && py::bool_(v);
    }
    // A sequence of exactly n numbers, or nothing when the argument is absent or None.
    std::vector<double> numbers(const std::string& name, size_t n) {
        const py::object v = object(name);
        if (v.is_none()) return {};
        std::vector<double> values;
        for (const py::handle item : py::iter(v)) values.push_back(item.cast<double>());
        if (values.size() != n)
            throw py::value_error(name + " needs " + std::to_string(n) + " numbers, got " +
                                  std::to_string(values.size()));
        return values;
    }
    // Raises TypeError for an argument no reader took.
    void finish() const {
        for (const auto& [name, value] : values_)
            if (!taken_.count(name))
                throw py::type_error(function_ + "() got an unexpected keyword argument '" + name + "'");
    }

  private:
    const py::object* find(const std::string& name) const {
        for (const auto& [key, value] : values_)
            if (key == name) return &value;
        return nullptr;
    }
    std::string function_;
    std::vector<std::pair<std::string, py::object>> values_;
    std::set<std::string> taken_;
};

// Ellipsoid: a (metres), rf (1/f) or f.
void readEllipsoid(Keywords& k, ConverterSettings& s) {
    s.a = k.number("a", s.a);
    // rf=None leaves f as it is (1/(1/f) could move it by a rounding step).
    if (const py::object rf = k.object("rf"); !rf.is_none()) s.f = 1 / rf.cast<double>();
    if (k.has("f")) s.f = k.number("f", s.f);
}

// Projection code and slots; angles in degrees, lengths in metres.
void readProjection(Keywords& k, ConverterSettings& s) {
    auto& p = s.projection;
    s.projectionMethod = k.integer("code", s.projectionMethod);
    p.centralMeridian = k.angle("cm", p.centralMeridian);
    p.originLatitude = k.angle("lat0", p.originLatitude);
    p.falseEasting = k.number("fe", p.falseEasting);
    p.falseNorthing = k.number("fn", p.falseNorthing);
    p.scaleFactor = k.number("k", p.scaleFactor);
    p.standardParallel1 = k.angle("sp1", p.standardParallel1);
    p.standardParallel2 = k.angle("sp2", p.standardParallel2);
    p.zone = k.integer("zone", p.zone);
    p.zoneOverride = k.integer("zone_override", p.zoneOverride);
    const py::object hemisphere = k.object("hemisphere");
    if (!hemisphere.is_none()) {
        const std::string h = hemisphere.cast<std::string>();
        if (h != "N" && h != "S") throw py::value_error("hemisphere must be 'N' or 'S'");
        p.hemisphere = h[0];
    }
    p.coneAxisColatitude = k.angle("cone_colat", p.coneAxisColatitude);
}

// seven = (dx, dy, dz [m], rx, ry, rz [arc-seconds], scale [ppm]) or molodensky = (dx, dy, dz [m]).
void readShift(Keywords& k, ConverterSettings& s) {
    const std::vector<double> seven = k.numbers("seven", 7), three = k.numbers("molodensky", 3);
    if (!seven.empty() && !three.empty()) throw py::value_error("give seven or molodensky, not both");
    if (!seven.empty()) {
        s.transformMethod = 1;
        s.shift = ParamSeven(seven[0], seven[1], seven[2], seven[3] * kArcSecond, seven[4] * kArcSecond,
                             seven[5] * kArcSecond, seven[6] * 1e-6);
    } else if (!three.empty()) {
        s.transformMethod = 2;
        s.shift = ParamSeven(three[0], three[1], three[2], 0, 0, 0, 0);
    }
}

// plane = (dx, dy [m], rotation [arc-seconds], scale); ele_method 1-4 with ele_coef (6 numbers) or
// ele_tgo = (x0, y0 [m], height at it [m], slope x, slope y); geoid = path of a GGF grid.
void readAdjustments(Keywords& k, ConverterSettings& s, std::string& geoid) {
    const std::vector<double> plane = k.numbers("plane", 4);
    if (!plane.empty()) {
        s.planeAdjust = true;
        s.planeShiftX = plane[0];
        s.planeShiftY = plane[1];
        s.planeRotation = plane[2];
        s.planeScale = plane[3];
    }
    s.eleMethod = k.integer("ele_method", 0);
    const std::vector<double> coef = k.numbers("ele_coef", 6), tgo = k.numbers("ele_tgo", 5);
    std::copy(coef.begin(), coef.end(), s.eleCoef);
    if (!tgo.empty()) {
        const double order[5] = {tgo[0], tgo[1], tgo[3], tgo[4], tgo[2]};
        std::copy(order, order + 5, s.tgo);
    }
    const py::object path = k.object("geoid");
    if (!path.is_none()) {
        geoid = py::str(path);
        Converter::loadGeoid(geoid);
        s.useGeoid = true;
    }
}

unsigned threadCount(const py::object& threads) {
    if (threads.is_none()) return std::max(1u, std::thread::hardware_concurrency());
    const int n = threads.cast<int>();
    if (n < 1) throw py::value_error("threads must be at least 1");
    return static_cast<unsigned>(n);
}

// The index of flat position i in an array of the given shape: an int for one dimension, else a tuple.
py::object indexOf(size_t i, const std::vector<py::ssize_t>& shape) {
    if (shape.size() == 1) return py::int_(i);
    py::tuple index(shape.size());
    for (size_t d = shape.size(); d-- > 0;) {
        index[d] = py::int_(i % static_cast<size_t>(shape[d]));
        i /= static_cast<size_t>(shape[d]);
    }
    return std::move(index);
}

// Which coordinates of a conversion are angles, inputs and outputs, and how many outputs it returns.
struct Geometry {
    bool angleIn[3];
    bool angleOut[3];
    int outputs;
};

Geometry geometryOf(const ConverterSettings& s) {
    const bool geodeticIn = s.geodeticInput();
    const bool geodeticOut = s.geodeticOutput();
    return {{geodeticIn, geodeticIn, false},
            {geodeticOut, geodeticOut, false},
            s.mode == Operation::Project ? 2 : 3};
}

// Broadcasts the three inputs, converts them (GIL released, over threads) and returns the outputs in the
// broadcast shape; a failed point is NaN in every output and its message goes to `errors`.
py::tuple run(const Converter& converter, const py::object& x, const py::object& y, const py::object& z,
              bool radians, const py::object& threads, const py::object& errors) {
    using Array = py::array_t<double, py::array::c_style | py::array::forcecast>;
    const py::module_ np = py::module_::import("numpy");
    const py::object asarray = np.attr("asarray");
    const py::tuple broadcast = np.attr("broadcast_arrays")(
        asarray(x, "float64"), asarray(y, "float64"), asarray(z.is_none() ? py::float_(0.0) : z, "float64"));
    const Array a = Array::ensure(broadcast[0]), b = Array::ensure(broadcast[1]),
                c = Array::ensure(broadcast[2]);
    if (!a || !b || !c) throw py::error_already_set();
    const std::vector<py::ssize_t> shape(a.shape(), a.shape() + a.ndim());
    const size_t n = static_cast<size_t>(a.size());

    const Geometry g = geometryOf(converter.settings());
    geodexpy::Scales scales;
    for (int k = 0; k < 3; ++k) {
        scales.in[k] = g.angleIn[k] && !radians ? kRadiansPerDegree : 1.0;
        scales.out[k] = g.angleOut[k] && !radians ? kDegreesPerRadian : 1.0;
    }
    Array o0(shape), o1(shape), o2(g.outputs == 3 ? shape : std::vector<py::ssize_t>{0});
    const double* in[3] = {a.data(), b.data(), c.data()};
    double* out[3] = {o0.mutable_data(), o1.mutable_data(), g.outputs == 3 ? o2.mutable_data() : nullptr};
    const unsigned count = threadCount(threads);
    std::vector<PointFailure> failures;
    {
        py::gil_scoped_release released;
        failures = geodexpy::convertParallel(converter, n, in, out, scales, count);
    }

    if (!errors.is_none()) {
        if (py::isinstance<py::list>(errors)) {
            errors.attr("clear")();
            for (const PointFailure& f : failures)
                errors.attr("append")(py::make_tuple(indexOf(f.index, shape), f.message));
        } else if (py::isinstance<py::array>(errors)) {
            const py::tuple errorShape(errors.attr("shape"));
            bool same = errorShape.size() == shape.size();
            for (size_t d = 0; same && d < shape.size(); ++d)
                same = errorShape[d].cast<py::ssize_t>() == shape[d];
            if (!same) throw py::value_error("errors must have the shape of the broadcast coordinates");
            errors.attr("__setitem__")(py::ellipsis(), py::str(""));
            for (const PointFailure& f : failures) {
                errors.attr("__setitem__")(indexOf(f.index, shape), py::str(f.message));
            }
        } else {
            throw py::type_error("errors must be a list or a numpy array of strings");
        }
    }
    auto shaped = [&](Array& o) -> py::object { return shape.empty() ? o[py::tuple()] : py::object(o); };
    if (g.outputs == 2) return py::make_tuple(shaped(o0), shaped(o1));
    return py::make_tuple(shaped(o0), shaped(o1), shaped(o2));
}

// A conversion by one of the single steps: settings from the keywords, then the arrays.
py::tuple step(Operation mode, bool inverse, const char* function, const py::object& x, const py::object& y,
               const py::object& z, const py::kwargs& kwargs, bool projection, bool shift) {
    Keywords k(kwargs, function);
    ConverterSettings s;
    s.mode = mode;
    s.inverse = inverse || k.flag("inverse");
    readEllipsoid(k, s);
    if (projection) readProjection(k, s);
    if (shift) readShift(k, s);
    const bool radians = k.flag("radians");
    const py::object threads = k.object("threads"), errors = k.object("errors");
    k.finish();
    const Converter converter(s);
    return run(converter, x, y, z, radians, threads, errors);
}

// The chain in both directions, built from a catalogue CRS or from explicit parameters.
class Transformer {
  public:
    Transformer(const ConverterSettings& settings, std::string geoid)
        : forward_(with(settings, false)), inverse_(with(settings, true)), geoid_(std::move(geoid)) {}

    py::tuple toGrid(const py::object& lat, const py::object& lon, const py::object& h, bool radians,
                     const py::object& threads, const py::object& errors) const {
        return run(forward_, lat, lon, h, radians, threads, errors);
    }
    py::tuple toWGS84(const py::object& north, const py::object& east, const py::object& height, bool radians,
                      const py::object& threads, const py::object& errors) const {
        return run(inverse_, north, east, height, radians, threads, errors);
    }

    // Every setting and the geoid path, for pickling (workers of a cluster rebuild the transformer).
    py::tuple state() const {
        const ConverterSettings& s = forward_.settings();
        const auto& p = s.projection;
        py::list values;
        for (double v : {s.a,
                         s.f,
                         s.shift.deltaX,
                         s.shift.deltaY,
                         s.shift.deltaZ,
                         s.shift.rotX,
                         s.shift.rotY,
                         s.shift.rotZ,
                         s.shift.scale,
                         p.centralMeridian,
                         p.originLatitude,
                         p.falseEasting,
                         p.falseNorthing,
                         p.scaleFactor,
                         p.standardParallel1,
                         p.standardParallel2,
                         p.coneAxisColatitude,
                         s.planeShiftX,
                         s.planeShiftY,
                         s.planeRotation,
                         s.planeScale})
            values.append(v);
        for (double v : s.eleCoef) values.append(v);
        for (double v : s.tgo) values.append(v);
        return py::make_tuple(values, s.transformMethod, s.projectionMethod, p.zone, p.zoneOverride,
                              static_cast<int>(p.hemisphere), s.planeAdjust, s.eleMethod, s.useGeoid, geoid_);
    }
    static Transformer fromState(const py::tuple& t) {
        if (t.size() != 10) throw std::runtime_error("not a geodex.Transformer state");
        std::vector<double> v;
        for (const py::handle item : py::list(t[0])) v.push_back(item.cast<double>());
        if (v.size() != 32) throw std::runtime_error("not a geodex.Transformer state");
        ConverterSettings s;
        s.a = v[0];
        s.f = v[1];
        s.shift = ParamSeven(v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
        auto& p = s.projection;
        p.centralMeridian = v[9];
        p.originLatitude = v[10];
        p.falseEasting = v[11];
        p.falseNorthing = v[12];
        p.scaleFactor = v[13];
        p.standardParallel1 = v[14];
        p.standardParallel2 = v[15];
        p.coneAxisColatitude = v[16];
        s.planeShiftX = v[17];
        s.planeShiftY = v[18];
        s.planeRotation = v[19];
        s.planeScale = v[20];
        std::copy(v.begin() + 21, v.begin() + 27, s.eleCoef);
        std::copy(v.begin() + 27, v.begin() + 32, s.tgo);
        s.transformMethod = t[1].cast<int>();
        s.projectionMethod = t[2].cast<int>();
        p.zone = t[3].cast<int>();
        p.zoneOverride = t[4].cast<int>();
        p.hemisphere = static_cast<char>(t[5].cast<int>());
        s.planeAdjust = t[6].cast<bool>();
        s.eleMethod = t[7].cast<int>();
        s.useGeoid = t[8].cast<bool>();
        const std::string geoid = t[9].cast<std::string>();
        // The geoid grid is one per process: a worker loads it again.
        if (s.useGeoid && !geoid.empty()) Converter::loadGeoid(geoid);
        return Transformer(s, geoid);
    }

    std::string repr() const {
        const ConverterSettings& s = forward_.settings();
        return "<geodex.Transformer code=" + std::to_string(s.projectionMethod) +
               " shift=" + std::to_string(s.transformMethod) +
               " a=" + py::str(py::float_(s.a)).cast<std::string>() +
               " rf=" + py::str(py::float_(1 / s.f)).cast<std::string>() + ">";
    }

  private:
    static ConverterSettings with(ConverterSettings s, bool inverse) {
        s.mode = Operation::Convert;
        s.inverse = inverse;
        return s;
    }

    Converter forward_, inverse_;
    std::string geoid_;
};

const char* const kModuleDoc = R"(Geodetic conversions of numpy arrays with the Geodex library.

Angles are decimal degrees unless a call passes radians=True; lengths and heights are metres.
Geodetic points are (latitude in [-90, 90], longitude), grid points (northing, easting). Inputs are
anything numpy turns into float64 arrays (scalars too) and are broadcast against each other; outputs
are float64 arrays of the broadcast shape (numpy scalars for scalar inputs). A point that cannot be
converted is NaN in every output; pass errors=[] (or a numpy array of strings of the broadcast shape)
to receive (index, message) for each such point. Large arrays are split over `threads` threads
(default: all cores) with the GIL released; the results do not depend on the thread count.
Invalid parameters raise ValueError with the library's message.)";

const char* const kTransformerDoc = R"(The conversion chain WGS 84 -> local grid and its exact inverse.

Transformer(**parameters) takes explicit parameters (all optional, the defaults are the library's):
  a (m), rf (1/f) or f            local ellipsoid (default WGS 84)
  seven=(dx, dy, dz, rx, ry, rz, ppm)  seven-parameter shift from WGS 84 (coordinate frame), metres,
                                  arc-seconds, parts per million; or molodensky=(dx, dy, dz) metres;
                                  neither: the point is only re-expressed on the local ellipsoid
  code                            projection code (32 transverse Mercator, 34 UTM, 15 Lambert with two
                                  parallels, 14 Lambert with one, ...; default 32)
  cm, lat0, sp1, sp2, cone_colat  central meridian, origin latitude, standard parallels, cone-axis
                                  colatitude in degrees (defaults 120, 0, 0, 0, 59.71...)
  fe, fn (m), k                   false easting (default 500000), false northing, scale factor (1)
  zone, zone_override, hemisphere UTM zone of grid points, zone to project into, 'N' or 'S'
  plane=(dx, dy, rotation, scale) four-parameter plane adjustment: metres, arc-seconds, factor
  ele_method=1..4, ele_coef=(c0..c5) or ele_tgo=(x0, y0, height, slope_x, slope_y)  height correction
  geoid=path                      GGF geoid grid: grid heights are geoid heights H = h - N
The geoid grid is one per process (the last one loaded serves every transformer).)";

}  // namespace

PYBIND11_MODULE(geodex, m) {
    m.doc() = kModuleDoc;

    py::class_<Transformer>(m, "Transformer", kTransformerDoc)
        .def(py::init([](const py::kwargs& kwargs) {
            Keywords k(kwargs, "Transformer");
            ConverterSettings s;
            std::string geoid;
            readEllipsoid(k, s);
            readShift(k, s);
            readProjection(k, s);
            readAdjustments(k, s, geoid);
            k.finish();
            return Transformer(s, geoid);
        }))
        .def_static(
            "from_catalogue",
            [](const std::string& ellipsoids, const std::string& crs, const std::string& name,
               const py::kwargs& kwargs) {
                Keywords k(kwargs, "from_catalogue");
                ConverterSettings s = ConverterSettings::fromCatalogue(ellipsoids, crs, name);
                std::string geoid;
                readAdjustments(k, s, geoid);
                k.finish();
                return Transformer(s, geoid);
            },
            py::arg("ellipsoids"), py::arg("crs"), py::arg("name"),
            "The CRS record `name` of the CRS catalogue file `crs`, its ellipsoid taken from the ellipsoid\n"
            "catalogue file `ellipsoids` (\"name,a,f\" lines). Keywords: plane, ele_method, ele_coef, "
            "ele_tgo,\n"
            "geoid as for Transformer(). ValueError when a file cannot be read or no record has the name.")
        .def("to_grid", &Transformer::toGrid, py::arg("lat"), py::arg("lon"), py::arg("h") = 0.0,
             py::kw_only(), py::arg("radians") = false, py::arg("threads") = py::none(),
             py::arg("errors") = py::none(),
             "WGS 84 latitude, longitude (degrees; radians=True: radians) and ellipsoidal height (m) ->\n"
             "(northing, easting, height) in metres: datum shift, projection, plane and height adjustment.")
        .def("to_wgs84", &Transformer::toWGS84, py::arg("north"), py::arg("east"), py::arg("height") = 0.0,
             py::kw_only(), py::arg("radians") = false, py::arg("threads") = py::none(),
             py::arg("errors") = py::none(),
             "Grid northing, easting, height (m) -> WGS 84 (latitude, longitude in [-180, 180), height):\n"
             "the exact inverse of to_grid.")
        .def("__repr__", &Transformer::repr)
        .def(py::pickle([](const Transformer& t) { return t.state(); },
                        [](const py::tuple& state) { return Transformer::fromState(state); }));

    m.def(
        "geocentric",
        [](const py::object& x, const py::object& y, const py::object& z, const py::kwargs& kw) {
            return step(Operation::Geocentric, false, "geocentric", x, y, z, kw, false, false);
        },
        py::arg("lat"), py::arg("lon"), py::arg("h") = 0.0,
        "Geodetic latitude, longitude, height -> earth-centred (X, Y, Z) in metres on the ellipsoid a, rf\n"
        "(default WGS 84); inverse=True: (X, Y, Z) -> (latitude, longitude in [-180, 180), height).\n"
        "Keywords: a, rf or f, inverse, radians, threads, errors.");
    m.def(
        "project",
        [](const py::object& lat, const py::object& lon, const py::kwargs& kw) {
            return step(Operation::Project, false, "project", lat, lon, py::none(), kw, true, false);
        },
        py::arg("lat"), py::arg("lon"),
        "Latitude, longitude -> (northing, easting) in metres by projection `code` with its parameters\n"
        "(keywords as for Transformer: a, rf, code, cm, lat0, fe, fn, k, sp1, sp2, zone, zone_override,\n"
        "hemisphere, cone_colat) on the ellipsoid a, rf. Keywords radians, threads, errors.");
    m.def(
        "unproject",
        [](const py::object& north, const py::object& east, const py::kwargs& kw) {
            return step(Operation::Project, true, "unproject", north, east, py::none(), kw, true, false);
        },
        py::arg("north"), py::arg("east"),
        "Northing, easting (m) -> (latitude, longitude in [-180, 180)): the inverse of project, same "
        "keywords.");
    m.def(
        "shift",
        [](const py::object& lat, const py::object& lon, const py::object& h, const py::kwargs& kw) {
            return step(Operation::Shift, false, "shift", lat, lon, h, kw, false, true);
        },
        py::arg("lat"), py::arg("lon"), py::arg("h") = 0.0,
        "WGS 84 latitude, longitude, height -> the same point on the local datum (latitude, longitude,\n"
        "height) by seven=(dx, dy, dz, rx, ry, rz, ppm) or molodensky=(dx, dy, dz) onto the ellipsoid a, "
        "rf;\n"
        "inverse=True: back to WGS 84 (exact inverse). Keywords radians, threads, errors.");
}
