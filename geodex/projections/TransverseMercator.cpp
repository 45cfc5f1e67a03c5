#include "geodex/projections/TransverseMercator.h"

#include <cmath>
#include <cstdio>

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

namespace {
const double kMaxLatitude = 1.570621793869697;         // 89.99°
const double kWarningLongitude = 0.15707963267948966;  // 9°
}  // namespace

TransverseMercator::TransverseMercator(double a, double f, double CM, double phi0, double FE, double FN,
                                       double k)
    : CoordinateSystem(a, f) {
    MessageCollector errors;
    addEllipsoidChecks(errors, a, f);
    addOriginLatitudeCheck(errors, phi0);
    addCentralMeridianCheck(errors, CM);
    errors.add(outside(k, 0.3, 3.0), kMsgScaleFactor);
    if (!errors.empty()) {
        char line[CSException::kMaxLength];
        std::snprintf(line, sizeof line, ": a=%f f=%f lat=%f cm=%f scale=%f", a, 1 / f, phi0, CM, k);
        throw CSException(line);
    }

    originLatitude = phi0;
    centralMeridian = storedCentralMeridian(CM);
    falseNorthing = FN;
    falseEasting = FE;
    scaleFactor = k;
    e2 = eccentricitySquared(f);
    ep2 = 1 / (1 - e2) - 1;

    const double b = a * (1 - f);
    const double n = (a - b) / (a + b);
    const double n2 = n * n;
    const double n3 = n2 * n;
    const double n4 = n3 * n;
    const double n5 = n4 * n;
    ap = a * (1 - n + 5.0 / 4.0 * (n2 - n3) + 81.0 / 64.0 * (n4 - n5));
    bp = 3.0 * a / 2.0 * (n - n2 + 7.0 / 8.0 * (n3 - n4) + 55.0 / 64.0 * n5);
    cp = 15.0 * a / 16.0 * (n2 - n3 + 3.0 / 4.0 * (n4 - n5));
    dp = 35.0 * a / 48.0 * (n3 - n4 + 11.0 / 16.0 * n5);
    ep = 315.0 * a / 512.0 * (n4 - n5);
    // On the equator (the usual origin) the arc is exactly 0 without evaluating its sines.
    originArc = originLatitude == 0 && !std::signbit(originLatitude) ? 0.0 : meridianArc(originLatitude);

    // The back-projection window is the projection of (CM + π/2, 89.99°) and (CM + π/2, 0). Its series
    // waits until a back-projection needs it, but the longitude test those two points pass through
    // (which can fail by rounding for some central meridians) is made now, where it belongs.
    MessageCollector windowErrors;
    checkedLongitude(centralMeridian + kHalfPi, windowErrors);
    windowErrors.throwIfAny();
}

double TransverseMercator::meridianArc(double phi) const {
    return ap * phi - bp * std::sin(2 * phi) + cp * std::sin(4 * phi) - dp * std::sin(6 * phi) +
           ep * std::sin(8 * phi);
}

double TransverseMercator::checkedLongitude(double lambda, MessageCollector& errors) const {
    if (lambda > kPi) lambda -= kTwoPi;
    if (outside(lambda, centralMeridian - kHalfPi, centralMeridian + kHalfPi)) {
        // The same test on longitude and central meridian both taken in [0, 2π).
        const double lambda360 = lambda < 0 ? lambda + kTwoPi : lambda;
        const double cm360 = centralMeridian < 0 ? centralMeridian + kTwoPi : centralMeridian;
        errors.add(outside(lambda360, cm360 - kHalfPi, cm360 + kHalfPi), kMsgLongitude);
    }
    return lambda;
}

