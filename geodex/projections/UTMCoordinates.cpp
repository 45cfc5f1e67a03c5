#include "geodex/projections/UTMCoordinates.h"

namespace Orvale::Geodex {

UTMCoordinates::UTMCoordinates(int type, int zone, char hemisphere, double e, double n)
    : CoordinateTuple(type), zone_(zone), hemisphere_(hemisphere), easting_(e), northing_(n) {}
UTMCoordinates::~UTMCoordinates() = default;

int UTMCoordinates::zone() const { return zone_; }
char UTMCoordinates::hemisphere() const { return hemisphere_; }
double UTMCoordinates::easting() const { return easting_; }
double UTMCoordinates::northing() const { return northing_; }

}  // namespace Orvale::Geodex
