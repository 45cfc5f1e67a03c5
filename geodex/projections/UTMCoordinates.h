#pragma once
#include "geodex/projections/CoordinateTuple.h"

namespace Orvale::Geodex {

// UTM grid coordinates: zone 1..60, hemisphere 'N' or 'S', easting and northing in metres.
class GEODEX_EXPORT UTMCoordinates : public CoordinateTuple {
  public:
    UTMCoordinates(int coordinateType, int zone, char hemisphere, double easting, double northing);
    ~UTMCoordinates() override;

    int zone() const;
    char hemisphere() const;
    double easting() const;   // metres
    double northing() const;  // metres

  private:
    int zone_;
    char hemisphere_;
    double easting_;
    double northing_;
};

}  // namespace Orvale::Geodex
