// DatumTransformer: projection dispatch and the local ↔ geocentric conversions.
#include <memory>
#include <type_traits>

#include "geodex/DatumTransformer.h"
#include "geodex/projections/CoordinateType.h"
#include "geodex/projections/GeodeticCoordinates.h"
#include "geodex/projections/MapProjectionCoordinates.h"
#include "geodex/projections/UTMCoordinates.h"

// The projection classes, one block per family.
// Transverse Mercator and UTM
#include "geodex/projections/TransverseMercator.h"
#include "geodex/projections/UTM.h"
// Lambert conformal conics
#include "geodex/projections/LambertConformalConic.h"
#include "geodex/projections/PolarLambertConformalConic.h"
// Albers, Bonne and polyconic
#include "geodex/projections/AlbersEqualAreaConic.h"
#include "geodex/projections/Bonne.h"
#include "geodex/projections/Polyconic.h"
// Ellipsoidal cylindrical
#include "geodex/projections/Cassini.h"
#include "geodex/projections/CylindricalEqualArea.h"
#include "geodex/projections/Mercator.h"
#include "geodex/projections/TransverseCylindricalEqualArea.h"
// World projections
#include "geodex/projections/EckertIV.h"
#include "geodex/projections/EckertVI.h"
#include "geodex/projections/EquidistantCylindrical.h"
#include "geodex/projections/MillerCylindrical.h"
#include "geodex/projections/Mollweide.h"
#include "geodex/projections/Sinusoidal.h"
#include "geodex/projections/VanDerGrinten.h"
// Azimuthal
#include "geodex/projections/AzimuthalEquidistant.h"
#include "geodex/projections/Gnomonic.h"
#include "geodex/projections/Orthographic.h"
#include "geodex/projections/PolarStereographic.h"
#include "geodex/projections/Stereographic.h"
// Krovak
#include "geodex/projections/Krovak.h"

