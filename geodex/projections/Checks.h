#pragma once
// Internal helper (not exported): checks collect their messages, then throw once.
#include <string>

#include "geodex/projections/CSException.h"
#include "geodex/projections/EllipsoidMath.h"
#include "geodex/projections/ProjectionMessage.h"

namespace Orvale::Geodex {

class MessageCollector {
  public:
    // Appends message n when the check failed.
    void add(bool failed, int n) {
        if (failed) text_ += ProjectionMessage(n);
    }
    bool empty() const { return text_.empty(); }
    const std::string& text() const { return text_; }
    // Throws one CSException carrying every collected message, if any.
    void throwIfAny() const {
        if (!text_.empty()) throw CSException(text_.c_str());
    }

  private:
    std::string text_;
};

// Throws a single message at once (checks that come later in an algorithm).
[[noreturn]] inline void throwMessage(int n) { throw CSException(ProjectionMessage(n)); }

// Range tests that treat a non-number as outside every range.
inline bool outside(double v, double lo, double hi) { return !(v >= lo && v <= hi); }

// The checks every projection constructor starts with: a > 0 (message 19), 1/f in [250, 350] (20).
inline void addEllipsoidChecks(MessageCollector& errors, double a, double f) {
    errors.add(!(a > 0), kMsgSemiMajorAxis);
    errors.add(outside(1 / f, 250, 350), kMsgInverseFlattening);
}

// The checks every project() starts with: latitude (radians) in [-π/2, π/2] (message 43), longitude
// (radians) in [-π, 2π] (44).
inline void addGeodeticChecks(MessageCollector& errors, double lambda, double phi) {
    errors.add(outside(phi, -kHalfPi, kHalfPi), kMsgLatitude);
    errors.add(outside(lambda, -kPi, kTwoPi), kMsgLongitude);
}

// Central meridian (radians) in [-π, 2π] (message 24).
inline void addCentralMeridianCheck(MessageCollector& errors, double centralMeridian) {
    errors.add(outside(centralMeridian, -kPi, kTwoPi), kMsgCentralMeridian);
}

// Origin latitude (radians) in [-π/2, π/2] (message 22).
inline void addOriginLatitudeCheck(MessageCollector& errors, double originLatitude) {
    errors.add(outside(originLatitude, -kHalfPi, kHalfPi), kMsgOriginLatitude);
}

// The checks every world map's backProject() starts with: easting within [minEasting, maxEasting] and
// northing within ±deltaNorthing, both taken about the false origin (metres).
inline void addWorldWindowChecks(MessageCollector& errors, double E, double N, double falseEasting,
                                 double minEasting, double maxEasting, double falseNorthing,
                                 double deltaNorthing) {
    errors.add(outside(E, falseEasting + minEasting, falseEasting + maxEasting), kMsgEasting);
    errors.add(outside(N, falseNorthing - deltaNorthing, falseNorthing + deltaNorthing), kMsgNorthing);
}

// The same for a window centred on the false origin: easting within ±deltaEasting, northing within
// ±deltaNorthing (metres).
inline void addCentredWindowChecks(MessageCollector& errors, double E, double N, double falseEasting,
                                   double deltaEasting, double falseNorthing, double deltaNorthing) {
    errors.add(outside(E, falseEasting - deltaEasting, falseEasting + deltaEasting), kMsgEasting);
    errors.add(outside(N, falseNorthing - deltaNorthing, falseNorthing + deltaNorthing), kMsgNorthing);
}

// Easting window (metres, offsets from the false easting) of a world map that spans `full` either side of
// its central meridian: a central meridian east of Greenwich pulls the eastern edge in to `narrowed`, one
// west of it the western edge.
inline void setWorldEastingWindow(double centralMeridian, double full, double narrowed, double& minEasting,
                                  double& maxEasting) {
    if (centralMeridian > 0) {
        minEasting = -full;
        maxEasting = narrowed;
    } else if (centralMeridian < 0) {
        minEasting = -narrowed;
        maxEasting = full;
    } else {
        minEasting = -full;
        maxEasting = full;
    }
}

}  // namespace Orvale::Geodex
