#pragma once
#include "geodex/projections/CoordinateTuple.h"

namespace Orvale::Geodex {

// Longitude and latitude in radians, height in metres above the ellipsoid.
class GEODEX_EXPORT GeodeticCoordinates : public CoordinateTuple {
  public:
    GeodeticCoordinates(int coordinateType, double longitude, double latitude, double height);
    GeodeticCoordinates(int coordinateType, const char* warningMessage, double longitude, double latitude,
                        double height);
    ~GeodeticCoordinates() override;

    double longitude() const;  // radians
    double latitude() const;   // radians
    double height() const;     // metres
    void setWarningMessage(const char* text);

  private:
    double longitude_;
    double latitude_;
    double height_;
};

}  // namespace Orvale::Geodex
