#pragma once
#include "geodex/projections/CoordinateTuple.h"

namespace Orvale::Geodex {

// Earth-centred cartesian coordinates, metres.
class GEODEX_EXPORT CartesianCoordinates : public CoordinateTuple {
  public:
    CartesianCoordinates(int coordinateType, double x, double y, double z);
    ~CartesianCoordinates() override;

    double x() const;  // metres
    double y() const;  // metres
    double z() const;  // metres

  private:
    double x_;
    double y_;
    double z_;
};

}  // namespace Orvale::Geodex
