#pragma once
// The command's names for the library's conversion chain (geodex/Converter.h): the command fills the
// settings from its options and converts each line through one Converter per thread.
#include "geodex/Converter.h"

namespace geodexcli {

using Settings = Orvale::Geodex::ConverterSettings;
using Mode = Orvale::Geodex::ConverterSettings::Operation;

}  // namespace geodexcli
