#include "geodex/projections/CartesianCoordinates.h"

namespace Orvale::Geodex {

CartesianCoordinates::CartesianCoordinates(int type, double x, double y, double z)
    : CoordinateTuple(type), x_(x), y_(y), z_(z) {}
CartesianCoordinates::~CartesianCoordinates() = default;

double CartesianCoordinates::x() const { return x_; }
double CartesianCoordinates::y() const { return y_; }
double CartesianCoordinates::z() const { return z_; }

}  // namespace Orvale::Geodex
