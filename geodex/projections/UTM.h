#pragma once
#include <map>
#include <memory>
#include <optional>

#include "geodex/Export.h"
#include "geodex/projections/CoordinateSystem.h"
#include "geodex/projections/GeodeticCoordinates.h"
#include "geodex/projections/TransverseMercator.h"
#include "geodex/projections/UTMCoordinates.h"

namespace Orvale::Geodex {

// Universal transverse Mercator (type code 34): one transverse Mercator per six-degree zone (central
// meridian 6°·zone − 183°, false easting 500 000 m, scale 0.9996), zone selection, hemispheres and
// the UTM limits 80.5° S to 84.5° N.
class GEODEX_EXPORT UTM : public CoordinateSystem {
  public:
    // a in metres (> 0), f the flattening (1/f in [250, 350]), zone override 0 (none) or 1 to 60.
    // Throws CSException otherwise. Zone objects are built when a conversion first needs them.
    UTM(double a, double f, int zoneOverride);
    UTM(const UTM&) = delete;
    UTM& operator=(const UTM&) = delete;
    ~UTM();

    // Longitude in [-π, 2π], latitude in [-80.5°, 84.5°] (radians) → new heap tuple of type 34: zone,
    // hemisphere 'N'/'S', easting in [100 000, 900 000] and northing in [0, 10 000 000] metres (southern
    // hemisphere with a false northing of 10 000 000). Never carries a warning.
    UTMCoordinates* project(const GeodeticCoordinates& geodetic) const;

    // Zone 1 to 60, hemisphere 'N' or 'S', easting and northing (metres) → new heap tuple of type 10
    // (longitude in [-π, π], latitude, height 0, radians) with an empty warning.
    GeodeticCoordinates* backProject(const UTMCoordinates& grid) const;

    // The same two conversions on plain doubles, without a tuple: longitude, latitude (radians) →
    // easting, northing (metres) in the zone and hemisphere project would choose (not returned); and
    // zone, hemisphere, easting, northing → longitude, latitude. Throw like the tuple forms.
    void project(double longitude, double latitude, double& easting, double& northing) const;
    void backProject(int zone, char hemisphere, double easting, double northing, double& longitude,
                     double& latitude) const;

    // The transverse Mercator of zone 1 to 60, built on first use.
    const TransverseMercator& zoneProjection(int zone) const;

  private:
    // project without the tuple: the zone and hemisphere chosen and the grid coordinates (metres).
    void projectPoint(double lambda, double phi, int& zone, char& hemisphere, double& easting,
                      double& northing) const;

    int zoneOverride;
    // Zone objects by zone number: the first one asked for lives in place (a UTM built for one point
    // needs no other), any further ones in the map.
    mutable std::optional<TransverseMercator> firstZone;
    mutable int firstZoneNumber = 0;
    mutable std::map<int, std::unique_ptr<TransverseMercator>> otherZones;
};

}  // namespace Orvale::Geodex
