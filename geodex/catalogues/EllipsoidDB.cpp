#include "geodex/catalogues/EllipsoidDB.h"

#include <cstdlib>
#include <fstream>

#include "geodex/catalogues/CatalogueFile.h"

namespace Orvale::Geodex {

EllipsoidDB EllipsoidDB::edb;

EllipsoidDB::EllipsoidDB() = default;
EllipsoidDB::~EllipsoidDB() = default;
EllipsoidDB::EllipsoidDB(const EllipsoidDB& other) = default;
EllipsoidDB& EllipsoidDB::operator=(const EllipsoidDB& other) = default;

EllipsoidDB* EllipsoidDB::GetInstance() { return &edb; }

bool EllipsoidDB::LoadEllipsoids(const std::u16string& path) {
    ellipsoids.clear();
    std::ifstream in;
    // Binary mode: a carriage return before the line feed stays in the line, where the number
    // conversion ignores it.
    if (!openCatalogue(path, in, std::ios::binary)) return false;

    std::string line;
    while (std::getline(in, line)) {
        // A missing comma takes the whole text (npos + 1 wraps to the start), so a line without commas
        // is its own name and gives both numbers from its leading number.
        const std::string::size_type p = line.find(',');
        const std::string name = line.substr(0, p);
        const std::string rest = line.substr(p + 1);
        const std::string::size_type q = rest.find(',');
        // strtod converts like atof (leading number, rest ignored) but is defined for out-of-range text.
        const double a = std::strtod(rest.substr(0, q).c_str(), nullptr);
        const double f = std::strtod(rest.substr(q + 1).c_str(), nullptr);
        Ellipsoid e(a, f);
        e.SetName(name);
        ellipsoids.push_back(e);
    }
    return true;
}

std::vector<Ellipsoid> EllipsoidDB::GetEllipsoids() { return ellipsoids; }

void EllipsoidDB::GetEllipsoidParams(const std::string& name, double* a, double* f) {
    if (ellipsoids.empty()) {
        if (a) *a = 0;
        if (f) *f = 0;
        return;
    }
    for (const Ellipsoid& e : ellipsoids) {
        if (e.name == name) {
            if (a) *a = e.a;
            if (f) *f = e.f;
            return;
        }
    }
}

}  // namespace Orvale::Geodex
