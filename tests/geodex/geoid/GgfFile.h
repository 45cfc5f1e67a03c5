#pragma once
// Writes synthetic geoid grids for the tests and benchmarks: GGF files and GeographicLib .pgm files.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace GgfFile {

struct Header {
    double south = -90, north = 90, west = -180, east = 360;  // degrees
    double latSpacing = 1, lonSpacing = 1;                    // degrees
    int32_t rows = 181, columns = 361;
    bool hundredths = true;  // byte 141 = 2: 16-bit hundredths of a metre; otherwise 32-bit floats
};

inline void putLE(std::string& out, const void* value, std::size_t size) {
    unsigned char bytes[8];
    std::memcpy(bytes, value, size);  // the test machines are little-endian, as the format
    out.append(reinterpret_cast<const char*>(bytes), size);
}

// The header bytes followed by the given values, in hundredths (16-bit) or as floats (metres / 100).
inline std::string ggfBytes(const Header& h, const std::vector<int>& hundredths) {
    std::string out(16, 'G');
    std::string name = "synthetic grid";
    name.resize(32, '\0');
    out += name;
    for (double d : {h.south, h.north, h.west, h.east, h.latSpacing, h.lonSpacing}) putLE(out, &d, 8);
    putLE(out, &h.rows, 4);
    putLE(out, &h.columns, 4);
    out.append(37, '\0');
    out += char(h.hundredths ? 2 : 4);
    out.append(4, '\0');
    for (int v : hundredths) {
        if (h.hundredths) {
            const int16_t s = int16_t(v);
            putLE(out, &s, 2);
        } else {
            const float f = float(v / 100.0);
            putLE(out, &f, 4);
        }
    }
    return out;
}

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A global grid of rows × columns nodes (row 0 at 90° N, column 0 at 0° E, the last column repeating
// the first at 360°), values in hundredths of a metre from a smooth field plus a deterministic
// pseudo-random part, all within ±300 m.
inline std::vector<int> syntheticGrid(int rows, int columns, double spacing) {
    std::vector<int> v(std::size_t(rows) * columns);
    uint32_t state = 12345;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const int cc = c == columns - 1 ? 0 : c;
            state = state * 1664525u + 1013904223u;
            const double lat = (90 - r * spacing) * 0.017453292519943295;
            const double lon = cc * spacing * 0.017453292519943295;
            const double smooth = 8000 * std::sin(2 * lat) * std::cos(3 * lon) + 4000 * std::cos(lon + lat);
            v[std::size_t(r) * columns + c] = int(std::lround(smooth)) + int(state >> 20) - 2048;
        }
    }
    for (int r = 0; r < rows; ++r) v[std::size_t(r) * columns + columns - 1] = v[std::size_t(r) * columns];
    return v;
}

// The same grid as a GeographicLib geoid file (width = columns − 1, unsigned big-endian 16-bit,
// height = offset + scale · raw with offset −327.68 m and scale 0.01 m).
inline void writePgm(const std::string& path, int rows, int columns, const std::vector<int>& hundredths) {
    std::string out = "P5\n# Description synthetic test grid\n# Offset -327.68\n# Scale 0.01\n";
    out += std::to_string(columns - 1) + " " + std::to_string(rows) + "\n65535\n";
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns - 1; ++c) {
            const int raw = hundredths[std::size_t(r) * columns + c] + 32768;
            out += char((raw >> 8) & 0xff);
            out += char(raw & 0xff);
        }
    }
    writeFile(path, out);
}

}  // namespace GgfFile
