#include "geodex/projections/TransverseCylindricalEqualArea.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"
#include "geodex/projections/CoordinateType.h"

namespace Orvale::Geodex {

namespace {
// Easting half-width of the window at k0 = 1, metres: covers the image, whose widest point (the equator
// 90° from the central meridian) lies at a/k0.
const double kHalfWidthAtUnitScale = 6398628.0;
}  // namespace

TransverseCylindricalEqualArea::TransverseCylindricalEqualArea(double a, double f, double centralMeridian,
                                                               double originLatitude, double falseEasting,
                                                               double falseNorthing, double scaleFactor)
    : CoordinateSystem(a, f) {
    MessageCollector errors;
    addEllipsoidChecks(errors, a, f);
    addOriginLatitudeCheck(errors, originLatitude);
    addCentralMeridianCheck(errors, centralMeridian);
    errors.add(outside(scaleFactor, 0.3, 3.0), kMsgScaleFactor);
    errors.throwIfAny();

    this->centralMeridian = storedCentralMeridian(centralMeridian);
    this->originLatitude = originLatitude;
    this->falseEasting = falseEasting;
    this->falseNorthing = falseNorthing;
    k0 = scaleFactor;
    es = eccentricitySquared(f);
    e = std::sqrt(es);
    meridian = MeridianSeries(a, f);
    authalic = AuthalicSeries(es);
    M0 = meridian.distance(originLatitude);
}

// Plane window (metres): eastings shrink with k0, northings stretch with it; the northings run from the
// image of the south pole to that of the north pole, both included. Only the inverse reads it, and an
// object usually converts one point, so it is derived there.
void TransverseCylindricalEqualArea::window(double& deltaEasting, double& minNorthing,
                                            double& maxNorthing) const {
    deltaEasting = kHalfWidthAtUnitScale / k0;
    minNorthing = k0 * (meridian.distance(-kHalfPi) - M0);
    maxNorthing = k0 * (meridian.distance(kHalfPi) - M0);
}

// cos φc/cos βc for φc = φ(βc) (also returned), free of the 0/0 at βc = ±π/2 (the meridians 90° from the
// central meridian, where both cosines vanish). With δ = φc − βc = sin 2βc·g (g the series factor):
//   cos φc/cos βc = cos δ − sin βc·sin δ/cos βc = cos δ − 2 sin²βc·g·(sin δ/δ),
// and |δ| < 0.004, so cos δ and sin δ/δ are exact to rounding with two terms beyond 1.
double TransverseCylindricalEqualArea::cosineRatio(double betac, double& phic) const {
    const double s2 = std::sin(2 * betac);
    const double c2 = std::cos(2 * betac);
    const double g = authalic.factor(s2, c2);
    const double delta = s2 * g;
    phic = betac + delta;
    const double d2 = delta * delta;
    const double cosDelta = 1 - d2 / 2 + d2 * d2 / 24;
    const double sinDeltaOverDelta = 1 - d2 / 6 + d2 * d2 / 120;
    return cosDelta - (1 - c2) * g * sinDeltaOverDelta;  // 2 sin²βc = 1 − cos 2βc
}

MapProjectionCoordinates* TransverseCylindricalEqualArea::project(const GeodeticCoordinates& geodetic) const {
    const double lambda = geodetic.longitude();
    const double phi = geodetic.latitude();
    checkGeodetic(lambda, phi);

    // Beyond 90° from the central meridian (measured the short way round) the far hemisphere folds onto
    // the near one.
    const double dlambda = reduceLongitudeOnce(lambda - centralMeridian);
    MessageCollector warnings;
    warnings.add(std::fabs(dlambda) >= kHalfPi, kMsgDistortionWarning);

    // Authalic latitude β, rotated to the transverse authalic latitude βc, back to the geodetic φc.
    // β = asin((1 − e²)·q(φ)/Qp), evaluated so that it stays exact towards both poles.
    const double beta = authalicLatitude(e, es, phi);
    const double betac = std::atan(std::tan(beta) / std::cos(dlambda));
    double phic = 0;
    const double ratio = cosineRatio(betac, phic);
    const double sinPhic = std::sin(phic);
    const double easting = falseEasting + semiMajorAxis * std::cos(beta) * ratio * std::sin(dlambda) /
                                              (k0 * std::sqrt(1 - es * sinPhic * sinPhic));
    const double northing = falseNorthing + k0 * (meridian.distance(phic) - M0);
    return new MapProjectionCoordinates(CoordinateType::transverseCylindricalEqualArea,
                                        warnings.text().c_str(), easting, northing);
}

GeodeticCoordinates* TransverseCylindricalEqualArea::backProject(
    const MapProjectionCoordinates& projected) const {
    const double E = projected.easting();
    const double N = projected.northing();
    double deltaEasting = 0, minNorthing = 0, maxNorthing = 0;
    window(deltaEasting, minNorthing, maxNorthing);
    MessageCollector errors;
    errors.add(outside(E, falseEasting - deltaEasting, falseEasting + deltaEasting), kMsgEasting);
    errors.add(outside(N, falseNorthing + minNorthing, falseNorthing + maxNorthing), kMsgNorthing);
    errors.throwIfAny();

    const double dx = E - falseEasting;
    const double mu = ((N - falseNorthing) / k0 + M0) / (meridian.c0 * semiMajorAxis);
    const double phi1 = meridian.footpoint(mu);
    const double sinPhi1 = std::sin(phi1);
    // The transverse authalic latitude whose series value is the footpoint: the exact inverse of the
    // forward step φc = φ(βc), so that the easting's factor cos φc/cos βc is met again to rounding
    // (the exact authalic latitude differs by the series error, which the arcsine of B below would
    // magnify near the transverse poles).
    // Clamped: a footpoint that rounding put past a pole would turn cos βc negative and mirror λ.
    const double betac = clampLatitude(authalic.authalicOf(phi1));
    double phic = 0;  // φ(βc), the footpoint again
    const double B = clampUnit(std::sqrt(1 - es * sinPhi1 * sinPhi1) * k0 * dx /
                               (semiMajorAxis * cosineRatio(betac, phic)));
    const double betaPrime = -std::asin(B);
    // β = asin(sin βc·cos β'), with the cosine taken from its complement so the poles keep their digits.
    const double sinBetac = std::sin(betac);
    const double cosBetac = std::cos(betac);
    const double sinBetaPrime = std::sin(betaPrime);
    const double beta =
        std::atan2(sinBetac * std::cos(betaPrime),
                   std::sqrt(cosBetac * cosBetac + sinBetac * sinBetac * sinBetaPrime * sinBetaPrime));
    const double phi = clampLatitude(authalic.latitude(beta));
    const double lambda =
        clampLongitude(reduceLongitudeOnce(centralMeridian - std::atan(std::tan(betaPrime) / cosBetac)));
    return new GeodeticCoordinates(CoordinateType::geodetic, lambda, phi, 0);
}

}  // namespace Orvale::Geodex
