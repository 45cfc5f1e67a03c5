#pragma once
// The conversions the geodex command applies to one point. Each thread owns one Conversion (and so one
// DatumTransformer); a Conversion is built from Settings, which are plain values shared by all threads.
#include <memory>
#include <string>
#include <vector>

#include "geodex/geodex.h"

namespace geodexcli {

// A point that cannot be converted: the text is the library's message (or ours), one line.
struct ConversionError {
    std::string message;
};

enum class Mode { Convert, Project, Geocentric, Shift };

struct Settings {
    Mode mode = Mode::Convert;
    bool inverse = false;  // convert: grid → WGS 84; project: unproject; geocentric: XYZ → geodetic;
                           // shift: local datum → WGS 84

    // Local ellipsoid: semi-major axis (metres) and flattening f.
    double a = 6378137.0;
    double f = 1 / 298.257223563;

    // Datum shift from WGS 84: 1 seven-parameter, 2 Molodensky, other re-expression only.
    // Translations in metres, rotations in radians, scale as a difference.
    int transformMethod = 0;
    Orvale::Geodex::ParamSeven shift{0, 0, 0, 0, 0, 0, 0};

    // Projection code and its parameter slots (angles in radians).
    int projectionMethod = 32;
    Orvale::Geodex::ProjectParam projection;

    // Plane adjustment (applied to northing, easting): enabled, shifts (m), rotation (arc-seconds), scale.
    bool planeAdjust = false;
    double planeShiftX = 0, planeShiftY = 0, planeRotation = 0, planeScale = 1;

    // Elevation adjustment method 1-4 (0 none) with its coefficients; applied as a correction
    // evaluated at (northing, easting) and added to the height.
    int eleMethod = 0;
    double eleCoef[6] = {0, 0, 0, 0, 0, 0};
    double tgo[5] = {0, 0, 0, 0, 0};  // originX, originY, slopeX, slopeY, constant

    // With a geoid grid loaded, convert heights are geoid heights (H = h − N on WGS 84).
    bool useGeoid = false;
};

class Conversion {
  public:
    explicit Conversion(const Settings& settings);

    // in and out hold (first, second, height) in the library's units: radians and metres, geodetic
    // points latitude first, grid points northing first. Throws ConversionError.
    void apply(const double in[3], double out[3]);

  private:
    void convertForward(const double in[3], double out[3]);
    void convertInverse(const double in[3], double out[3]);
    void shiftFromWGS84(const double in[3], double out[3]);
    void shiftToWGS84Exact(const double in[3], double out[3]);
    double elevationCorrection(double x, double y);
    double geoidUndulation(double latitude, double longitude);

    const Settings& s_;
    Orvale::Geodex::DatumTransformer t_;
};

// Longitude brought into [-π, π) for output, radians.
double normalisedLongitude(double longitude);

}  // namespace geodexcli
