#pragma once
#include "geodex/Export.h"

namespace Orvale::Geodex {

// An ellipsoid as the catalogues hold it: semi-major axis (metres), flattening f and a code of at most
// three characters.
class GEODEX_EXPORT EllipsoidParam {
public:
    EllipsoidParam();
    EllipsoidParam(double a, double f, char* code);
    EllipsoidParam(const EllipsoidParam& other);
    EllipsoidParam& operator=(const EllipsoidParam& other);
    ~EllipsoidParam();

    double semiMajorAxis() const;  // metres
    double flattening() const;     // flattening f
    const char* ellipsoidCode() const;

    void setSemiMajorAxis(double a);
    void setFlattening(double f);
    void setEllipsoidCode(char* const code);  // keeps at most 3 characters

private:
    void copyCode(const char* code);

    double semiMajorAxis_;
    double flattening_;
    char ellipsoidCode_[4];
};

}  // namespace Orvale::Geodex
