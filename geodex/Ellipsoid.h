#pragma once
#include <string>

#include "geodex/Export.h"

namespace Orvale::Geodex {

// An ellipsoid by semi-major axis (metres) and flattening f (about 1/298, never 1/f).
// A default-constructed ellipsoid is WGS 84 with an empty name, so no field is ever undefined.
class GEODEX_EXPORT Ellipsoid {
public:
    Ellipsoid();
    Ellipsoid(double a, double f);

    double GetSemiMajorAxis() const;  // metres
    double GetFlattening() const;     // flattening f
    std::string GetName() const;

    void SetSemiMajorAxis(double a);  // metres
    void SetFlantening(double f);     // flattening f (the exported name keeps its historical spelling)
    void SetName(const std::string& name);

    double a;
    double f;
    std::string name;
};

}  // namespace Orvale::Geodex
