#include "geodex/projections/GeodeticCoordinates.h"

namespace Orvale::Geodex {

GeodeticCoordinates::GeodeticCoordinates(int type, double lon, double lat, double h)
    : CoordinateTuple(type), longitude_(lon), latitude_(lat), height_(h) {}

GeodeticCoordinates::GeodeticCoordinates(int type, const char* warning, double lon, double lat, double h)
    : CoordinateTuple(type, warning), longitude_(lon), latitude_(lat), height_(h) {}

GeodeticCoordinates::~GeodeticCoordinates() = default;

double GeodeticCoordinates::longitude() const { return longitude_; }
double GeodeticCoordinates::latitude() const { return latitude_; }
double GeodeticCoordinates::height() const { return height_; }
void GeodeticCoordinates::setWarningMessage(const char* text) { setWarning(text); }

}  // namespace Orvale::Geodex
