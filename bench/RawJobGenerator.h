#pragma once
// Writes realistic raw survey jobs of any size: a field job near 31.8° N 117.2° E on a transverse Mercator
// grid (central meridian 117° E) of the CGCS2000 ellipsoid, with a seven-parameter datum shift, plane and
// height adjustment, a few base stations and rover points scattered around them, as a controller writes
// them. Used by the benchmarks and by generate_raw_job to make example and test files.
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace rawgen {

struct JobShape {
    int points = 100000;
    int bases = 5;
    std::string version = "V1.0";
    std::string jobName = "Harbour east";
    unsigned seed = 1;
};

inline const char* const kAntennas[] = {"ORV-GX10", "ORV-GX20", "HL-500 Choke Ring", "SP-S3 Pole",
                                        "GENERIC-ZERO"};
inline const char* const kCodes[] = {"kerb", "mh",  "tree", "fence", "lamp",
                                     "bldg", "gnd", "hyd",  "wall",  "ctrl"};

// Appends a formatted piece to out (the "C" locale of a program that never calls setlocale).
template <typename... Args>
void put(std::string& out, const char* format, Args... args) {
    char buffer[512];
    const int n = std::snprintf(buffer, sizeof buffer, format, args...);
    if (n > 0) out.append(buffer, static_cast<std::size_t>(n < 511 ? n : 511));
}

// Calls sink(text) with pieces of the job in order; the pieces together are the whole file.
template <typename Sink>
void generateJob(const JobShape& shape, Sink sink) {
    std::mt19937 random(shape.seed);
    auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const double kRad = 0.017453292519943295;

    std::string out;
    out.reserve(1 << 20);
    put(out, "QZVS,VS  %s\n", shape.version.c_str());
    put(out, "JB,NM%s,DT2024-05-14,TM08:02:11\n", shape.jobName.c_str());
    out += "CS,CO1,ZG,ZN,DNCGCS2000 / 117E\n";
    out += "ES,RD6378137.000,IF298.257222101,EMCGCS2000\n";
    out +=
        "DT,DA1,RD6378137.000,IF298.257222101,OX-0.3921,OY1.1286,OZ-0.7350,LX-12.417,LY58.062,LZ31.538,SP-2."
        "174\n";
    out += "QZAH,AHUS1,ORGX3520000.000,ORGY519000.000,TRSX-0.1523,TRSY0.0871,CA  0.000118,CK  1.0000042\n";
    out += "QZAV,AVUS1,A0  -0.0412,A1  0.85,A2  -1.12,X0  3520000.000,Y0  519000.000\n";
    out += "PJ,TP32,LA0.0,LN2.0420352248333655,HT0.000,N 0.000,E 500000.000,EL0.000,SC1.0,OO0.0,OT0.0\n";
    out += "QZMC,MC  2.0420352248333655\n";
    sink(out);
    out.clear();

    struct Base {
        std::string name;
        double n, e, h, lat, lon, hw, antennaHeight;
        int antenna, method;
    };
    std::vector<Base> bases;
    for (int i = 0; i < shape.bases; ++i) {
        Base b;
        b.name = shape.bases <= 26 ? std::string("BASE-") + static_cast<char>('A' + i)
                                  : "BASE-" + std::to_string(i + 1);
        b.n = 3520000.0 + uniform(-4000, 4000);
        b.e = 519000.0 + uniform(-4000, 4000);
        b.h = uniform(18, 45);
        b.lat = (31.8 + (b.n - 3520000.0) / 110900.0) * kRad;
        b.lon = (117.2 + (b.e - 519000.0) / 94700.0) * kRad;
        b.hw = b.h - 2.9;
        b.antennaHeight = std::round(uniform(1.4, 1.9) * 1000) / 1000;
        b.antenna = pick(4);
        b.method = pick(3);
        bases.push_back(b);
    }

    for (int i = 0; i < shape.points; ++i) {
        const Base& b = bases[static_cast<std::size_t>(pick(static_cast<int>(bases.size())))];
        const double n = b.n + uniform(-2500, 2500);
        const double e = b.e + uniform(-2500, 2500);
        const double h = b.h + uniform(-6, 9);
        const double lat = (31.8 + (n - 3520000.0) / 110900.0) * kRad;
        const double lon = (117.2 + (e - 519000.0) / 94700.0) * kRad;
        const bool fixed = pick(20) != 0;
        const int gps = 7 + pick(6);
        const int glonass = 4 + pick(6);
        const int all = gps + glonass + 5 + pick(10);
        const int duration = 5 + pick(26);
        const int second = (i * 37) % 86400;
        const double hrms = fixed ? uniform(0.004, 0.018) : uniform(0.15, 0.9);
        const double vrms = hrms * uniform(1.4, 2.1);
        char time[32];
        std::snprintf(time, sizeof time, "2024-05-14 %02d:%02d:%02d", 8 + second / 3600 % 10,
                      second / 60 % 60, second % 60);

        put(out, "GS,PNP%05d,N %.4f,E %.4f,EL%.4f,--%s\n", i + 1, n, e, h, kCodes[pick(10)]);
        put(out, "AH,DC0,MA%.3f,ME%d,RA0.000\n", pick(4) == 0 ? 2.0 : 1.8, pick(3));
        put(out, "QZAT,AT  %s\n", kAntennas[pick(4)]);
        put(out, "EP,TM%s,LA%.11f,LN%.11f,HT%.4f,RH%.4f,RV%.4f,DH%.4f,DV%.4f,GM1,CL0\n", time, lat, lon,
            h - 2.9, hrms, vrms, uniform(-0.5, 0.5), uniform(-0.05, 0.05));
        put(out, "QZDP,DOP %.2f,DIF %d\n", uniform(1.1, 2.6), fixed ? 9 : 4 + pick(2));
        put(out, "QZRV,QZTM%s,RVWB%.11f,RVWL%.11f,RVWH%.4f,DRTM%d,EPCH%d,NGPS%d,NGNS%d,NALL%d\n", time, lat,
            lon, h - 2.9, duration, duration, gps, glonass, all);
        put(out,
            "QZBS,BSNM%s,BSN %.4f,BSE %.4f,BSH %.4f,BSWB%.11f,BSWL%.11f,BSWH%.4f,BSAT%s,BSMA%.3f,BSME%d\n",
            b.name.c_str(), b.n, b.e, b.h, b.lat, b.lon, b.hw, kAntennas[b.antenna], b.antennaHeight,
            b.method);
        put(out, "QZAD,CODE%s,ECHT0.000,XP  %.3f,YP  %.3f,HP  %.3f,METHRTK\n", kCodes[pick(10)], hrms * 0.7,
            hrms * 0.7, vrms);
        if (out.size() > (1 << 20) - 4096) {
            sink(out);
            out.clear();
        }
    }
    sink(out);
}

// Writes the job to path; false when the file cannot be written.
inline bool writeJobFile(const JobShape& shape, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = true;
    generateJob(shape, [&](const std::string& piece) {
        if (ok && std::fwrite(piece.data(), 1, piece.size(), file) != piece.size()) ok = false;
    });
    return std::fclose(file) == 0 && ok;
}

}  // namespace rawgen
