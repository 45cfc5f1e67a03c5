#include "geodex/ParamThree.h"

namespace Orvale::Geodex {

ParamThree::ParamThree() : deltaX(0), deltaY(0), deltaZ(0) {}
ParamThree::ParamThree(double dx, double dy, double dz) : deltaX(dx), deltaY(dy), deltaZ(dz) {}

double ParamThree::GetDeltaX() const { return deltaX; }
double ParamThree::GetDeltaY() const { return deltaY; }
double ParamThree::GetDeltaZ() const { return deltaZ; }

}  // namespace Orvale::Geodex
