#pragma once
// Internal helper of the catalogue loaders (not exported): opening a catalogue named by a 16-bit path.
#include <fstream>
#include <string>

namespace Orvale::Geodex {

// Opens the file named by a path in 16-bit characters for reading. Returns false when the path cannot
// be expressed as a file name (unpaired surrogates), names a directory, or the file cannot be opened.
bool openCatalogue(const std::u16string& path, std::ifstream& in, std::ios::openmode mode);

}  // namespace Orvale::Geodex
