#include "geodex/projections/ProjectionMessage.h"

namespace Orvale::Geodex {

const char* ProjectionMessage(int n) {
    switch (n) {
        case 19:
            return "Ellipsoid semi-major axis must be greater than zero\n";
        case 20:
            return "Inverse flattening must be between 250 and 350\n";
        case 22:
            return "Origin Latitude (or Standard Parallel or Latitude of True Scale) out of range\n";
        case 24:
            return "Central Meridian out of range\n";
        case 25:
            return "Scale Factor out of range\n";
        case 26:
            return "Invalid Zone\n";
        case 27:
            return "Invalid Zone Override\n";
        case 28:
            return "Invalid 1st Standard Parallel\n";
        case 29:
            return "Invalid 2nd Standard Parallel\n";
        case 30:
            return "1st & 2nd Standard Parallels cannot both be zero\n";
        case 31:
            return "Standard Parallels cannot be equal and opposite latitudes\n";
        case 41:
            return "Invalid Hemisphere\n";
        case 42:
            return "Easting/Northing too far from center of projection\n";
        case 43:
            return "Latitude out of range\n";
        case 44:
            return "Longitude out of range\n";
        case 45:
            return "Easting/X out of range\n";
        case 46:
            return "Northing/Y out of range\n";
        case 47:
            return "Point projects into a circle\n";
        case 60:
            return "Longitude is too far from Central Meridian, distortion may be significant\n";
        default:
            return "";
    }
}

}  // namespace Orvale::Geodex
