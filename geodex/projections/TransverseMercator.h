#pragma once
#include "geodex/Export.h"
#include "geodex/projections/CoordinateSystem.h"
#include "geodex/projections/GeodeticCoordinates.h"
#include "geodex/projections/MapProjectionCoordinates.h"

namespace Orvale::Geodex {

class MessageCollector;

// Ellipsoidal transverse Mercator (type code 32): the meridian arc as a series in n = (a − b)/(a + b)
// and power series in the longitude difference up to the eighth order.
class GEODEX_EXPORT TransverseMercator : public CoordinateSystem {
  public:
    // a in metres (> 0), f the flattening (1/f in [250, 350]), central meridian in [-π, 2π] and origin
    // latitude in [-π/2, π/2] (radians), false easting and northing in metres, scale factor in
    // [0.3, 3.0]. Invalid parameters throw CSException with the single line
    // ": a=%f f=%f lat=%f cm=%f scale=%f" (a, 1/f, origin latitude, central meridian as given, scale).
    TransverseMercator(double a, double f, double centralMeridian, double originLatitude, double falseEasting,
                       double falseNorthing, double scaleFactor);

    // Longitude in [CM − π/2, CM + π/2] (radians, taken modulo 2π), latitude within ±89.99° → new heap
    // tuple of type 32 with easting and northing in metres; warning 60 beyond 9° from the central
    // meridian. Throws CSException for a point out of range.
    MapProjectionCoordinates* project(const GeodeticCoordinates& geodetic) const;

    // Easting and northing (metres) inside the window around the false origin → new heap tuple of type
    // 10 (longitude in [-π, π], latitude, height 0, radians); warning 60 when the longitude lies more
    // than 9°·cos φ from the central meridian. Throws CSException for a point out of range.
    GeodeticCoordinates* backProject(const MapProjectionCoordinates& grid) const;

    // The same two conversions on plain doubles, without a tuple and without the distortion warning:
    // longitude, latitude (radians) → easting, northing (metres), and back. Throw like the tuple forms.
    void project(double longitude, double latitude, double& easting, double& northing) const;
    void backProject(double easting, double northing, double& longitude, double& latitude) const;

    // Half-widths (metres, false easting or northing included) of the window that backProject accepts
    // around the false easting and false northing. Construction defers their computation until a
    // back-projection needs them; asking for them computes them.
    double windowEasting() const;
    double windowNorthing() const;

  private:
    friend class UTM;  // projects through projectPoint, without a tuple per point

    // The meridian distance from the equator to latitude phi (radians), metres.
    double meridianArc(double phi) const;
    // The longitude test of project: returns λ brought below π, adds message 44 when out of range.
    double checkedLongitude(double lambda, MessageCollector& errors) const;
    // project without the tuple: easting and northing of (lambda, phi); the warning flag is set when the
    // longitude lies more than 9° from the central meridian. Throws like project.
    void projectPoint(double lambda, double phi, double& easting, double& northing, bool& warning) const;
    // backProject without the tuple: longitude and latitude (radians) of (easting, northing) and the
    // longitude difference from the central meridian that the warning is judged on. Throws like
    // backProject.
    void backProjectPoint(double easting, double northing, double& lambda, double& phi,
                          double& dlambda) const;
    // Whether a back-projected point lies inside the window; decides without computing the window
    // whenever the point lies clearly inside it.
    bool insideEastingWindow(double easting) const;
    bool insideNorthingWindow(double northing) const;
    void computeWindow() const;

    double e2;   // first eccentricity squared
    double ep2;  // second eccentricity squared
    double originLatitude;
    double centralMeridian;  // radians, in [-π, π]
    double falseNorthing;
    double falseEasting;
    double scaleFactor;
    double ap, bp, cp, dp, ep;  // meridian-arc coefficients
    double originArc;           // meridianArc(originLatitude)
    mutable double deltaEasting = 0;
    mutable double deltaNorthing = 0;
    mutable bool windowReady = false;
};

}  // namespace Orvale::Geodex
