#pragma once
#include "geodex/Export.h"

namespace Orvale::Geodex {

// Translation of a three-parameter (Molodensky) datum shift, metres.
class GEODEX_EXPORT ParamThree {
public:
    ParamThree();
    ParamThree(double dx, double dy, double dz);

    double GetDeltaX() const;  // metres
    double GetDeltaY() const;  // metres
    double GetDeltaZ() const;  // metres

    double deltaX;
    double deltaY;
    double deltaZ;
};

}  // namespace Orvale::Geodex
