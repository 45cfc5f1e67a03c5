#pragma once
#include "geodex/Export.h"

namespace Orvale::Geodex {

// The parameter slots of a map projection. Which slot a projection method reads is given by the
// transformer's projection dispatch. Angles in radians, lengths in metres.
struct GEODEX_EXPORT ProjectParam {
    ProjectParam();

    double centralMeridian;     // radians (code 37: latitude of the projection centre)
    double originLatitude;      // radians (code 37: longitude of origin)
    double falseEasting;        // metres
    double falseNorthing;       // metres
    double scaleFactor;         // scale factor at the origin
    double standardParallel1;   // radians (also latitude of true scale / pseudo standard parallel)
    double standardParallel2;   // radians
    int zone;                   // UTM zone of grid coordinates given to the inverse
    int zoneOverride;           // UTM zone override (0 = none)
    char hemisphere;            // 'N' or 'S'
    double coneAxisColatitude;  // radians, code 37 only
};

}  // namespace Orvale::Geodex
