#include "geodex/ParamSeven.h"

namespace Orvale::Geodex {

ParamSeven::ParamSeven() : ParamThree(), rotX(0), rotY(0), rotZ(0), scale(1.0) {}
ParamSeven::ParamSeven(double dx, double dy, double dz, double rx, double ry, double rz, double s)
    : ParamThree(dx, dy, dz), rotX(rx), rotY(ry), rotZ(rz), scale(s) {}

double ParamSeven::GetRotX() const { return rotX; }
double ParamSeven::GetRotY() const { return rotY; }
double ParamSeven::GetRotZ() const { return rotZ; }
double ParamSeven::GetScale() const { return scale; }

}  // namespace Orvale::Geodex
