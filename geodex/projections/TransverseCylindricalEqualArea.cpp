#include "geodex/projections/TransverseCylindricalEqualArea.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/CoordinateType.h"

namespace Orvale::Geodex {

namespace {
// Half-width of the image at k0 = 1 (the equator 90° from the central meridian lies at a/k0), metres.
const double kHalfWidthAtUnitScale = 6398628.0;
}  // namespace

TransverseCylindricalEqualArea::TransverseCylindricalEqualArea(double a, double f, double centralMeridian,
                                                               double originLatitude, double falseEasting,
                                                               double falseNorthing, double scaleFactor)
    : CoordinateSystem(a, f) {
    MessageCollector errors;
    addEllipsoidChecks(errors, a, f);
    errors.add(outside(originLatitude, -kHalfPi, kHalfPi), kMsgOriginLatitude);
    errors.add(outside(centralMeridian, -kPi, kTwoPi), kMsgCentralMeridian);
    errors.add(outside(scaleFactor, 0.3, 3.0), kMsgScaleFactor);
    errors.throwIfAny();

    this->centralMeridian = storedCentralMeridian(centralMeridian);
    this->originLatitude = originLatitude;
    this->falseEasting = falseEasting;
    this->falseNorthing = falseNorthing;
    k0 = scaleFactor;
    es = eccentricitySquared(f);
    e = std::sqrt(es);
    oneMinusEs = 1 - es;
    Qp = oneMinusEs * authalicQ(e, es, kHalfPi);
    meridian = MeridianSeries(a, f);
    authalic = AuthalicSeries(es);
    M0 = meridian.distance(originLatitude);

    // Window: eastings shrink with k0, northings stretch with it; the northings run from the image of
    // the south pole to that of the north pole, both included.
    deltaEasting = kHalfWidthAtUnitScale / k0;
    minNorthing = k0 * (meridian.distance(-kHalfPi) - M0);
    maxNorthing = k0 * (meridian.distance(kHalfPi) - M0);
}

MapProjectionCoordinates* TransverseCylindricalEqualArea::project(const GeodeticCoordinates& geodetic) const {
    const double lambda = geodetic.longitude();
    const double phi = geodetic.latitude();
    MessageCollector errors;
    addGeodeticChecks(errors, lambda, phi);
    errors.throwIfAny();

    // Beyond 90° from the central meridian (measured the short way round) the far hemisphere folds onto
    // the near one.
    const double dlambda = reduceLongitudeOnce(lambda - centralMeridian);
    MessageCollector warnings;
    warnings.add(std::fabs(dlambda) >= kHalfPi, kMsgDistortionWarning);

    // Authalic latitude β, rotated to the transverse authalic latitude βc, back to the geodetic φc.
    const double x = phi == kHalfPi ? 1.0 : clampUnit(oneMinusEs * authalicQ(e, es, phi) / Qp);
    const double beta = std::asin(x);
    const double betac = std::atan(std::tan(beta) / std::cos(dlambda));
    const double phic = authalic.latitude(betac);
    const double sinPhic = std::sin(phic);
    const double easting = falseEasting + semiMajorAxis * std::cos(beta) * std::cos(phic) *
                                              std::sin(dlambda) /
                                              (k0 * std::cos(betac) * std::sqrt(1 - es * sinPhic * sinPhic));
    const double northing = falseNorthing + k0 * (meridian.distance(phic) - M0);
    return new MapProjectionCoordinates(CoordinateType::transverseCylindricalEqualArea,
                                        warnings.text().c_str(), easting, northing);
}

GeodeticCoordinates* TransverseCylindricalEqualArea::backProject(
    const MapProjectionCoordinates& projected) const {
    const double E = projected.easting();
    const double N = projected.northing();
    MessageCollector errors;
    errors.add(outside(E, falseEasting - deltaEasting, falseEasting + deltaEasting), kMsgEasting);
    errors.add(outside(N, falseNorthing + minNorthing, falseNorthing + maxNorthing), kMsgNorthing);
    errors.throwIfAny();

    const double dx = E - falseEasting;
    const double mu = ((N - falseNorthing) / k0 + M0) / (meridian.c0 * semiMajorAxis);
    const double phi1 = meridian.footpoint(mu);
    const double sinPhi1 = std::sin(phi1);
    const double betac = std::asin(clampUnit(oneMinusEs * authalicQ(e, es, phi1) / Qp));
    const double B = clampUnit(std::sqrt(1 - es * sinPhi1 * sinPhi1) * k0 * dx * std::cos(betac) /
                               (semiMajorAxis * std::cos(phi1)));
    const double betaPrime = -std::asin(B);
    const double beta = std::asin(std::sin(betac) * std::cos(betaPrime));
    const double phi = clampLatitude(authalic.latitude(beta));
    const double lambda = clampLongitude(
        reduceLongitudeOnce(centralMeridian - std::atan(std::tan(betaPrime) / std::cos(betac))));
    return new GeodeticCoordinates(CoordinateType::geodetic, lambda, phi, 0);
}

}  // namespace Orvale::Geodex