namespace Orvale::Geodex {
namespace {

// The dispatch table: builds the projection class that `code` names on the ellipsoid (a, f) from the
// parameter slots of `p`, hands the object to `use` and returns true. A code without a class (3, 9 to
// 12, 16, 19, 22, 24, 33, 35, anything outside 0 to 37) builds nothing and returns false.
// Code 17 writes the scale factor its constructor derives into p.scaleFactor.
template <typename Use>
bool withProjection(int code, double a, double f, ProjectParam& p, Use&& use) {
    const double CM = p.centralMeridian;
    const double OL = p.originLatitude;
    const double FE = p.falseEasting;
    const double FN = p.falseNorthing;
    const double k = p.scaleFactor;
    const double SP1 = p.standardParallel1;
    const double SP2 = p.standardParallel2;
    // clang-format off
    switch (code) {
        // Transverse Mercator and UTM
        case 32: use(TransverseMercator(a, f, CM, OL, FE, FN, k)); return true;
        case 34: use(UTM(a, f, p.zoneOverride)); return true;
        // Lambert conformal conics
        case 14: use(LambertConformalConic(a, f, CM, OL, FE, FN, k)); return true;
        case 15: use(LambertConformalConic(a, f, CM, OL, SP1, SP2, FE, FN)); return true;
        case 23: use(PolarLambertConformalConic(a, f, CM, OL, SP1, FE, FN)); return true;
        // Albers, Bonne and polyconic
        case 0: use(AlbersEqualAreaConic(a, f, CM, OL, SP1, SP2, FE, FN)); return true;
        case 2: use(Bonne(a, f, CM, OL, FE, FN)); return true;
        case 28: use(Polyconic(a, f, CM, OL, FE, FN)); return true;
        // Ellipsoidal cylindrical
        case 4: use(Cassini(a, f, CM, OL, FE, FN)); return true;
        case 5: use(CylindricalEqualArea(a, f, CM, OL, FE, FN)); return true;
        case 17: use(Mercator(a, f, CM, SP1, FE, FN, p.scaleFactor)); return true;
        case 18: use(Mercator(a, f, CM, FE, FN, k)); return true;
        case 31: use(TransverseCylindricalEqualArea(a, f, CM, OL, FE, FN, k)); return true;
        // World projections
        case 6: use(EckertIV(a, f, CM, FE, FN)); return true;
        case 7: use(EckertVI(a, f, CM, FE, FN)); return true;
        case 8: use(EquidistantCylindrical(a, f, CM, SP1, FE, FN)); return true;
        case 20: use(MillerCylindrical(a, f, CM, FE, FN)); return true;
        case 21: use(Mollweide(a, f, CM, FE, FN)); return true;
        case 29: use(Sinusoidal(a, f, CM, FE, FN)); return true;
        case 36: use(VanDerGrinten(a, f, CM, FE, FN)); return true;
        // Azimuthal
        case 1: use(AzimuthalEquidistant(a, f, CM, OL, FE, FN)); return true;
        case 13: use(Gnomonic(a, f, CM, OL, FE, FN)); return true;
        case 25: use(Orthographic(a, f, CM, OL, FE, FN)); return true;
        case 26: use(PolarStereographic(a, f, CM, SP1, FE, FN)); return true;
        case 27: use(PolarStereographic(a, f, CM, k, p.hemisphere, FE, FN)); return true;
        case 30: use(Stereographic(a, f, CM, OL, FE, FN)); return true;
        // Krovak: CM slot = latitude of the projection centre, OL slot = longitude of origin
        case 37: use(Krovak(a, f, CM, OL, p.coneAxisColatitude, SP1, k, FN, FE)); return true;
        default: return false;
    }
    // clang-format on
}

}  // namespace

void DatumTransformer::Projecting(double latitude, double longitude, double height, double& northing,
                                  double& easting, double& heightOut) {
    const GeodeticCoordinates point(CoordinateType::geodetic, longitude, latitude, height);
    withProjection(projectionMethod, dstEllipsoid.a, dstEllipsoid.f, projectParams, [&](auto&& projection) {
        auto* result = projection.project(point);
        const std::unique_ptr<std::remove_pointer_t<decltype(result)>> owner(result);
        northing = result->northing();
        easting = result->easting();
        heightOut = height;
    });
}

void DatumTransformer::BackProjecting(double northing, double easting, double height, double& latitude,
                                      double& longitude, double& heightOut) {
    heightOut = height;
    backProjectPoint(northing, easting, latitude, longitude);
}

bool DatumTransformer::backProjectPoint(double northing, double easting, double& latitude,
                                        double& longitude) {
    const MapProjectionCoordinates grid(CoordinateType::transverseMercator, easting, northing);
    return withProjection(
        projectionMethod, dstEllipsoid.a, dstEllipsoid.f, projectParams, [&](auto&& projection) {
            GeodeticCoordinates* result = nullptr;
            if constexpr (std::is_same_v<std::decay_t<decltype(projection)>, UTM>) {
                // UTM reads grid coordinates of the configured zone and hemisphere.
                result = projection.backProject(UTMCoordinates(CoordinateType::universalTransverseMercator,
                                                               projectParams.zone, projectParams.hemisphere,
                                                               easting, northing));
            } else {
                result = projection.backProject(grid);
            }
            const std::unique_ptr<GeodeticCoordinates> owner(result);
            latitude = result->latitude();
            longitude = result->longitude();
        });
}

// Without a projection class there is no geodetic point to convert: X, Y and Z are left as they were.
void DatumTransformer::LocalToGeocentric(double a, double f, double northing, double easting, double height,
                                         double& X, double& Y, double& Z) {
    double latitude = 0;
    double longitude = 0;
    if (!backProjectPoint(northing, easting, latitude, longitude)) return;
    GeodeticToGeocentric(a, f, longitude, latitude, height, X, Y, Z);
}

void DatumTransformer::GeocentricToLocal(double a, double f, double X, double Y, double Z, double& northing,
                                         double& easting, double& height) {
    double latitude = 0;
    double longitude = 0;
    double h = 0;
    GeocentricToGeodetic(a, f, X, Y, Z, latitude, longitude, h);
    Projecting(latitude, longitude, h, northing, easting, height);
}

}  // namespace Orvale::Geodex
