#pragma once
#include "geodex/Export.h"
#include "geodex/projections/CoordinateSystem.h"
#include "geodex/projections/GeodeticCoordinates.h"
#include "geodex/projections/MapProjectionCoordinates.h"

namespace Orvale::Geodex {

// Krovak's oblique conformal conic projection on the Gaussian conformal sphere (code 37). Its
// "easting" and "northing" are the Czech axes: westing and southing from the cone's apex, both positive
// over the projection's area. Nothing is validated and nothing is thrown.
class GEODEX_EXPORT Krovak : public CoordinateSystem {
  public:
    // a in metres, f the flattening; latitude of the projection centre, longitude of origin, colatitude of
    // the cone axis and pseudo standard parallel in radians; scale factor on the pseudo standard
    // parallel; false northing and easting in metres. Stored as given.
    Krovak(double a, double f, double latitudeOfCentre, double longitudeOfOrigin, double coneAxisColatitude,
           double pseudoStandardParallel, double scaleFactor, double falseNorthing, double falseEasting);

    // Longitude and latitude in radians → easting, northing in metres (new heap tuple of type 37).
    MapProjectionCoordinates* project(const GeodeticCoordinates& geodetic) const;
    // Longitude, latitude in radians → easting, northing in metres; allocates nothing, never throws.
    void project(double longitude, double latitude, double& easting, double& northing) const;

    // Easting, northing in metres → longitude (not normalised) and latitude in radians, height 0 (new heap
    // tuple of type 10). A non-number in gives a non-number out.
    GeodeticCoordinates* backProject(const MapProjectionCoordinates& projected) const;
    // Easting, northing in metres → longitude, latitude in radians (non-numbers for an infinite point);
    // allocates nothing, never throws.
    void backProject(double easting, double northing, double& longitude, double& latitude) const;

  private:
    struct Constants;
    Constants constants() const;

    double latitudeOfCentre;
    double longitudeOfOrigin;
    double coneAxisColatitude;
    double pseudoStandardParallel;
    double scaleFactor;
    double falseNorthing;
    double falseEasting;
};

}  // namespace Orvale::Geodex
