#pragma once
// The angle constants of the library, the geodex command and RawBench, named once (radians unless
// the name says otherwise). Header only.

namespace Orvale::Geodex {

constexpr double kPi = 3.141592653589793;                // π
constexpr double kHalfPi = 1.5707963267948966;           // π/2
constexpr double kTwoPi = 6.283185307179586;             // 2π
constexpr double kDegree = 0.017453292519943295;         // one degree in radians, π/180
constexpr double kArcSecond = 4.84813681109536e-6;       // one arc-second in radians, π/648000
constexpr double kRadiansToDegrees = 57.29577951308232;  // degrees in one radian, 180/π

static_assert(kHalfPi == kPi / 2 && kTwoPi == 2 * kPi, "π/2 and 2π are π's halves and doubles");
static_assert(kDegree == kPi / 180 && kArcSecond == kDegree / 3600 && kRadiansToDegrees == 180 / kPi,
              "the degree, the arc-second and their inverse follow from π");

}  // namespace Orvale::Geodex
