#pragma once
#include "geodex/Export.h"
#include "geodex/projections/CoordinateSystem.h"
#include "geodex/projections/GeodeticCoordinates.h"
#include "geodex/projections/MapProjectionCoordinates.h"

namespace Orvale::Geodex {

// What the azimuthal projections of the sphere of equal area (azimuthal equidistant, gnomonic,
// orthographic, stereographic) share: their constructor checks, their centre, the opening and closing of
// their conversions and the whole inverse, which differs between them only in how the angular distance
// c from the centre follows from the distance ρ from the false origin.
class GEODEX_EXPORT SphericalAzimuthal : public CoordinateSystem {
  public:
    // Easting, northing in metres → longitude in [-π, π], latitude in [-π/2, π/2] (radians); allocates
    // nothing. Throws CSException (45, 46, and 42 where the class's image is a disc).
    void backProject(double easting, double northing, double& longitude, double& latitude) const;

  protected:
    // Sine and cosine of the angular distance c (radians) of a point ρ > 0 metres from the false origin,
    // on the sphere of radius Ra (metres).
    using AngularDistance = void (*)(double rho, double Ra, double& sinC, double& cosC);

    // a in metres, f the flattening; central meridian in [-π, 2π] and origin latitude in [-π/2, π/2]
    // (radians); false easting/northing in metres. Throws CSException (19, 20, 22, 24).
    SphericalAzimuthal(double a, double f, double centralMeridian, double originLatitude, double falseEasting,
                       double falseNorthing, AngularDistance distance);

    // Opening of project: latitude (43) and longitude (44) checks of λ and φ (radians), thrown together;
    // returns the longitude difference from the central meridian in [-π, π] (radians).
    double openProject(double lambda, double phi) const;

    double Ra;  // radius of the sphere of equal area, metres
    double originLatitude;
    double sinPhi0;
    double cosPhi0;
    double centralMeridian;  // in [-π, π]
    double falseEasting;
    double falseNorthing;

    // The inverse's window and image, set by each constructor (metres): easting within ±deltaEasting
    // and northing within ±deltaNorthing of the false origin; beyond maxRho from it no point (42); up to
    // centreRadius from it the centre itself. polarAspect picks the polar longitude formula.
    double deltaEasting = 0;
    double deltaNorthing = 0;
    double maxRho;
    double centreRadius = 1e-10;
    bool polarAspect = false;

  private:
    AngularDistance distance;
};

}  // namespace Orvale::Geodex
