// Ellipsoid and CRS catalogue files through their loaders (first byte picks which), then every record read.
#include <string>

#include "TempFile.h"
#include "geodex/geodex.h"

using namespace Orvale::Geodex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string path = writeScratchFile("fuzz_catalogues", data + 1, size - 1);
    if (data[0] & 1) {
        EllipsoidDB::GetInstance()->LoadEllipsoids(widen(path));
    } else {
        CRSDB* db = CRSDB::GetInstance();
        db->LoadCRSs(widen(path));
        for (const CRS& crs : db->GetCRSs()) {
            CRS copy;
            db->GetCRS(crs.GetName(), copy);
        }
    }
    return 0;
}
