#pragma once
// What the transverse Mercator, UTM and transformer projection tests share: the WGS 84 ellipsoid and the
// text of the CSException a call throws.
#include <functional>
#include <string>

#include "geodex/projections/CSException.h"

namespace ProjectionTestSupport {

const double kA = 6378137.0;
const double kF = 1 / 298.257223563;
const double kDeg = 0.017453292519943295;

// Runs f and returns the text of the CSException it throws, or "" when it throws nothing.
inline std::string thrown(const std::function<void()>& f) {
    try {
        f();
    } catch (const Orvale::Geodex::CSException& e) {
        return e.getMessage();
    }
    return "";
}

}  // namespace ProjectionTestSupport
