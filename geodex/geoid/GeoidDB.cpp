#include "geodex/geoid/GeoidDB.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>

#include "geodex/AngleConstants.h"
#include "geodex/geoid/GeoidError.h"
#include "geodex/projections/Checks.h"

namespace Orvale::Geodex {

GeoidDB GeoidDB::instance;

namespace {

// Byte offsets of the GGF header fields; the values start right after the header.
constexpr int kGridNameOffset = 16;
constexpr int kLimitsOffset = 48;   // south, north, west, east: four doubles, degrees
constexpr int kSpacingOffset = 80;  // latitude, longitude: two doubles, degrees
constexpr int kRowCountOffset = 96;
constexpr int kColumnCountOffset = 100;
constexpr int kValueTypeOffset = 141;
constexpr int kHeaderSize = 146;
constexpr unsigned char kHundredthsInt16 = 2;

// The highest index the EGM84 natural-spline and EGM96 variable entry points allow.
constexpr long kEGM84SplineHighestIndex = 702;
constexpr long kEGM96VariableHighestIndex = 1038960;

// Regions where the EGM96 variable model uses its finest grid (721 × 361), degrees:
// latitude from, latitude to, longitude from, longitude to (lower bounds included).
constexpr double highResolutionAreas[53][4] = {
    {74.5, 75.5, 273.5, 280.0},   {66.5, 67.5, 293.5, 295.0},   {62.5, 64.0, 133.0, 136.5},
    {60.5, 61.5, 208.5, 210.0},   {60.5, 61.0, 219.0, 220.5},   {51.0, 53.0, 172.0, 174.5},
    {52.0, 53.0, 192.5, 194.0},   {51.0, 52.0, 188.5, 191.0},   {50.0, 52.0, 178.0, 182.5},
    {43.0, 46.0, 148.0, 153.5},   {43.0, 45.0, 84.0, 89.5},     {40.0, 41.0, 70.5, 72.0},
    {36.5, 37.0, 78.5, 79.0},     {36.0, 37.0, 348.0, 349.5},   {35.0, 36.0, 171.0, 172.5},
    {34.0, 35.0, 140.5, 142.0},   {29.5, 31.0, 78.5, 81.0},     {28.5, 30.0, 81.5, 83.0},
    {26.5, 30.0, 142.0, 143.5},   {26.0, 29.0, 91.5, 96.0},     {27.5, 29.0, 84.0, 86.5},
    {28.0, 29.0, 342.5, 344.0},   {26.5, 28.0, 88.5, 90.0},     {25.0, 26.0, 189.0, 190.5},
    {23.0, 24.0, 195.0, 196.5},   {21.0, 21.5, 204.0, 204.5},   {20.0, 21.0, 283.5, 288.0},
    {18.5, 20.5, 204.0, 205.5},   {18.0, 20.0, 291.0, 296.5},   {17.0, 18.0, 298.0, 299.5},
    {15.0, 16.0, 122.0, 123.5},   {12.0, 14.0, 144.5, 147.0},   {11.0, 12.0, 141.5, 144.0},
    {9.5, 11.5, 125.0, 127.5},    {10.0, 11.0, 286.0, 287.5},   {6.0, 9.5, 287.0, 289.5},
    {5.0, 7.0, 124.0, 128.5},     {-1.0, 1.0, 125.0, 128.5},    {-3.0, -1.5, 281.0, 282.5},
    {-7.0, -5.0, 150.5, 155.0},   {-8.0, -7.0, 107.0, 108.5},   {-9.0, -7.0, 147.0, 149.5},
    {-11.0, -10.0, 161.5, 163.0}, {-14.5, -13.5, 166.0, 167.5}, {-18.5, -17.0, 186.5, 188.0},
    {-20.5, -20.0, 168.0, 169.5}, {-23.0, -20.0, 184.5, 187.0}, {-27.0, -24.0, 288.0, 290.5},
    {-53.0, -52.0, 312.0, 313.5}, {-56.0, -55.0, 333.0, 334.5}, {-61.5, -60.0, 312.5, 317.0},
    {-61.5, -60.5, 300.5, 303.0}, {-73.0, -72.0, 24.5, 26.0},
};

uint32_t littleEndian32(const unsigned char* b) {
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

int32_t readInt32(const unsigned char* b) {
    const uint32_t u = littleEndian32(b);
    int32_t v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

float readFloat(const unsigned char* b) {
    const uint32_t u = littleEndian32(b);
    float v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

double readDouble(const unsigned char* b) {
    const uint64_t u = uint64_t(littleEndian32(b)) | uint64_t(littleEndian32(b + 4)) << 32;
    double v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

// A signed 16-bit value in hundredths of a metre, as metres.
float readHundredths(const unsigned char* b) {
    const int u = b[0] | b[1] << 8;
    const int v = u >= 0x8000 ? u - 0x10000 : u;
    return float(v / 100.0);
}

// Cell weight of the natural-spline interpolator: t²(3 − 2t).
double smoothstep(double t) { return t * t * (3 - 2 * t); }

}  // namespace

struct GeoidDB::Cell {
    double g00, g01, g10, g11;  // northern row west, east; southern row west, east
    double x, y;                // position in the cell: x from west, y from the southern row
};

GeoidDB::GeoidDB()
    : latMin(0),
      latMax(0),
      lonMin(0),
      lonMax(0),
      latSpacing(0),
      lonSpacing(0),
      rowCount(0),
      columnCount(0),
      gridName{},
      valueCount(0) {}

GeoidDB::GeoidDB(const GeoidDB& other) = default;
GeoidDB& GeoidDB::operator=(const GeoidDB& other) = default;

GeoidDB::~GeoidDB() {
    rowCount = 0;
    columnCount = 0;
}

GeoidDB* GeoidDB::getInstance() { return &instance; }

void GeoidDB::LoadGGFFile(const char* path) {
    std::ifstream in;
    if (path) in.open(path, std::ios::binary);
    if (!in.is_open()) throw GeoidError("fail to open ggf file");

    // Whatever happens next, the previous grid is gone.
    grid.clear();
    grid.shrink_to_fit();
    valueCount = 0;

    unsigned char header[kHeaderSize] = {};
    in.read(reinterpret_cast<char*>(header), kHeaderSize);
    const bool headerComplete = in.gcount() == kHeaderSize;

    std::memcpy(gridName, header + kGridNameOffset, sizeof gridName);
    latMin = readDouble(header + kLimitsOffset) * kDegree;
    latMax = readDouble(header + kLimitsOffset + 8) * kDegree;
    lonMin = readDouble(header + kLimitsOffset + 16) * kDegree;
    lonMax = readDouble(header + kLimitsOffset + 24) * kDegree;
    latSpacing = readDouble(header + kSpacingOffset);
    lonSpacing = readDouble(header + kSpacingOffset + 8);
    rowCount = readInt32(header + kRowCountOffset);
    columnCount = readInt32(header + kColumnCountOffset);
    const bool hundredths = header[kValueTypeOffset] == kHundredthsInt16;
    const std::size_t valueSize = hundredths ? 2 : 4;

    // Reject absurd dimensions before allocating anything: both positive, the count representable,
    // and no more values than the file holds after its header.
    const auto fail = [] { throw GeoidError("fail to init ggf"); };
    if (!headerComplete || rowCount <= 0 || columnCount <= 0) fail();
    const uint64_t total = uint64_t(rowCount) * uint64_t(columnCount);
    if (total > std::numeric_limits<uint32_t>::max()) fail();
    in.seekg(0, std::ios::end);
    const std::streamoff end = in.tellg();
    in.seekg(kHeaderSize, std::ios::beg);
    if (end < kHeaderSize || !in || uint64_t(end - kHeaderSize) / valueSize < total) fail();

    std::vector<unsigned char> bytes(total * valueSize);
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    const uint64_t stored = uint64_t(in.gcount()) / valueSize;
    if (stored < total) fail();  // the file shrank or a read failed

    std::vector<float> values(total);
    if (hundredths) {
        for (uint64_t k = 0; k < total; ++k) values[k] = readHundredths(&bytes[2 * k]);
    } else {
        for (uint64_t k = 0; k < total; ++k) values[k] = readFloat(&bytes[4 * k]);
    }
    grid.swap(values);
    valueCount = uint32_t(total);
}

GeoidDB::Cell GeoidDB::cellAt(double longitude, double latitude, int columns, int rows,
                              long highestIndex) const {
    if (grid.empty()) throw GeoidError("no ggf grid loaded");
    MessageCollector checks;
    checks.add(outside(latitude, latMin, latMax), kMsgLatitude);
    checks.add(outside(longitude, lonMin, lonMax), kMsgLongitude);
    if (!checks.empty()) throw GeoidError(checks.text());

    double lambda = longitude * kRadiansToDegrees;
    if (lambda < 0) lambda += 360;
    const double phi = latitude * kRadiansToDegrees;

    // Cell indices are kept as doubles so that absurd spacings or limits give clamped reads, never an
    // out-of-range conversion.
    double i = std::trunc(lambda / lonSpacing);
    if (i + 1 == columns) i = i - 1;
    double j = std::trunc((90 - phi) / latSpacing + 1e-11);
    if (j + 1 == rows) j = j - 1;

    const double highest = double(std::min<long>(highestIndex, long(valueCount) - 1));
    const auto at = [&](double k) -> double {
        if (!(k >= 0)) return grid[0];
        return grid[std::size_t(std::min(k, highest))];
    };
    Cell c;
    c.g00 = at(j * columns + i);
    c.g01 = at(j * columns + i + 1);
    c.g10 = at((j + 1) * columns + i);
    c.g11 = at((j + 1) * columns + i + 1);
    c.x = (lambda - i * lonSpacing) / lonSpacing;
    c.y = (phi - (90 - (j + 1) * latSpacing)) / latSpacing;
    return c;
}

double GeoidDB::bilinearInterpolate(double longitude, double latitude, int columns, int rows,
                                    long highestIndex) const {
    const Cell c = cellAt(longitude, latitude, columns, rows, highestIndex);
    const double x = c.x, y = c.y;
    return (1 - x) * y * c.g00 + x * y * c.g01 + (1 - x) * (1 - y) * c.g10 + x * (1 - y) * c.g11;
}

double GeoidDB::naturalSplineInterpolate(double longitude, double latitude, int columns, int rows,
                                         long highestIndex) const {
    const Cell c = cellAt(longitude, latitude, columns, rows, highestIndex);
    const double x = c.x, y = c.y;
    return smoothstep(1 - x) * smoothstep(y) * c.g00 + smoothstep(x) * smoothstep(y) * c.g01 +
           smoothstep(1 - x) * smoothstep(1 - y) * c.g10 + smoothstep(x) * smoothstep(1 - y) * c.g11;
}

void GeoidDB::variableGrid(double longitude, double latitude, int& columns, int& rows) const {
    double lambda = longitude * kRadiansToDegrees;
    if (lambda < 0) lambda += 360;
    const double phi = latitude * kRadiansToDegrees;
    for (const auto& area : highResolutionAreas) {
        if (area[0] <= phi && phi < area[1] && area[2] <= lambda && lambda < area[3]) {
            columns = 721;
            rows = 361;
            return;
        }
    }
    if (-60 <= phi && phi < 60) {
        columns = 361;
        rows = 181;
    } else {
        columns = 181;
        rows = 91;
    }
}

long GeoidDB::ConvertEllipsoidToGeoidHeight(double latitude, double longitude, double h, double* H) {
    convertEllipsoidToEGM84TenDegBilinearHeight(longitude, latitude, h, H);
    return 0;
}

long GeoidDB::ConvertGeoidToEllipsoidHeight(double latitude, double longitude, double H, double* h) {
    convertEGM84TenDegBilinearToEllipsoidHeight(longitude, latitude, H, h);
    return 0;
}

void GeoidDB::convertEllipsoidToEGM84TenDegBilinearHeight(double longitude, double latitude, double height,
                                                          double* out) {
    const double n =
        bilinearInterpolate(longitude, latitude, columnCount, rowCount, long(rowCount) * columnCount - 1);
    if (out) *out = height - n;
}

void GeoidDB::convertEllipsoidToEGM96FifteenMinBilinearGeoidHeight(double longitude, double latitude,
                                                                   double height, double* out) {
    convertEllipsoidToEGM84TenDegBilinearHeight(longitude, latitude, height, out);
}

void GeoidDB::convertEGM84TenDegBilinearToEllipsoidHeight(double longitude, double latitude, double height,
                                                          double* out) {
    const double n =
        bilinearInterpolate(longitude, latitude, columnCount, rowCount, long(rowCount) * columnCount - 1);
    if (out) *out = height + n;
}

void GeoidDB::convertEGM96FifteenMinBilinearGeoidToEllipsoidHeight(double longitude, double latitude,
                                                                   double height, double* out) {
    convertEGM84TenDegBilinearToEllipsoidHeight(longitude, latitude, height, out);
}

void GeoidDB::convertEllipsoidToEGM84TenDegNaturalSplineHeight(double longitude, double latitude,
                                                               double height, double* out) {
    const double n =
        naturalSplineInterpolate(longitude, latitude, columnCount, rowCount, kEGM84SplineHighestIndex);
    if (out) *out = height - n;
}

void GeoidDB::convertEGM84TenDegNaturalSplineToEllipsoidHeight(double longitude, double latitude,
                                                               double height, double* out) {
    const double n =
        naturalSplineInterpolate(longitude, latitude, columnCount, rowCount, kEGM84SplineHighestIndex);
    if (out) *out = height + n;
}

void GeoidDB::convertEllipsoidToEGM96VariableNaturalSplineHeight(double longitude, double latitude,
                                                                 double height, double* out) {
    int columns = 0, rows = 0;
    variableGrid(longitude, latitude, columns, rows);
    const double n = naturalSplineInterpolate(longitude, latitude, columns, rows, kEGM96VariableHighestIndex);
    if (out) *out = height - n;
}

void GeoidDB::convertEGM96VariableNaturalSplineToEllipsoidHeight(double longitude, double latitude,
                                                                 double height, double* out) {
    int columns = 0, rows = 0;
    variableGrid(longitude, latitude, columns, rows);
    const double n = naturalSplineInterpolate(longitude, latitude, columns, rows, kEGM96VariableHighestIndex);
    if (out) *out = height + n;
}

}  // namespace Orvale::Geodex
