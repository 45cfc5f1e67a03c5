#pragma once
#include <memory>

#include "geodex/Export.h"
#include "geodex/projections/CoordinateSystem.h"
#include "geodex/projections/GeodeticCoordinates.h"
#include "geodex/projections/LambertConformalConic.h"
#include "geodex/projections/MapProjectionCoordinates.h"

namespace Orvale::Geodex {

// Polar Lambert conformal conic (code 23): a two-parallel Lambert cone with its standard parallel at 71°
// or 74° and its second parallel 2″ from the pole of the origin's hemisphere.
class GEODEX_EXPORT PolarLambertConformalConic : public CoordinateSystem {
  public:
    // a in metres, f the flattening, central meridian in [-π, 2π], origin latitude within ±89°59′58″,
    // standard parallel 71° or 74° (radians, to 1e-10; taken with the origin's sign), false easting and
    // northing in metres. Throws CSException.
    PolarLambertConformalConic(double a, double f, double centralMeridian, double originLatitude,
                               double standardParallel, double falseEasting, double falseNorthing);
    ~PolarLambertConformalConic();
    PolarLambertConformalConic(const PolarLambertConformalConic&) = delete;
    PolarLambertConformalConic& operator=(const PolarLambertConformalConic&) = delete;

    // Longitude in [-π, 2π], latitude in [-π/2, π/2] (radians) → new heap easting/northing in metres (type
    // 23).
    MapProjectionCoordinates* project(const GeodeticCoordinates& geodetic) const;

    // Easting and northing in metres → new heap longitude in [-π, π], latitude (radians), height 0.
    GeodeticCoordinates* backProject(const MapProjectionCoordinates& plane) const;

  private:
    std::unique_ptr<LambertConformalConic> cone;
    double originLatitude;
    double standardParallel1;
    double standardParallel2;
    double centralMeridian;  // [-π, π]
    double falseNorthing;
    double falseEasting;
    double deltaEasting;
    double deltaNorthing;
};

}  // namespace Orvale::Geodex