void TransverseMercator::projectPoint(double lambda, double phi, double& easting, double& northing,
                                      bool& warning) const {
    MessageCollector errors;
    errors.add(outside(phi, -kMaxLatitude, kMaxLatitude), kMsgLatitude);
    lambda = checkedLongitude(lambda, errors);
    errors.throwIfAny();

    double dlambda = lambda - centralMeridian;
    warning = std::fabs(dlambda) > kWarningLongitude;
    dlambda = reduceLongitudeOnce(dlambda);
    if (std::fabs(dlambda) < 2e-10) dlambda = 0;

    const double a = semiMajorAxis;
    const double k = scaleFactor;
    const double s = std::sin(phi);
    const double c = std::cos(phi);
    const double t = std::tan(phi);
    const double c2 = c * c;
    const double c3 = c2 * c;
    const double c5 = c3 * c2;
    const double c7 = c5 * c2;
    const double t2 = t * t;
    const double t4 = t2 * t2;
    const double t6 = t4 * t2;
    const double eta = ep2 * c2;
    const double eta2 = eta * eta;
    const double eta3 = eta2 * eta;
    const double eta4 = eta3 * eta;
    const double N = a / std::sqrt(1 - e2 * s * s);

    const double T2 = N * s * c * k / 2;
    const double T3 = N * s * c3 * k * (5 - t2 + 9 * eta + 4 * eta2) / 24;
    const double T4 = N * s * c5 * k *
                      (61 - 58 * t2 + t4 + 270 * eta - 330 * t2 * eta + 445 * eta2 + 324 * eta3 -
                       680 * t2 * eta2 + 88 * eta4 - 600 * t2 * eta3 - 192 * t2 * eta4) /
                      720;
    const double T5 = N * s * c7 * k * (1385 - 3111 * t2 + 543 * t4 - t6) / 40320;
    const double T6 = N * c * k;
    const double T7 = N * c3 * k * (1 - t2 + eta) / 6;
    const double T8 = N * c5 * k *
                      (5 - 18 * t2 + t4 + 14 * eta - 58 * t2 * eta + 13 * eta2 + 4 * eta3 - 64 * t2 * eta2 -
                       24 * t2 * eta3) /
                      120;
    const double T9 = N * c7 * k * (61 - 479 * t2 + 179 * t4 - t6) / 5040;

    const double dl2 = dlambda * dlambda;
    const double dl3 = dl2 * dlambda;
    const double dl4 = dl3 * dlambda;
    const double dl5 = dl4 * dlambda;
    const double dl6 = dl5 * dlambda;
    const double dl7 = dl6 * dlambda;
    const double dl8 = dl7 * dlambda;
    northing = falseNorthing + k * (meridianArc(phi) - originArc) + dl2 * T2 + dl4 * T3 + dl6 * T4 + dl8 * T5;
    easting = falseEasting + dlambda * T6 + dl3 * T7 + dl5 * T8 + dl7 * T9;
}

MapProjectionCoordinates* TransverseMercator::project(const GeodeticCoordinates& geodetic) const {
    double easting = 0;
    double northing = 0;
    bool warning = false;
    projectPoint(geodetic.longitude(), geodetic.latitude(), easting, northing, warning);
    return new MapProjectionCoordinates(CoordinateType::transverseMercator,
                                        warning ? ProjectionMessage(kMsgDistortionWarning) : "", easting,
                                        northing);
}

void TransverseMercator::computeWindow() const {
    if (windowReady) return;
    // While the window is being found it must not limit anything; warnings are dropped.
    double easting = 0;
    double northing = 0;
    bool warning = false;
    projectPoint(centralMeridian + kHalfPi, kMaxLatitude, easting, northing, warning);
    deltaNorthing = northing + 1;
    projectPoint(centralMeridian + kHalfPi, 0, easting, northing, warning);
    deltaEasting = easting + 1;
    windowReady = true;
}

double TransverseMercator::windowEasting() const {
    computeWindow();
    return deltaEasting;
}

double TransverseMercator::windowNorthing() const {
    computeWindow();
    return deltaNorthing;
}

// The window easting is FE plus the easting series at a quarter turn from the central meridian on the
// equator (every term positive, the first alone above 1.5·a·k) plus 1 m; the window northing is FN plus
// k times the meridian arc from the origin latitude to 89.99° (above a quadrant less 2e-4·a) plus a
// positive remainder plus 1 m. A point well inside these lower bounds is inside the window whatever
// its exact value; the margins cover every rounding of the series.
bool TransverseMercator::insideEastingWindow(double E) const {
    const double FE = falseEasting;
    const double margin = 1e-9 * (std::fabs(FE) + std::fabs(E) + semiMajorAxis * scaleFactor);
    if (std::fabs(E - FE) + margin <= FE + 1.5 * semiMajorAxis * scaleFactor) return true;
    computeWindow();
    return !outside(E, FE - deltaEasting, FE + deltaEasting);
}

bool TransverseMercator::insideNorthingWindow(double N) const {
    const double FN = falseNorthing;
    const double arc = ap * kHalfPi - 2e-4 * semiMajorAxis - originArc;
    const double margin = 1e-9 * (std::fabs(FN) + std::fabs(N) + 4 * semiMajorAxis * scaleFactor);
    if (std::fabs(N - FN) + margin <= FN + scaleFactor * arc) return true;
    computeWindow();
    return !outside(N, FN - deltaNorthing, FN + deltaNorthing);
}

void TransverseMercator::project(double longitude, double latitude, double& easting, double& northing) const {
    bool warning = false;  // dropped
    projectPoint(longitude, latitude, easting, northing, warning);
}

GeodeticCoordinates* TransverseMercator::backProject(const MapProjectionCoordinates& grid) const {
    double lambda = 0;
    double phi = 0;
    double dlambda = 0;
    backProjectPoint(grid.easting(), grid.northing(), lambda, phi, dlambda);
    const bool warning = std::fabs(dlambda) > kWarningLongitude * std::cos(phi);
    return new GeodeticCoordinates(CoordinateType::geodetic,
                                   warning ? ProjectionMessage(kMsgDistortionWarning) : "", lambda, phi, 0);
}

