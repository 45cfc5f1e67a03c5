#pragma once
#include "geodex/projections/CoordinateTuple.h"

namespace Orvale::Geodex {

// Plane map coordinates, metres (false easting and northing included).
class GEODEX_EXPORT MapProjectionCoordinates : public CoordinateTuple {
  public:
    MapProjectionCoordinates(int coordinateType, double easting, double northing);
    MapProjectionCoordinates(int coordinateType, const char* warningMessage, double easting, double northing);
    ~MapProjectionCoordinates() override;

    double easting() const;   // metres
    double northing() const;  // metres

  private:
    double easting_;
    double northing_;
};

}  // namespace Orvale::Geodex
