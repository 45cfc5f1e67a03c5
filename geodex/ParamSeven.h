#pragma once
#include "geodex/ParamThree.h"

namespace Orvale::Geodex {

// Seven-parameter (Bursa-Wolf, coordinate frame) datum shift: translations in metres, rotations in
// radians, scale as a difference (the formula multiplies by 1 + scale).
// The default scale is 1.0, i.e. a factor of 2: producers always set it explicitly.
class GEODEX_EXPORT ParamSeven : public ParamThree {
public:
    ParamSeven();
    ParamSeven(double dx, double dy, double dz, double rx, double ry, double rz, double scale);

    double GetRotX() const;   // radians
    double GetRotY() const;   // radians
    double GetRotZ() const;   // radians
    double GetScale() const;  // scale difference (dimensionless)

    double rotX;
    double rotY;
    double rotZ;
    double scale;
};

}  // namespace Orvale::Geodex
