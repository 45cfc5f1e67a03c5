#pragma once
#include <string>

#include "geodex/AdjustParams.h"
#include "geodex/Ellipsoid.h"
#include "geodex/Export.h"
#include "geodex/ParamSeven.h"
#include "geodex/ParamThree.h"
#include "geodex/ProjectParam.h"

namespace Orvale::Geodex {

// The configurable conversion object: two ellipsoids, a datum-shift method, a projection method, plane
// and elevation adjustments and a geoid file, each set by its setter and read by the conversions at the
// moment of the call (a kept projection object is only reused while its inputs are unchanged, see
// below). Each conversion is one separate call; only LocalToGeocentric
// and GeocentricToLocal chain two steps.
//
// Angles are radians (the plane-adjustment rotation: seconds of arc), lengths metres, flattening f.
//
// Method codes are stored without validation; a conversion given a code it does not know leaves its
// outputs untouched (or passes the values through, where stated):
//   transformMethod    1 seven-parameter (Bursa) shift, 2 three-parameter (Molodensky) shift,
//                      anything else: the point is only re-expressed on the other ellipsoid;
//   projectionMethod   the CoordinateType code of the projection class;
//   planeAdjustMethod  1 four-parameter transformation printing its matrices, 2 the same silently;
//   eleAdjustMethod    1 to 4 (see EleAdjusting).
//
// A new transformer has every field defined: both ellipsoids WGS 84 (a = 6378137, f = 1/298.257223563),
// transform, projection, plane- and elevation-adjustment methods 0, the ParamSeven and ProjectParam
// defaults, plane adjustment all 0 but planeScale = 1.0, elevation adjustments all 0, no geoid file.
// Callers set what they use before the first conversion that reads it.
//
// Projecting and BackProjecting keep the projection object they built and use it again while the
// projection method, the destination ellipsoid and every parameter slot are bitwise the same, so a run
// of points pays for the construction once; results, exceptions, warnings and the code-17 write-back
// are exactly those of building the object for each point. A transformer is used by one thread at a time
// (it is not synchronised); a copy starts without a kept object.
class GEODEX_EXPORT DatumTransformer {
  public:
    DatumTransformer();

    // --- Configuration (no setter validates) ---

    // Semi-major axis (metres) and flattening f of the local ellipsoid of the direction towards WGS 84
    // (source) and of the direction from WGS 84 (destination, also the ellipsoid of the projection).
    void SetSrcEllipsoid(double a, double f);
    void SetDstEllipsoid(double a, double f);
    const Ellipsoid& GetSrcEllipsoid() const;
    const Ellipsoid& GetDstEllipsoid() const;

    void SetTransformMethod(int method);
    int GetTransformMethod() const;
    // Translations (metres), rotations (radians), scale difference. Method 1 stores all seven, method 2
    // the three translations only, any other method nothing: set the method first.
    void SetTransformParams(double dx, double dy, double dz, double rx, double ry, double rz, double scale);
    const ParamSeven& GetTransformParams() const;

    void SetProjectionMethod(int method);
    int GetProjectionMethod() const;
    // Central meridian, origin latitude (radians), false easting, false northing (metres), scale factor,
    // standard parallels 1 and 2 (radians), zone, zone override, hemisphere ('N'/'S'), cone-axis
    // colatitude (radians). Only the slots the current projection method reads are stored (code 34:
    // zone, zone override and hemisphere); a code without a class stores nothing. Set the method first.
    void SetProjectionParams(double centralMeridian, double originLatitude, double falseEasting,
                             double falseNorthing, double scaleFactor, double standardParallel1,
                             double standardParallel2, int zone, int zoneOverride, char hemisphere,
                             double coneAxisColatitude);
    const ProjectParam& GetProjectParams() const;

    void SetPlaneAdjustMethod(int method);
    int GetPlaneAdjustMethod() const;
    // Shifts (metres), rotation (seconds of arc), scale multiplier, then the two carried-only values.
    void SetPlaneAdjustParams(double shiftX, double shiftY, double rotation, double planeScale,
                              double extraParam1, double extraParam2);
    const PlaneAdjustParam& GetPlaneAdjustParams() const;

