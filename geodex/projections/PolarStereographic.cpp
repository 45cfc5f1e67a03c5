#include "geodex/projections/PolarStereographic.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/CoordinateType.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

namespace {
// Steps allowed to the fixed-point searches of this projection; both settle in a handful.
const int kMaxSteps = 30;

// sqrt((1 + x)^(1+e) · (1 − x)^(1−e)), evaluated with a single power as sqrt((1 − x²)·((1 + x)/(1 − x))^e).
double conformalFactor(double e, double x) {
    return std::sqrt((1 - x) * (1 + x) * std::pow((1 + x) / (1 - x), e));
}
}  // namespace

PolarStereographic::PolarStereographic(double a, double f, double longitudeDownFromPole,
                                       double latitudeOfTrueScale, double falseEasting, double falseNorthing)
    : CoordinateSystem(a, f),
      typeCode(CoordinateType::polarStereographicStandardParallel),
      falseEasting(falseEasting),
      falseNorthing(falseNorthing) {
    MessageCollector errors;
    addEllipsoidChecks(errors, a, f);
    addOriginLatitudeCheck(errors, latitudeOfTrueScale);
    addCentralMeridianCheck(errors, longitudeDownFromPole);
    errors.throwIfAny();

    e = std::sqrt(eccentricitySquared(f));
    halfE = e / 2;
    twoA = 2 * a;
    setHemisphereAndOrigin(longitudeDownFromPole, latitudeOfTrueScale);
    e4 = conformalFactor(e, e);
    setWindow();
}

PolarStereographic::PolarStereographic(double a, double f, double longitudeDownFromPole, double scaleFactor,
                                       char hemisphere, double falseEasting, double falseNorthing)
    : CoordinateSystem(a, f),
      typeCode(CoordinateType::polarStereographicScaleFactor),
      falseEasting(falseEasting),
      falseNorthing(falseNorthing) {
    MessageCollector errors;
    addEllipsoidChecks(errors, a, f);
    errors.add(outside(scaleFactor, 0.1, 3.0), kMsgScaleFactor);
    addCentralMeridianCheck(errors, longitudeDownFromPole);
    errors.add(hemisphere != 'N' && hemisphere != 'S', kMsgHemisphere);
    errors.throwIfAny();

    e = std::sqrt(eccentricitySquared(f));
    halfE = e / 2;
    twoA = 2 * a;
    e4 = conformalFactor(e, e);

    // A scale factor above 1 has no latitude of true scale, and one up to e4/2 (about 0.5017, the scale
    // at the pole when the equator is the parallel of true scale) would need one on the equator or in the
    // other hemisphere. There the projection is built from the scale factor itself: ρ = 2a·k·t(φ)/e4.
    const auto buildFromScaleFactor = [&] {
        k0 = scaleFactor;
        setHemisphereAndOrigin(longitudeDownFromPole, hemisphere == 'S' ? -kHalfPi : kHalfPi);
        setWindow();
    };
    if (scaleFactor > 1 || scaleFactor < e4 / 2) {
        buildFromScaleFactor();
        return;
    }

    // Sine of the latitude of true scale whose polar scale equals k, by fixed-point steps.
    double s = 2 * scaleFactor - 1;
    if (std::fabs(s) > 1e-15) {
        int budget = kMaxSteps;
        for (;;) {
            const double previous = s;
            s = conformalFactor(e, e * s) * 2 * scaleFactor / e4 - 1;
            --budget;
            if (budget == 0) throwMessage(kMsgOriginLatitude);
            if (std::fabs(s - previous) <= 1e-15) break;
        }
    }
    if (!(s > 0)) {  // k within rounding of e4/2: the equator, whose sign cannot carry the hemisphere
        buildFromScaleFactor();
        return;
    }
    if (outside(s, -1, 1)) throwMessage(kMsgOriginLatitude);
    double phiC = std::asin(s);
    if (hemisphere == 'S') phiC = -phiC;
    setHemisphereAndOrigin(longitudeDownFromPole, phiC);
    setWindow();
}

