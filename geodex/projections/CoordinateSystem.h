#pragma once
#include "geodex/Export.h"
#include "geodex/projections/CoordinateType.h"
#include "geodex/projections/GeodeticCoordinates.h"
#include "geodex/projections/MapProjectionCoordinates.h"

namespace Orvale::Geodex {

// Base of every projection class and of Geocentric: the ellipsoid, semi-major axis a in metres and
// flattening f (about 1/298). The default is WGS 84.
class GEODEX_EXPORT CoordinateSystem {
  public:
    CoordinateSystem();
    CoordinateSystem(double a, double f);  // stored unchecked

    // Writes the semi-major axis (metres) and the flattening.
    void getEllipsoidParameters(double* a, double* f) const;

  protected:
    // The openings the projection classes share; each throws one CSException with every failed check.
    // Latitude (43) and longitude (44) of a point to project, radians.
    static void checkGeodetic(double longitude, double latitude);
    // Easting within ±deltaEasting of the false easting (45), northing within ±deltaNorthing of the
    // false northing (46) of a point to back-project, metres.
    static void checkCentredWindow(double easting, double northing, double falseEasting, double deltaEasting,
                                   double falseNorthing, double deltaNorthing);
    // The same with the easting window [falseEasting + minEasting, falseEasting + maxEasting], metres.
    static void checkWorldWindow(double easting, double northing, double falseEasting, double minEasting,
                                 double maxEasting, double falseNorthing, double deltaNorthing);

    // The closings shared by the projection classes: each class converts plain doubles (its public
    // project(λ, φ, E, N) and backProject(E, N, λ, φ); radians, metres) and only these build the tuple:
    // plane coordinates of type `code`, or geodetic coordinates of type 10 with height 0.
    template <class Projection>
    static MapProjectionCoordinates* projectToTuple(const Projection& projection, int code,
                                                    const GeodeticCoordinates& geodetic) {
        double easting, northing;
        projection.project(geodetic.longitude(), geodetic.latitude(), easting, northing);
        return new MapProjectionCoordinates(code, easting, northing);
    }
    template <class Projection>
    static GeodeticCoordinates* backProjectToTuple(const Projection& projection,
                                                   const MapProjectionCoordinates& plane) {
        double longitude, latitude;
        projection.backProject(plane.easting(), plane.northing(), longitude, latitude);
        return new GeodeticCoordinates(CoordinateType::geodetic, longitude, latitude, 0);
    }

    double semiMajorAxis;
    double flattening;
};

}  // namespace Orvale::Geodex