    void SetEleAdjustMethod(int method);
    int GetEleAdjustMethod() const;
    void SetEleAdjustParams(double c0, double c1, double c2, double c3, double c4, double c5);
    const EleAdjustParam& GetEleAdjustParams() const;
    // Reference point (plane coordinates, metres), slopes, then the height constant (metres).
    void SetEleAdjustTGOParams(double originX, double originY, double slopeX, double slopeY, double constant);
    const EleAdjustParamTGO& GetEleAdjustTGOParams() const;

    // Path of the GGF geoid grid loaded by the geoid-height conversions.
    void SetGeoidFilePath(std::string path);
    const std::string& GetGeoidFilePath() const;

    // --- Geocentric conversions on the ellipsoid (a metres, f flattening) given; fields not read ---

    // Longitude in [-π, 2π], latitude in [-π/2, π/2] (radians), height (metres) → X, Y, Z (metres).
    // Throws CSException for an invalid ellipsoid or point; the outputs are then not written.
    void GeodeticToGeocentric(double a, double f, double longitude, double latitude, double height, double& X,
                              double& Y, double& Z);
    // X, Y, Z (metres) → latitude (radians), longitude in [0, 2π) (radians), height (metres); note the
    // order latitude first. Throws CSException for an invalid ellipsoid only.
    void GeocentricToGeodetic(double a, double f, double X, double Y, double Z, double& latitude,
                              double& longitude, double& height);

    // --- Datum shifts (transformMethod, transformParams) ---

    // WGS 84 → local datum on the destination ellipsoid. Latitude and longitude in radians, heights in
    // metres. Bursa and re-expression return the longitude in [0, 2π) and pass on the CSException of
    // the geocentric step. Molodensky never throws; it takes the change of ellipsoid as target minus
    // source and, at a latitude of exactly ±π/2 (where the longitude is undefined), returns the input
    // longitude.
    void GeodeticShiftFromWGS84(double latitude, double longitude, double height, double& latitudeOut,
                                double& longitudeOut, double& heightOut);
    // GeodeticShiftFromWGS84 of two points, in[k] and out[k] each (latitude, longitude, height),
    // with the same results bit for bit, faster for the seven-parameter shift and the re-expression (their
    // earth-centred steps of both points run interleaved). Returns false and writes nothing when either
    // point would throw, or for Molodensky (no earth-centred step); convert the points one by one then.
    bool GeodeticShiftFromWGS84Pair(const double in[2][3], double out[2][3]);
    // Local datum on the source ellipsoid → WGS 84; otherwise as GeodeticShiftFromWGS84.
    void GeodeticShiftToWGS84(double latitude, double longitude, double height, double& latitudeOut,
                              double& longitudeOut, double& heightOut);

    // --- Projection (projectionMethod, projectParams, destination ellipsoid) ---

    // Latitude, longitude (radians), height (metres) → northing, easting (metres), height unchanged.
    // A code without a projection class leaves all three outputs untouched. Throws CSException for
    // invalid parameters or an out-of-range point (outputs not written). Code 17 writes the scale
    // factor it derives into projectParams.scaleFactor.
    void Projecting(double latitude, double longitude, double height, double& northing, double& easting,
                    double& heightOut);
    // Northing, easting (metres) → latitude, longitude (radians). heightOut = height is written first,
    // whatever happens; latitude and longitude are untouched for a code without a class. Code 34 reads
    // zone and hemisphere from projectParams.
    void BackProjecting(double northing, double easting, double height, double& latitude, double& longitude,
                        double& heightOut);

    // BackProjecting on the current projection, then GeodeticToGeocentric on the ellipsoid (a, f), height
    // unchanged. A projection code without a class leaves X, Y and Z untouched.
    void LocalToGeocentric(double a, double f, double northing, double easting, double height, double& X,
                           double& Y, double& Z);
    // GeocentricToGeodetic on the ellipsoid (a, f), then Projecting; height is the ellipsoidal height.
    void GeocentricToLocal(double a, double f, double X, double Y, double Z, double& northing,
                           double& easting, double& height);

    // --- Adjustments (plane: planeAdjustMethod; elevation: eleAdjustMethod) ---

