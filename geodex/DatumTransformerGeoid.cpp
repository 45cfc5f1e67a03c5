// Geoid heights of DatumTransformer: the grid named by geoidFilePath, loaded afresh on every call into
// the process-wide GeoidDB, then interpolated bilinearly.
#include "geodex/DatumTransformer.h"
#include "geodex/geoid/GeoidDB.h"

namespace Orvale::Geodex {

double DatumTransformer::ConvertEllipsoidToGeoidHeight(double latitude, double longitude, double h,
                                                       int /*interpolator*/) {
    try {
        GeoidDB* geoid = GeoidDB::getInstance();
        geoid->LoadGGFFile(geoidFilePath.c_str());
        double H = 0;
        geoid->ConvertEllipsoidToGeoidHeight(latitude, longitude, h, &H);
        return H;
    } catch (...) {  // every GeoidError (load failures, points outside the grid), and allocation failures
        return 0.0;
    }
}

double DatumTransformer::ConvertGeoidToEllipsoidHeight(double latitude, double longitude, double H,
                                                       int /*interpolator*/) {
    try {
        GeoidDB* geoid = GeoidDB::getInstance();
        geoid->LoadGGFFile(geoidFilePath.c_str());
        double h = 0;
        geoid->ConvertGeoidToEllipsoidHeight(latitude, longitude, H, &h);
        return h;
    } catch (...) {
        return 0.0;
    }
}

}  // namespace Orvale::Geodex
