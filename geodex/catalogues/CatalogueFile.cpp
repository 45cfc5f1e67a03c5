#include "geodex/catalogues/CatalogueFile.h"

#include <filesystem>

namespace Orvale::Geodex {

bool openCatalogue(const std::u16string& path, std::ifstream& in, std::ios::openmode mode) {
    try {
        const std::filesystem::path name(path);
        std::error_code ec;
        if (std::filesystem::is_directory(name, ec)) return false;
        in.open(name, mode | std::ios::in);
    } catch (const std::exception&) {
        return false;
    }
    return in.is_open();
}

}  // namespace Orvale::Geodex