    // First and second plane coordinates (metres) → adjusted ones. Methods 1 and 2:
    // out = shift + planeScale · R(rotation) · (x, y), rotation about the grid origin; method 1 also
    // prints the translation, the input, R and planeScale·R to standard output. Otherwise unchanged.
    void PlaneAdjusting(double x, double y, double& xOut, double& yOut);
    // Writes *h: method 1 h + coef0; 2 coef0·x + coef1·y + coef2; 3 the quadratic surface
    // coef0·x + coef1·y + coef2·x² + coef3·y² + coef4·x·y + coef5; 4 constant + slopeX·(x − originX)
    // + slopeY·(y − originY); any other method leaves *h unchanged. Never throws.
    void EleAdjusting(double x, double y, double* h);

    // --- Geoid heights on the grid of geoidFilePath (bilinear; the interpolator is not used) ---

    // Latitude, longitude (radians), ellipsoidal height h (metres) → geoid height H = h − N (metres);
    // 0.0 when the file cannot be loaded or the conversion fails.
    double ConvertEllipsoidToGeoidHeight(double latitude, double longitude, double h, int interpolator);
    // Geoid height H (metres) → ellipsoidal height h = H + N (metres); 0.0 on any failure.
    double ConvertGeoidToEllipsoidHeight(double latitude, double longitude, double H, int interpolator);

    // A built projection object (defined with the projection dispatch; not for callers).
    class ProjectionEntry;

  private:
    // The parameter solver fits the transformer's own seven-parameter formula.
    friend class ParamSolver;

    void MolodenskyMethod(const Ellipsoid& from, const Ellipsoid& to, const ParamThree& shift,
                          double latitude, double longitude, double height, double& latitudeOut,
                          double& longitudeOut, double& heightOut);
    // `params` is not read: the transformer's own transformParams are applied.
    void BursaMethod(const Ellipsoid& from, const Ellipsoid& to, const ParamSeven& params, double latitude,
                     double longitude, double height, double& latitudeOut, double& longitudeOut,
                     double& heightOut);
    void GeocentricShiftFromWGS84(double X, double Y, double Z, double& Xout, double& Yout, double& Zout);
    void GeocentricShiftToWGS84(double X, double Y, double Z, double& Xout, double& Yout, double& Zout);
    void sevenParameterShift(double X, double Y, double Z, double& Xout, double& Yout, double& Zout);

    // The inverse projection of BackProjecting; false (outputs untouched) for a code without a class.
    bool backProjectPoint(double northing, double easting, double& latitude, double& longitude);

    // The projection object kept between conversions (see the class comment). Copying gives an empty
    // holder; moving hands the object over.
    class GEODEX_EXPORT KeptProjection {
      public:
        KeptProjection() noexcept = default;
        KeptProjection(const KeptProjection&) noexcept {}
        KeptProjection(KeptProjection&& other) noexcept;
        KeptProjection& operator=(const KeptProjection& other) noexcept;
        KeptProjection& operator=(KeptProjection&& other) noexcept;
        ~KeptProjection();
        void reset(ProjectionEntry* entry = nullptr) noexcept;
        ProjectionEntry* entry = nullptr;
    };
    // The projection object for the current method, destination ellipsoid and parameters, built (and
    // kept) when those changed; nullptr for a code without a class. Throws what the constructor throws.
    const ProjectionEntry* currentProjection();

    void planeAdjustKernel(double x, double y, double& xOut, double& yOut) const;
    void planeAdjustKernelVerbose(double x, double y, double& xOut, double& yOut) const;

    Ellipsoid srcEllipsoid;
    Ellipsoid dstEllipsoid;
    int transformMethod;
    ParamSeven transformParams;
    ProjectParam projectParams;
    int projectionMethod;
    PlaneAdjustParam planeAdjustParams;
    EleAdjustParam eleAdjustParams;
    EleAdjustParamTGO eleAdjustTGOParams;
    int planeAdjustMethod;
    int eleAdjustMethod;
    std::string geoidFilePath;
    KeptProjection keptProjection;

    // The scaled rotation matrix of the seven-parameter shift (row by row) and the rotations (radians)
    // and scale difference it was built from.
    struct KeptRotation {
        bool valid = false;
        double rotX = 0, rotY = 0, rotZ = 0, scale = 0;
        double m[9] = {0, 0, 0, 0, 0, 0, 0, 0, 0};
    };
    KeptRotation keptRotation;
};

}  // namespace Orvale::Geodex
