#pragma once
#include "geodex/Export.h"
#include "geodex/projections/CoordinateSystem.h"

namespace Orvale::Geodex {

// What the world projections of one central meridian (Eckert IV and VI, Miller, Mollweide, sinusoidal,
// Van der Grinten) share: their constructor checks, their false origin and their window.
class GEODEX_EXPORT WorldProjection : public CoordinateSystem {
  protected:
    // a in metres, f the flattening; central meridian in [-π, 2π] (radians); false easting/northing in
    // metres. Throws CSException (19, 20, 24).
    WorldProjection(double a, double f, double centralMeridian, double falseEasting, double falseNorthing);

    // Opening of project: latitude (43) and longitude (44) checks of λ and φ (radians), thrown together;
    // returns the longitude difference from the central meridian in [-π, π] (radians).
    double openProject(double lambda, double phi) const;
    // Opening of backProject: easting (45) and northing (46) window checks (metres), thrown together.
    void openBackProject(double E, double N) const;

    double centralMeridian;  // radians, [-π, π]
    double falseEasting;     // metres
    double falseNorthing;    // metres
    double minEasting;       // easting window, offsets from the false easting, metres
    double maxEasting;
    double deltaNorthing;  // northing window half-width about the false northing, metres
};

}  // namespace Orvale::Geodex
