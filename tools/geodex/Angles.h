#pragma once
// Angle and number texts of the geodex command.
#include <optional>
#include <string>
#include <string_view>

#include "geodex/AngleConstants.h"

namespace geodexcli {

using Orvale::Geodex::kDegree;
using Orvale::Geodex::kPi;

// A plain number (the whole text must convert), or nothing.
std::optional<double> parseNumber(std::string_view text);

// An angle in degrees: decimal ("-33.5"), or degrees-minutes-seconds written "33:30:15.2",
// "33d30'15.2\"", "33°30'15.2\"" or "33d30m15.2s" (minutes and seconds below 60), with an optional
// leading sign or a hemisphere letter (N, S, E, W; S and W negate) before or after. Nothing when the
// text is not an angle.
std::optional<double> parseDegrees(std::string_view text);

// Appends value with `decimals` digits after the point (no exponent); non-numbers appear as "nan".
void appendFixed(std::string& out, double value, int decimals);

}  // namespace geodexcli
