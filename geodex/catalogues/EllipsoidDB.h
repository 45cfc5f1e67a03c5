#pragma once
#include <string>
#include <vector>

#include "geodex/Ellipsoid.h"
#include "geodex/Export.h"

namespace Orvale::Geodex {

// The process-wide catalogue of named ellipsoids, read from a text file with one line per ellipsoid:
// "name,semi-major axis in metres,flattening f". Load it before the CRS catalogue, which resolves its
// ellipsoid names here.
class GEODEX_EXPORT EllipsoidDB {
  public:
    EllipsoidDB(const EllipsoidDB& other);
    EllipsoidDB& operator=(const EllipsoidDB& other);

    // The one catalogue of the process.
    static EllipsoidDB* GetInstance();

    // Replaces the list with the lines of the file (every line read becomes a record, empty ones too).
    // Returns false only when the file cannot be opened; the list is then empty.
    bool LoadEllipsoids(const std::u16string& path);

    // A copy of the list, in file order.
    std::vector<Ellipsoid> GetEllipsoids();

    // Writes a (metres) and f of the first ellipsoid named exactly `name` (case-sensitive). An empty
    // catalogue writes 0 to both; a name not in a non-empty catalogue writes nothing.
    void GetEllipsoidParams(const std::string& name, double* a, double* f);

  private:
    EllipsoidDB();
    ~EllipsoidDB();

    static EllipsoidDB edb;

    std::vector<Ellipsoid> ellipsoids;
};

}  // namespace Orvale::Geodex