void PolarStereographic::setHemisphereAndOrigin(double longitude, double phiC) {
    longitude = storedCentralMeridian(longitude);
    southern = phiC < 0;
    latitudeOfTrueScale = std::fabs(phiC);
    longitudeDownFromPole = southern ? -longitude : longitude;
    if (!trueScaleAtPole()) {
        amc = semiMajorAxis * parallelRadiusFactor(e * e, latitudeOfTrueScale);
        tc = isometricT(e, latitudeOfTrueScale);
    }
}

bool PolarStereographic::trueScaleAtPole() const {
    return !(std::fabs(latitudeOfTrueScale - kHalfPi) > 1e-10);
}

// The window is the square around the pole that holds the projected equator, with 1 % to spare.
void PolarStereographic::setWindow() { deltaEasting = deltaNorthing = 1.01 * polarDistance(0); }

// Distance from the pole on the plane of the latitude φ (radians, in the northern form), metres.
double PolarStereographic::polarDistance(double phi) const {
    const double t = isometricT(e, phi);
    return trueScaleAtPole() ? twoA * k0 * t / e4 : amc * t / tc;
}

MapProjectionCoordinates* PolarStereographic::project(const GeodeticCoordinates& geodetic) const {
    return projectToTuple(*this, typeCode, geodetic);
}

void PolarStereographic::project(double lambda, double phi, double& E, double& N) const {
    MessageCollector errors;
    errors.add(outside(phi, -kHalfPi, kHalfPi) || (!southern && phi < 0) || (southern && phi > 0),
               kMsgLatitude);
    errors.add(outside(lambda, -kPi, kTwoPi), kMsgLongitude);
    errors.throwIfAny();

    if (std::fabs(std::fabs(phi) - kHalfPi) < 1e-10) {
        E = falseEasting;
        N = falseNorthing;
        return;
    }

    if (southern) {
        phi = -phi;
        lambda = -lambda;
    }
    const double dlambda = reduceLongitudeOnce(lambda - longitudeDownFromPole);
    const double rho = polarDistance(phi);

    double easting, northing;
    if (southern) {
        easting = falseEasting - rho * std::sin(dlambda);
        northing = falseNorthing + rho * std::cos(dlambda);
    } else {
        easting = falseEasting + rho * std::sin(dlambda);
        northing = falseNorthing - rho * std::cos(dlambda);
    }
    E = easting;
    N = northing;
}

GeodeticCoordinates* PolarStereographic::backProject(const MapProjectionCoordinates& projected) const {
    return backProjectToTuple(*this, projected);
}

void PolarStereographic::backProject(double E, double N, double& longitude, double& latitude) const {
    checkCentredWindow(E, N, falseEasting, deltaEasting, falseNorthing, deltaNorthing);

    double dx = E - falseEasting;
    double dy = N - falseNorthing;
    const double rho = std::sqrt(dx * dx + dy * dy);
    if (rho > std::sqrt(deltaEasting * deltaEasting + deltaNorthing * deltaNorthing))
        throwMessage(kMsgTooFarFromCenter);

    double phi, lambda;
    if (dx == 0 && dy == 0) {
        phi = kHalfPi;
        lambda = longitudeDownFromPole;
    } else {
        if (southern) {
            dx = -dx;
            dy = -dy;
        }
        const double t = trueScaleAtPole() ? rho * e4 / (twoA * k0) : rho * tc / amc;
        phi = kHalfPi - 2 * std::atan(t);
        if (std::fabs(phi) > 1e-10) {
            for (int step = 0; step < kMaxSteps; ++step) {
                const double es = e * std::sin(phi);
                const double next = kHalfPi - 2 * std::atan(t * std::pow((1 - es) / (1 + es), halfE));
                const double change = std::fabs(next - phi);
                phi = next;
                if (change <= 1e-10) break;
            }
        }
        lambda = clampLongitude(reduceLongitudeOnce(std::atan2(dx, -dy) + longitudeDownFromPole));
        phi = clampLatitude(phi);
    }
    if (southern) {
        phi = -phi;
        lambda = -lambda;
    }
    longitude = lambda;
    latitude = phi;
}

}  // namespace Orvale::Geodex
