#include "geodex/projections/MapProjectionCoordinates.h"

namespace Orvale::Geodex {

MapProjectionCoordinates::MapProjectionCoordinates(int type, double e, double n)
    : CoordinateTuple(type), easting_(e), northing_(n) {}
MapProjectionCoordinates::MapProjectionCoordinates(int type, const char* warning, double e, double n)
    : CoordinateTuple(type, warning), easting_(e), northing_(n) {}
MapProjectionCoordinates::~MapProjectionCoordinates() = default;

double MapProjectionCoordinates::easting() const { return easting_; }
double MapProjectionCoordinates::northing() const { return northing_; }

}  // namespace Orvale::Geodex
