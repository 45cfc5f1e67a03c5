#pragma once
#include "geodex/Export.h"
#include "geodex/projections/CoordinateSystem.h"
#include "geodex/projections/GeodeticCoordinates.h"
#include "geodex/projections/MapProjectionCoordinates.h"

namespace Orvale::Geodex {

// Ellipsoidal polar stereographic projection of one hemisphere, given either the latitude of true
// scale (code 26) or the scale factor at the pole and the hemisphere (code 27).
class GEODEX_EXPORT PolarStereographic : public CoordinateSystem {
  public:
    // Code 26. a in metres, f the flattening; longitude down from the pole in [-π, 2π] and latitude of
    // true scale in [-π/2, π/2] (radians; its sign chooses the hemisphere); false easting/northing in
    // metres. Throws CSException (19, 20, 22, 24).
    PolarStereographic(double a, double f, double longitudeDownFromPole, double latitudeOfTrueScale,
                       double falseEasting, double falseNorthing);

    // Code 27. Scale factor at the pole in [0.1, 3.0], hemisphere 'N' or 'S', other units as above.
    // Throws CSException (19, 20, 25, 24, 41; 22 when no latitude of true scale can be found).
    PolarStereographic(double a, double f, double longitudeDownFromPole, double scaleFactor, char hemisphere,
                       double falseEasting, double falseNorthing);

    // Longitude in [-π, 2π], latitude in the projection's hemisphere (radians) → easting, northing in
    // metres (new heap tuple of type 26 or 27). Throws CSException (43, 44).
    MapProjectionCoordinates* project(const GeodeticCoordinates& geodetic) const;
    // Longitude in [-π, 2π], latitude in the projection's hemisphere (radians) → easting, northing in
    // metres; allocates nothing. Throws CSException as the tuple form does.
    void project(double longitude, double latitude, double& easting, double& northing) const;

    // Easting, northing in metres → longitude in [-π, π], latitude (radians), height 0 (new heap tuple of
    // type 10). Throws CSException (45, 46, 42).
    GeodeticCoordinates* backProject(const MapProjectionCoordinates& projected) const;
    // Easting, northing in metres → longitude in [-π, π], latitude in [-π/2, π/2] (radians);
    // allocates nothing. Throws CSException as the tuple form does.
    void backProject(double easting, double northing, double& longitude, double& latitude) const;

  private:
    void setHemisphereAndOrigin(double longitudeDownFromPole, double latitudeOfTrueScale);
    void setWindow();
    double polarDistance(double phi) const;
    bool trueScaleAtPole() const;

    int typeCode;
    double e;
    double halfE;
    bool southern = false;
    double latitudeOfTrueScale = 0;    // |φc|, radians
    double longitudeDownFromPole = 0;  // radians, negated for the southern hemisphere
    double twoA;
    double e4;
    double tc = 0;
    double amc = 0;
    // Scale factor at the pole when the projection is given by one that no latitude of true scale can
    // express (above 1, or below the scale of a pole-to-equator projection); 1 otherwise.
    double k0 = 1;
    double falseEasting;
    double falseNorthing;
    double deltaEasting = 0;
    double deltaNorthing = 0;
};

}  // namespace Orvale::Geodex