void TransverseMercator::backProject(double easting, double northing, double& longitude,
                                     double& latitude) const {
    double dlambda = 0;
    backProjectPoint(easting, northing, longitude, latitude, dlambda);
}

void TransverseMercator::backProjectPoint(double E, double Nin, double& lambdaOut, double& phiOut,
                                          double& dlambdaOut) const {
    MessageCollector errors;
    errors.add(!insideEastingWindow(E), kMsgEasting);
    errors.add(!insideNorthingWindow(Nin), kMsgNorthing);
    errors.throwIfAny();

    const double a = semiMajorAxis;
    const double k = scaleFactor;
    const double M = originArc + (Nin - falseNorthing) / k;

    // Footpoint latitude: start from the meridian radius at the equator, then five Newton steps.
    double phif = M / ((1 - e2) * a);
    // Once a step leaves φf unchanged the remaining ones would repeat it exactly, so they are skipped
    // (and its sine is kept for what follows).
    bool fixedPoint = false;
    double sinPhi = 0;
    for (int i = 0; i < 5 && !fixedPoint; ++i) {
        sinPhi = std::sin(phif);
        const double w = 1 - e2 * sinPhi * sinPhi;
        const double r = (1 - e2) * a / (w * std::sqrt(w));
        const double next = phif + (M - meridianArc(phif)) / r;
        fixedPoint = next == phif;
        phif = next;
    }

    const double sinPhif = fixedPoint ? sinPhi : std::sin(phif);
    const double sr = std::sqrt(1 - e2 * sinPhif * sinPhif);
    const double nu = a / sr;
    const double rho = (1 - e2) * a / (sr * sr * sr);
    const double c = std::cos(phif);
    const double t = std::tan(phif);
    const double t2 = t * t;
    const double t4 = t2 * t2;
    const double t6 = t4 * t2;
    const double eta = ep2 * c * c;
    const double eta2 = eta * eta;
    const double eta3 = eta2 * eta;
    const double eta4 = eta3 * eta;

    double de = E - falseEasting;
    if (std::fabs(de) < 0.0001) de = 0;

    const double nu2 = nu * nu;
    const double nu3 = nu2 * nu;
    const double nu5 = nu3 * nu2;
    const double nu7 = nu5 * nu2;
    const double k2 = k * k;
    const double k3 = k2 * k;
    const double k4 = k3 * k;
    const double k5 = k4 * k;
    const double k6 = k5 * k;
    const double k7 = k6 * k;
    const double k8 = k7 * k;

    const double T10 = t / (2 * rho * nu * k2);
    const double T11 = t * (5 + 3 * t2 + eta - 4 * eta2 - 9 * t2 * eta) / (24 * rho * nu3 * k4);
    const double T12 =
        t *
        (61 + 90 * t2 + 46 * eta + 45 * t4 - 252 * t2 * eta - 3 * eta2 + 100 * eta3 - 66 * t2 * eta2 -
         90 * t4 * eta + 88 * eta4 + 225 * t4 * eta2 + 84 * t2 * eta3 - 192 * t2 * eta4) /
        (720 * rho * nu5 * k6);
    const double T13 = t * (1385 + 3633 * t2 + 4095 * t4 + 1575 * t6) / (40320 * rho * nu7 * k8);
    const double T14 = 1 / (nu * c * k);
    const double T15 = (1 + 2 * t2 + eta) / (6 * nu3 * c * k3);
    const double T16 = (5 + 6 * eta + 28 * t2 - 3 * eta2 + 8 * t2 * eta + 24 * t4 - 4 * eta3 + 4 * t2 * eta2 +
                        24 * t2 * eta3) /
                       (120 * nu5 * c * k5);
    const double T17 = (61 + 662 * t2 + 1320 * t4 + 720 * t6) / (5040 * nu7 * c * k7);

    const double de2 = de * de;
    const double de3 = de2 * de;
    const double de4 = de3 * de;
    const double de5 = de4 * de;
    const double de6 = de5 * de;
    const double de7 = de6 * de;
    const double de8 = de7 * de;
    const double phi = phif - de2 * T10 + de4 * T11 - de6 * T12 + de8 * T13;
    const double dlambda = de * T14 - de3 * T15 + de5 * T16 - de7 * T17;
    double lambda = centralMeridian + dlambda;

    if (std::fabs(phi) > kHalfPi) throwMessage(kMsgNorthing);
    if (lambda > kPi) {
        lambda -= kTwoPi;
        if (std::fabs(lambda) > kPi) throwMessage(kMsgEasting);
    } else if (lambda < -kPi) {
        lambda += kTwoPi;
        if (std::fabs(lambda) > kPi) throwMessage(kMsgEasting);
    }
    lambdaOut = lambda;
    phiOut = phi;
    dlambdaOut = dlambda;
}

}  // namespace Orvale::Geodex
