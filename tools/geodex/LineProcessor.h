#pragma once
// One input line of the geodex command → one output line. Lines are whitespace- or comma-separated;
// blank lines and lines starting with '#' pass through unchanged; columns after the coordinates are
// carried through unchanged. A line that cannot be converted becomes the marker line "ERROR" so that
// output lines stay aligned with input lines.
#include <string>
#include <string_view>

#include "Conversion.h"

namespace geodexcli {

inline const char* const kErrorMarker = "ERROR";

struct LineFormat {
    bool geodeticIn = true;        // input columns 1-2 are angles (else metres)
    bool geodeticOut = false;      // output columns 1-2 are angles (else metres)
    bool heightRequired = false;   // a third numeric column must be present
    bool heightAlwaysOut = false;  // write a third column even when the input had none
    bool heightColumn = true;      // false: a third column is never taken as a height
    bool lonLatOrder = false;      // geodetic columns are longitude, latitude (grid: easting, northing)
    bool xyzIn = false;            // input columns are earth-centred X Y Z (never swapped)
    bool xyzOut = false;           // output columns are earth-centred X Y Z (never swapped)
    bool radians = false;          // angles in radians instead of decimal degrees
    int linearDecimals = 4;
    int angleDecimals = 10;  // decimals of degrees (radians get 3 more)
};

// Converts line; on failure returns the marker line and describes the reason in *error.
std::string processLine(std::string_view line, Orvale::Geodex::Converter& converter, const LineFormat& format,
                        std::string* error);

}  // namespace geodexcli
