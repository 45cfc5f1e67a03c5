#pragma once

namespace Orvale::Geodex {

// Type code of a coordinate tuple; for projected tuples it is also the projection-method code the
// transformer dispatches on. Codes 3, 11, 12, 16, 19, 22, 24, 33 and 35 have no class.
namespace CoordinateType {
enum : int {
    albersEqualAreaConic = 0,
    azimuthalEquidistant = 1,
    bonne = 2,
    cassini = 4,
    cylindricalEqualArea = 5,
    eckert4 = 6,
    eckert6 = 7,
    equidistantCylindrical = 8,
    geocentric = 9,
    geodetic = 10,
    gnomonic = 13,
    lambertConformalConic1Parallel = 14,
    lambertConformalConic2Parallels = 15,
    mercatorStandardParallel = 17,
    mercatorScaleFactor = 18,
    millerCylindrical = 20,
    mollweide = 21,
    polarLambertConformalConic = 23,
    orthographic = 25,
    polarStereographicStandardParallel = 26,
    polarStereographicScaleFactor = 27,
    polyconic = 28,
    sinusoidal = 29,
    stereographic = 30,
    transverseCylindricalEqualArea = 31,
    transverseMercator = 32,
    universalTransverseMercator = 34,
    vanDerGrinten = 36,
    krovak = 37,
};
}  // namespace CoordinateType

}  // namespace Orvale::Geodex
