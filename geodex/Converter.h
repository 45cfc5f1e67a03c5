#pragma once
// The conversion chain of the geodex command and of bulk callers, over arrays of points: WGS 84 → local
// datum → projection → plane adjustment → elevation adjustment (with geoid heights when a grid is
// loaded), its exact inverse, and the single steps (projection, geocentric conversion, datum shift).
#include <cstddef>
#include <string>
#include <vector>

#include "geodex/DatumTransformer.h"
#include "geodex/Export.h"
#include "geodex/ParamSeven.h"
#include "geodex/ProjectParam.h"

namespace Orvale::Geodex {

// What a Converter does and with which parameters: plain values, shared by every thread's Converter.
struct GEODEX_EXPORT ConverterSettings {
    enum class Operation {
        Convert,     // WGS 84 (latitude, longitude, h) → grid (northing, easting, height); inverse back
        Project,     // geodetic (latitude, longitude, h) → grid (northing, easting, h); inverse back
        Geocentric,  // geodetic (latitude, longitude, h) → earth-centred (X, Y, Z); inverse back
        Shift        // WGS 84 (latitude, longitude, h) → local datum (same order); inverse back
    };
    Operation mode = Operation::Convert;
    bool inverse = false;

    // Whether the points read and the points written are geodetic (their first two coordinates angles):
    // both for a shift, else the side of the operation's direction that is geodetic.
    bool geodeticInput() const { return mode == Operation::Shift || !inverse; }
    bool geodeticOutput() const { return mode == Operation::Shift || inverse; }

    // Local ellipsoid (also the ellipsoid of the projection and of the geocentric conversion):
    // semi-major axis in metres, flattening f (not 1/f).
    double a = 6378137.0;
    double f = 1 / 298.257223563;

    // Datum shift from WGS 84: 1 seven-parameter (coordinate frame), 2 Molodensky, any other value only
    // re-expresses the point on the local ellipsoid. Translations in metres, rotations in radians, scale
    // as a difference (the factor is 1 + scale).
    int transformMethod = 0;
    ParamSeven shift{0, 0, 0, 0, 0, 0, 0};

    // Projection code (the transformer's dispatch: 32 transverse Mercator, 34 UTM, 15 Lambert with two
    // parallels, ...) and its parameter slots (angles in radians, lengths in metres).
    int projectionMethod = 32;
    ProjectParam projection;

    // Plane adjustment of (northing, easting): out = shift + scale · R(rotation) · (x, y); shifts in
    // metres, rotation in seconds of arc, scale a factor (not 0).
    bool planeAdjust = false;
    double planeShiftX = 0, planeShiftY = 0, planeRotation = 0, planeScale = 1;

    // Elevation adjustment method 1-4 (0 none) with its coefficients (DatumTransformer::EleAdjusting),
    // evaluated at the adjusted (northing, easting) and added to the height, metres.
    int eleMethod = 0;
    double eleCoef[6] = {0, 0, 0, 0, 0, 0};
    double tgo[5] = {0, 0, 0, 0, 0};  // originX, originY (m), slopeX, slopeY, constant (m)

    // Convert: the grid height is the geoid height H = h − N, N from the process's loaded geoid grid
    // (Converter::loadGeoid) at the WGS 84 position, before the elevation adjustment.
    bool useGeoid = false;

    // The settings of the CRS record named `name` (exact) of the CRS catalogue at crsPath, after loading
    // the ellipsoid catalogue at ellipsoidsPath: ellipsoid, shift method and parameters, projection code
    // and slots; everything else at its default. Replaces the process's loaded catalogues. Throws
    // std::invalid_argument naming the file that cannot be opened or the name not found.
    static ConverterSettings fromCatalogue(const std::string& ellipsoidsPath, const std::string& crsPath,
                                           const std::string& name);
};

// A point that could not be converted: its index in the array and the library's message (one line).
struct GEODEX_EXPORT PointFailure {
    std::size_t index;
    std::string message;
};

// Converts points by the chain of its settings. Angles are radians, lengths metres; geodetic points are
// (latitude in [-π/2, π/2], longitude, height), grid points (northing, easting, height), earth-centred
// points (X, Y, Z). Longitudes written are in [-π, π).
//
// A Converter is used by one thread at a time (it keeps the transformer's projection object); copies
// convert independently and give bitwise the same results, so a large array may be split over threads
// with one copy each. For a point that succeeds the chain allocates nothing, except in the projection
// step of the few projection classes that only convert through heap tuples.
class GEODEX_EXPORT Converter {
  public:
    // Checks the settings by building what they name: an invalid ellipsoid, projection parameters that
    // reject every point, a projection code without a projection class or a plane scale of 0 throw
    // std::invalid_argument with the library's message (one line).
    explicit Converter(const ConverterSettings& settings);

    const ConverterSettings& settings() const { return s_; }

    // Converts count points given as three arrays (first coordinate, second, height) into three output
    // arrays, which may be the input arrays themselves. height == nullptr reads heights of 0; heightOut
    // == nullptr writes no third output. A point that fails gets NaN in every output and, when failures
    // is given, a record appended (in index order). Returns the number of failed points.
    std::size_t convert(std::size_t count, const double* first, const double* second, const double* height,
                        double* firstOut, double* secondOut, double* heightOut,
                        std::vector<PointFailure>* failures = nullptr);

    // One point: in and out hold (first, second, height) and may be the same array. On failure returns
    // false with out set to NaN and the message in *message (when given).
    bool convertPoint(const double in[3], double out[3], std::string* message = nullptr);

    // Loads the GGF geoid grid at path as the process's geoid grid (shared by every Converter). Throws
    // std::invalid_argument naming the file and the reason.
    static void loadGeoid(const std::string& path);

  private:
    // The steps of the chain; each throws the failure of the point with its one-line message.
    void apply(const double in[3], double out[3]);
    void convertForward(const double in[3], double out[3]);
    // convertForward after its datum shift: `local` is `in` on the local datum.
    void convertForwardFromLocal(const double in[3], const double local[3], double out[3]);
    void convertInverse(const double in[3], double out[3]);
    void shiftFromWGS84(const double in[3], double out[3]);
    void shiftToWGS84Exact(const double in[3], double out[3]);
    double elevationCorrection(double x, double y);
    double geoidUndulation(double latitude, double longitude);
    void checkSettings();

    ConverterSettings s_;
    DatumTransformer t_;
};

}  // namespace Orvale::Geodex
