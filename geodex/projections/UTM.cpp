#include "geodex/projections/UTM.h"

#include <cmath>
#include <cstdlib>

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

namespace {
const double kMinLatitude = -1.4049900478554351 - 1.75e-7;  // 80.5° S
const double kMaxLatitude = 1.4748032179352084 + 1.75e-7;   // 84.5° N
const double kSouthFalseNorthing = 10000000.0;
}  // namespace

UTM::UTM(double a, double f, int override) : CoordinateSystem(a, f), zoneOverride(override) {
    MessageCollector errors;
    addEllipsoidChecks(errors, a, f);
    errors.add(override < 0 || override > 60, kMsgZoneOverride);
    errors.throwIfAny();
}

UTM::~UTM() = default;

const TransverseMercator& UTM::zoneProjection(int zone) const {
    if (firstZone && firstZoneNumber == zone) return *firstZone;
    std::unique_ptr<TransverseMercator>* other = nullptr;
    if (firstZone) {
        other = &otherZones[zone];
        if (*other) return **other;
    }
    const double cmDegrees = zone < 31 ? 6 * zone + 177 : 6 * zone - 183;
    const double cm = cmDegrees * kDegree;
    if (other == nullptr) {
        firstZone.emplace(semiMajorAxis, flattening, cm, 0, 500000, 0, 0.9996);
        firstZoneNumber = zone;
        return *firstZone;
    }
    *other = std::make_unique<TransverseMercator>(semiMajorAxis, flattening, cm, 0, 500000, 0, 0.9996);
    return **other;
}

UTMCoordinates* UTM::project(const GeodeticCoordinates& geodetic) const {
    int zone = 0;
    char hemisphere = 'N';
    double easting = 0;
    double northing = 0;
    projectPoint(geodetic.longitude(), geodetic.latitude(), zone, hemisphere, easting, northing);
    return new UTMCoordinates(CoordinateType::universalTransverseMercator, zone, hemisphere, easting,
                              northing);
}

void UTM::project(double longitude, double latitude, double& easting, double& northing) const {
    int zone = 0;
    char hemisphere = 'N';
    projectPoint(longitude, latitude, zone, hemisphere, easting, northing);
}

void UTM::projectPoint(double lambda, double phi, int& zoneOut, char& hemisphereOut, double& eastingOut,
                       double& northingOut) const {
    MessageCollector errors;
    errors.add(phi < kMinLatitude || phi >= kMaxLatitude || std::isnan(phi), kMsgLatitude);
    errors.add(outside(lambda, -kPi, kTwoPi), kMsgLongitude);
    errors.throwIfAny();

    if (phi > -1e-9 && phi < 0) phi = 0;
    // The zone is chosen on the longitude taken in [0, 2π], nudged by 1e-10 so that longitudes a hair
    // west of a zone edge count in the zone east of it. The nudge only chooses the zone: the point is
    // projected at its own longitude (projecting the nudged one would move it 0.6 mm east).
    const double zoneLambda = lambda < 0 ? lambda + 6.283185307279586 : lambda;  // 2π + 1e-10
    const double g = zoneLambda * 180 / kPi / 6;
    int zone = static_cast<int>(zoneLambda < kPi ? g + 31 : g - 29);
    if (zone > 60) zone = 1;

    if (zoneOverride != 0) {
        const bool neighbour = zoneOverride == zone || std::abs(zoneOverride - zone) == 1 ||
                               (zone == 1 && zoneOverride == 60) || (zone == 60 && zoneOverride == 1);
        if (!neighbour) throwMessage(kMsgZoneOverride);
        zone = zoneOverride;
    }

    const char hemisphere = phi < 0 ? 'S' : 'N';
    const double falseNorthing = phi < 0 ? kSouthFalseNorthing : 0;
    double easting = 0;
    double northing = 0;
    bool warning = false;  // dropped
    zoneProjection(zone).projectPoint(lambda, phi, easting, northing, warning);
    northing += falseNorthing;

    if (easting < 100000 || easting > 900000) throwMessage(kMsgEasting);
    if (northing < 0 || northing > 10000000) throwMessage(kMsgNorthing);
    zoneOut = zone;
    hemisphereOut = hemisphere;
    eastingOut = easting;
    northingOut = northing;
}

GeodeticCoordinates* UTM::backProject(const UTMCoordinates& grid) const {
    double longitude = 0;
    double latitude = 0;
    backProject(grid.zone(), grid.hemisphere(), grid.easting(), grid.northing(), longitude, latitude);
    return new GeodeticCoordinates(CoordinateType::geodetic, longitude, latitude, 0);
}

void UTM::backProject(int zone, char hemisphere, double E, double N, double& longitude,
                      double& latitude) const {
    MessageCollector errors;
    errors.add(zone < 1 || zone > 60, kMsgZone);
    errors.add(hemisphere != 'S' && hemisphere != 'N', kMsgHemisphere);
    errors.add(outside(E, 100000, 900000), kMsgEasting);
    errors.add(outside(N, 0, 10000000), kMsgNorthing);
    errors.throwIfAny();

    const double falseNorthing = hemisphere == 'S' ? kSouthFalseNorthing : 0;
    double lambda = 0;
    double phi = 0;
    zoneProjection(zone).backProject(E, N - falseNorthing, lambda, phi);
    if (phi < kMinLatitude || phi >= kMaxLatitude) throwMessage(kMsgNorthing);
    longitude = lambda;
    latitude = phi;
}

}  // namespace Orvale::Geodex
