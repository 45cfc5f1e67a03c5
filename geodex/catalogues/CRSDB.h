#pragma once
#include <string>
#include <vector>

#include "geodex/Export.h"
#include "geodex/catalogues/CRS.h"

namespace Orvale::Geodex {

// The process-wide catalogue of coordinate reference systems, read from a text file of six-line
// "[crs]" records. Ellipsoid names are resolved through EllipsoidDB, which is loaded first.
class GEODEX_EXPORT CRSDB {
  public:
    CRSDB(const CRSDB& other);
    CRSDB& operator=(const CRSDB& other);

    // The one catalogue of the process.
    static CRSDB* GetInstance();

    // Replaces the list with the complete records of the file, in file order. Records whose datum-shift
    // or projection line is short are skipped. Returns false only when the file cannot be opened; the
    // list is then empty.
    bool LoadCRSs(const std::u16string& path);

    // Copies into `out` the first record named exactly `name` (case-sensitive); leaves `out` untouched
    // when there is none.
    void GetCRS(const std::string& name, CRS& out);

    // A copy of all records in file order.
    std::vector<CRS> GetCRSs() const;

  private:
    CRSDB();
    ~CRSDB();

    static CRSDB crsDB;

    std::vector<CRS> crss;
};

}  // namespace Orvale::Geodex
