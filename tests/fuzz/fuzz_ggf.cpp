// A GGF geoid file through the loader, then every conversion at points decoded from the input's tail.
#include <stdexcept>

#include "FuzzInput.h"
#include "TempFile.h"
#include "geodex/geodex.h"

using namespace Orvale::Geodex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const double lon = in.value(-3.2, 6.3);
    const double lat = in.value(-1.6, 1.6);
    const std::string path = writeScratchFile("fuzz_ggf", in.rest(), in.restSize());
    GeoidDB* g = GeoidDB::getInstance();
    try {
        g->LoadGGFFile(path.c_str());
    } catch (const std::exception&) {
    }
    double out = 0;
    auto each = [&](auto call) {
        try {
            call();
        } catch (const std::exception&) {
        } catch (const CSException&) {
        }
    };
    each([&] { g->ConvertEllipsoidToGeoidHeight(lat, lon, 10, &out); });
    each([&] { g->ConvertGeoidToEllipsoidHeight(lat, lon, 10, &out); });
    each([&] { g->convertEllipsoidToEGM84TenDegBilinearHeight(lon, lat, 10, &out); });
    each([&] { g->convertEllipsoidToEGM96FifteenMinBilinearGeoidHeight(lon, lat, 10, &out); });
    each([&] { g->convertEGM84TenDegBilinearToEllipsoidHeight(lon, lat, 10, &out); });
    each([&] { g->convertEGM96FifteenMinBilinearGeoidToEllipsoidHeight(lon, lat, 10, &out); });
    each([&] { g->convertEllipsoidToEGM84TenDegNaturalSplineHeight(lon, lat, 10, &out); });
    each([&] { g->convertEGM84TenDegNaturalSplineToEllipsoidHeight(lon, lat, 10, &out); });
    each([&] { g->convertEllipsoidToEGM96VariableNaturalSplineHeight(lon, lat, 10, &out); });
    each([&] { g->convertEGM96VariableNaturalSplineToEllipsoidHeight(lon, lat, 10, &out); });

    DatumTransformer t;
    t.SetGeoidFilePath(path);
    t.ConvertEllipsoidToGeoidHeight(lat, lon, 10, 0);
    t.ConvertGeoidToEllipsoidHeight(lat, lon, 10, 0);
    return 0;
}
