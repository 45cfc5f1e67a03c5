#pragma once
#include <cstdint>
#include <vector>

#include "geodex/Export.h"

namespace Orvale::Geodex {

// One global grid of geoid undulations N (metres) read from a GGF file, and the conversions between
// ellipsoidal height h and geoid height H = h − N at a point. Row 0 of the grid is latitude +90°, each
// further row latSpacing degrees further south; column 0 is longitude 0°, each further column
// lonSpacing degrees further east.
//
// Failures all throw GeoidError, which is both a std::runtime_error and a CSException: LoadGGFFile
// with "fail to open ggf file" or "fail to init ggf", a conversion with no grid loaded with "no ggf grid
// loaded", a point outside the header limits with the latitude and longitude messages. The out value
// is written only on success.
class GEODEX_EXPORT GeoidDB {
  public:
    // The one geoid grid of the process.
    static GeoidDB* getInstance();

    // Loads a GGF file, replacing any grid held. A file that does not hold the whole grid its header
    // announces leaves no grid loaded.
    void LoadGGFFile(const char* path);

    // Latitude and longitude in radians within the header limits; heights in metres.
    // H = h − N and h = H + N, bilinear. Both return 0.
    long ConvertEllipsoidToGeoidHeight(double latitude, double longitude, double h, double* H);
    long ConvertGeoidToEllipsoidHeight(double latitude, double longitude, double H, double* h);

    // The EGM entry points take the longitude first (radians), then latitude (radians) and a height
    // (metres). Bilinear ones use the header's grid dimensions.
    void convertEllipsoidToEGM84TenDegBilinearHeight(double longitude, double latitude, double height,
                                                     double* out);
    void convertEllipsoidToEGM96FifteenMinBilinearGeoidHeight(double longitude, double latitude,
                                                              double height, double* out);
    void convertEGM84TenDegBilinearToEllipsoidHeight(double longitude, double latitude, double height,
                                                     double* out);
    void convertEGM96FifteenMinBilinearGeoidToEllipsoidHeight(double longitude, double latitude,
                                                              double height, double* out);
    // Smoothstep (natural spline) cell weights on the header's grid dimensions.
    void convertEllipsoidToEGM84TenDegNaturalSplineHeight(double longitude, double latitude, double height,
                                                          double* out);
    void convertEGM84TenDegNaturalSplineToEllipsoidHeight(double longitude, double latitude, double height,
                                                          double* out);
    // Smoothstep weights on grid dimensions chosen by region (721 × 361 inside the high-resolution
    // areas, 361 × 181 within ±60° of latitude, 181 × 91 elsewhere).
    void convertEllipsoidToEGM96VariableNaturalSplineHeight(double longitude, double latitude, double height,
                                                            double* out);
    void convertEGM96VariableNaturalSplineToEllipsoidHeight(double longitude, double latitude, double height,
                                                            double* out);

  protected:
    GeoidDB();
    GeoidDB(const GeoidDB& other);
    GeoidDB& operator=(const GeoidDB& other);
    ~GeoidDB();

    // Undulation N (metres) at a point (radians) on a grid of the given column and row counts, reading
    // no element beyond highestIndex nor beyond the loaded grid.
    double bilinearInterpolate(double longitude, double latitude, int columns, int rows,
                               long highestIndex) const;
    double naturalSplineInterpolate(double longitude, double latitude, int columns, int rows,
                                    long highestIndex) const;

  private:
    struct Cell;
    Cell cellAt(double longitude, double latitude, int columns, int rows, long highestIndex) const;
    void variableGrid(double longitude, double latitude, int& columns, int& rows) const;

    static GeoidDB instance;

    double latMin, latMax, lonMin, lonMax;  // radians
    double latSpacing, lonSpacing;          // degrees
    int32_t rowCount, columnCount;
    char gridName[32];
    std::vector<float> grid;  // empty when no grid is loaded
    uint32_t valueCount;
};

}  // namespace Orvale::Geodex
