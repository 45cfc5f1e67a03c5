#include "geodex/projections/Bonne.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

namespace {
// Within this of a pole (radians) the back-projected longitude is the central meridian; the point is
// then at most 0.2 mm from where another longitude would put it.
const double kPoleBand = 1e-11;
}  // namespace

Bonne::Bonne(double a, double f, double centralMeridian_, double originLatitude_, double falseEasting_,
             double falseNorthing_)
    : CoordinateSystem(a, f),
      originLatitude(originLatitude_),
      falseEasting(falseEasting_),
      falseNorthing(falseNorthing_),
      sinPhi0(0),
      m1(0),
      M1(0),
      am1sin(0),
      es(eccentricitySquared(f)),
      series(a, f) {
    MessageCollector errors;
    addEllipsoidChecks(errors, a, f);
    addOriginLatitudeCheck(errors, originLatitude_);
    addCentralMeridianCheck(errors, centralMeridian_);
    errors.throwIfAny();

    centralMeridian = storedCentralMeridian(centralMeridian_);
    if (originLatitude != 0) {
        sinPhi0 = std::sin(originLatitude);
        m1 = parallelRadiusFactor(es, originLatitude);
        M1 = series.distance(originLatitude);
        am1sin = sinPhi0 == 0 ? 0 : a * m1 / sinPhi0;
        minEasting = -20027474;
        maxEasting = 20027474;
        deltaNorthing = 20003932;
    } else {
        setWorldEastingWindow(centralMeridian, 20037509, 19926189, minEasting, maxEasting);
        deltaNorthing = 10001966;
        sinusoidal = std::make_unique<Sinusoidal>(a, f, centralMeridian, falseEasting, falseNorthing);
    }
}

Bonne::~Bonne() = default;

MapProjectionCoordinates* Bonne::project(const GeodeticCoordinates& geodetic) const {
    const double lambda = geodetic.longitude();
    const double phi = geodetic.latitude();
    checkGeodetic(lambda, phi);

    if (sinusoidal) return sinusoidal->project(geodetic);

    // The origin at a pole: the pole is the one point of the apex, at the false origin.
    if (phi == originLatitude && std::fabs(phi) == kHalfPi)
        return new MapProjectionCoordinates(CoordinateType::bonne, falseEasting, falseNorthing);

    const double mm = parallelRadiusFactor(es, phi);
    const double rho = am1sin + M1 - series.distance(phi);
    const double Etheta =
        rho == 0 ? 0 : semiMajorAxis * mm * reduceLongitudeOnce(lambda - centralMeridian) / rho;
    const double easting = falseEasting + rho * std::sin(Etheta);
    const double northing = falseNorthing + am1sin - rho * std::cos(Etheta);
    return new MapProjectionCoordinates(CoordinateType::bonne, easting, northing);
}

GeodeticCoordinates* Bonne::backProject(const MapProjectionCoordinates& plane) const {
    const double easting = plane.easting();
    const double northing = plane.northing();
    checkWorldWindow(easting, northing, falseEasting, minEasting, maxEasting, falseNorthing, deltaNorthing);

    if (sinusoidal) return sinusoidal->backProject(plane);

    const double dx = easting - falseEasting;
    const double dy = am1sin - (northing - falseNorthing);
    double rho = std::sqrt(dx * dx + dy * dy);
    if (originLatitude < 0) rho = -rho;

    double phi = series.footpoint((am1sin + M1 - rho) / (series.c0 * semiMajorAxis));
    double lambda;
    if (!(std::fabs(std::fabs(phi) - kHalfPi) < kPoleBand)) {
        const double angle = originLatitude < 0 ? std::atan2(-dx, -dy) : std::atan2(dx, dy);
        lambda = centralMeridian + rho * angle / (semiMajorAxis * parallelRadiusFactor(es, phi));
    } else {
        lambda = centralMeridian;
    }
    phi = clampLatitude(phi);
    lambda = clampLongitude(reduceLongitudeOnce(lambda));
    return new GeodeticCoordinates(CoordinateType::geodetic, lambda, phi, 0);
}

}  // namespace Orvale::Geodex
