// Prints, per projection case, geocentric case and datum shift, a 64-bit hash of the bit patterns of
// every result over a dense grid, and the count and a hash of the texts of the exceptions thrown. Two
// builds whose outputs are equal compute the same bits; run before and after a refactor and diff.
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "geodex/geodex.h"

using namespace Orvale::Geodex;

namespace {
const double kA = 6378137.0, kF = 1 / 298.257223563, d = 0.017453292519943295;

struct Hash {  // FNV-1a over bytes
    uint64_t h = 1469598103934665603ull;
    void bytes(const void* p, size_t n) {
        for (size_t i = 0; i < n; ++i) h = (h ^ static_cast<const unsigned char*>(p)[i]) * 1099511628211ull;
    }
    void add(double x) { bytes(&x, sizeof x); }
    void add(const std::string& s) { bytes(s.data(), s.size() + 1); }
};

struct Digest {
    Hash values, messages;
    long points = 0, thrown = 0;
    // Runs f; a CSException or standard exception is counted with its text.
    void run(const std::function<void(Hash&)>& f) {
        ++points;
        try {
            f(values);
        } catch (const CSException& e) {
            ++thrown, messages.add(e.getMessage());
        } catch (const std::exception& e) {
            ++thrown, messages.add(std::string("std:") + e.what());
        }
    }
    void print(const std::string& name) const {
        std::printf("%-48s %8ld %016" PRIx64 " thrown %7ld %016" PRIx64 "\n", name.c_str(), points, values.h,
                    thrown, messages.h);
    }
};

// One projection behind plain doubles: forward writes easting, northing and the warning.
struct Case {
    std::string name;
    std::function<void(double lon, double lat, Hash&, double& e, double& n)> fwd;
    std::function<void(double e, double n, Hash&)> inv;
    double fe = 0, fn = 0;
};

template <class P, class... A>
Case make(const std::string& name, double fe, double fn, A... args) {
    std::shared_ptr<P> p;
    try {
        p = std::make_shared<P>(args...);
    } catch (const CSException& e) {
        std::printf("%-48s constructor throws %s", name.c_str(), e.getMessage());
        return {name, nullptr, nullptr};
    }
    return {name,
            [p](double lon, double lat, Hash& h, double& e, double& n) {
                std::unique_ptr<MapProjectionCoordinates> r(p->project(GeodeticCoordinates(10, lon, lat, 0)));
                e = r->easting(), n = r->northing();
                h.add(e), h.add(n), h.add(r->warningMessage()), h.add(r->coordinateType());
            },
            [p](double e, double n, Hash& h) {
                std::unique_ptr<GeodeticCoordinates> r(p->backProject(MapProjectionCoordinates(0, e, n)));
                h.add(r->longitude()), h.add(r->latitude()), h.add(r->height()), h.add(r->warningMessage());
                h.add(r->coordinateType());
            },
            fe, fn};
}

// Latitudes −91°…91° by 1°, longitudes −181°…361° by 2°, and the hard places around the poles, the
// equator and the central meridian; the images are projected back, then a plane grid of ±25 000 km.
void runCase(const Case& c, double cm) {
    if (!c.fwd) return;
    std::vector<double> lats, lons;
    for (int i = -91; i <= 91; ++i) lats.push_back(i * d);
    for (double x : {89.9999, 89.99, 1e-7, 90 - 1e-9}) lats.push_back(x * d), lats.push_back(-x * d);
    lats.push_back(1.5707963267948966), lats.push_back(-1.5707963267948966);
    for (int i = -181; i <= 361; i += 2) lons.push_back(i * d);
    for (double x : {1e-7, 1e-3, 179.9999, 180.0}) lons.push_back((cm + x) * d), lons.push_back((cm - x) * d);
    Digest fwd, back, plane;
    for (double lat : lats)
        for (double lon : lons) {
            double e = NAN, n = NAN;
            fwd.run([&](Hash& h) { c.fwd(lon, lat, h, e, n); });
            if (std::isfinite(e) && std::isfinite(n)) back.run([&](Hash& h) { c.inv(e, n, h); });
        }
    for (int i = -60; i <= 60; ++i)
        for (int j = -60; j <= 60; ++j)
            plane.run([&](Hash& h) { c.inv(c.fe + i * 2.5e7 / 60, c.fn + j * 2.5e7 / 60, h); });
    fwd.print(c.name + " forward");
    back.print(c.name + " back");
    plane.print(c.name + " plane");
}

void projections() {
    using TM = TransverseMercator;
    using TCEA = TransverseCylindricalEqualArea;
    const double k90 = 1.5707963267948966, fe = 2.5e5, fn = -4e5, cm = 17;
    double k = 0;
    std::vector<std::pair<Case, double>> cases = {
        {make<Mercator>("17 merc ts 0.6", 5e5, -1e6, kA, kF, 115 * d, 0.6, 5e5, -1e6, std::ref(k)), 115},
        {make<Mercator>("17 merc ts -1.3", 0, 0, kA, kF, -57 * d, -1.3, 0.0, 0.0, std::ref(k)), -57},
        {make<Mercator>("17 merc 0.5/0.3", 100, 200, kA, kF, 0.5, 0.3, 100.0, 200.0, std::ref(k)), 0.5 / d},
        {make<Mercator>("18 merc k 0.9996", 1e5, 2e5, kA, kF, 17 * d, 1e5, 2e5, 0.9996), 17},
        {make<Mercator>("18 merc k 2.5", 0, 0, kA, kF, -143 * d, 0.0, 0.0, 2.5), -143},
        {make<Mercator>("18 merc k 1", 0, 0, kA, kF, 0.0, 0.0, 0.0, 1.0), 0},
        {make<Cassini>("4 cass 0.7", 3e5, 2e5, kA, kF, 6 * d, 0.7, 3e5, 2e5), 6},
        {make<Cassini>("4 cass -30", 0, 0, kA, kF, -115 * d, -30 * d, 0.0, 0.0), -115},
        {make<Cassini>("4 cass 0.5/0.3", 100, 200, kA, kF, 0.5, 0.3, 100.0, 200.0), 0.5 / d},
        {make<Cassini>("4 cass 0", 0, 0, kA, kF, 0.0, 0.0, 0.0, 0.0), 0},
        {make<CylindricalEqualArea>("5 cea 0.7", 3e5, 2e5, kA, kF, 6 * d, 0.7, 3e5, 2e5), 6},
        {make<CylindricalEqualArea>("5 cea 0", 0, 0, kA, kF, -172 * d, 0.0, 0.0, 0.0), -172},
        {make<CylindricalEqualArea>("5 cea 0.3/0.7", 1e6, -5e5, kA, kF, 0.3, 0.7, 1e6, -5e5), 0.3 / d},
        {make<TCEA>("31 tcea k1", 2e5, 1e6, kA, kF, 30 * d, 0.4, 2e5, 1e6, 1.0), 30},
        {make<TCEA>("31 tcea k2.5", 2e5, 1e6, kA, kF, -170 * d, 0.4, 2e5, 1e6, 2.5), 190},
        {make<TCEA>("31 tcea k0.5", 2e5, 1e6, kA, kF, 0.0, 0.4, 2e5, 1e6, 0.5), 0},
        {make<TCEA>("31 tcea 0.2", 1e5, 2e5, kA, kF, 0.2, 0.4, 1e5, 2e5, 1.0), 0.2 / d},
        {make<PolarStereographic>("26 ps N 71", 1e5, 2e5, kA, kF, -45 * d, 71 * d, 1e5, 2e5), -45},
        {make<PolarStereographic>("26 ps S -71", 0, 0, kA, kF, 200 * d, -71 * d, 0.0, 0.0), 200},
        {make<PolarStereographic>("26 ps N pole", 0, 0, kA, kF, 0.0, k90, 0.0, 0.0), 0},
        {make<PolarStereographic>("27 ps N 0.994", 2e6, 2e6, kA, kF, 0.0, 0.994, 'N', 2e6, 2e6), 0},
        {make<PolarStereographic>("27 ps S 0.994", 2e6, 2e6, kA, kF, 0.0, 0.994, 'S', 2e6, 2e6), 0},
        {make<PolarStereographic>("27 ps N 1.5", 0, 0, kA, kF, 30 * d, 1.5, 'N', 0.0, 0.0), 30},
        {make<PolarStereographic>("27 ps S 0.3", 0, 0, kA, kF, 30 * d, 0.3, 'S', 0.0, 0.0), 30},
        {make<EquidistantCylindrical>("8 eqc 0.6", fe, fn, kA, kF, cm * d, 0.6, fe, fn), cm},
        {make<EquidistantCylindrical>("8 eqc 0.3", 5e5, 0, kA, kF, 0.0, 0.3, 5e5, 0.0), 0},
        {make<EquidistantCylindrical>("8 eqc cm 0.5", 0, 0, kA, kF, 0.5 * d, 0.0, 0.0, 0.0), 0.5},
        {make<EquidistantCylindrical>("8 eqc cm -0.5", 0, 0, kA, kF, -0.5 * d, 0.0, 0.0, 0.0), -0.5},
        {make<MillerCylindrical>("20 mill", fe, fn, kA, kF, cm * d, fe, fn), cm},
        {make<Mollweide>("21 moll", fe, fn, kA, kF, cm * d, fe, fn), cm},
        {make<EckertIV>("6 eck4", fe, fn, kA, kF, cm * d, fe, fn), cm},
        {make<EckertVI>("7 eck6", fe, fn, kA, kF, cm * d, fe, fn), cm},
        {make<Sinusoidal>("29 sinu", fe, fn, kA, kF, cm * d, fe, fn), cm},
        {make<VanDerGrinten>("36 vandg", fe, fn, kA, kF, cm * d, fe, fn), cm},
        {make<VanDerGrinten>("36 vandg 1e7", 1e7, -3e6, kA, kF, 0.0, 1e7, -3e6), 0},
        {make<VanDerGrinten>("36 vandg 0", 0, 0, kA, kF, 0.0, 0.0, 0.0), 0},
        {make<AlbersEqualAreaConic>("0 aea 29.5/45.5", 100, 200, kA, kF, -96 * d, 23 * d, 29.5 * d, 45.5 * d, 100.0, 200.0), -96},
        {make<AlbersEqualAreaConic>("0 aea -20/-50", 0, 0, kA, kF, 270 * d, -10 * d, -20 * d, -50 * d, 0.0, 0.0), -90},
        {make<AlbersEqualAreaConic>("0 aea 50/50", 0, 0, kA, kF, 0.0, 40 * d, 50 * d, 50 * d, 0.0, 0.0), 0},
        {make<AlbersEqualAreaConic>("0 aea 0.5/0.8", 10, 20, kA, kF, 0.0, 0.4, 0.5, 0.8, 10.0, 20.0), 0},
        {make<Bonne>("2 bonne 45", 100, 200, kA, kF, 20 * d, 45 * d, 100.0, 200.0), 20},
        {make<Bonne>("2 bonne -60", 0, 0, kA, kF, -150 * d, -60 * d, 0.0, 0.0), -150},
        {make<Bonne>("2 bonne 89.9999", 0, 0, kA, kF, 0.0, 89.9999 * d, 0.0, 0.0), 0},
        {make<Bonne>("2 bonne 0.7", 10, 20, kA, kF, 0.3, 0.7, 10.0, 20.0), 0.3 / d},
        {make<Bonne>("2 bonne 0", 10, 20, kA, kF, 0.3, 0.0, 10.0, 20.0), 0.3 / d},
        {make<Bonne>("2 bonne pole", 5000, -7000, kA, kF, 0.2, k90, 5000.0, -7000.0), 0.2 / d},
        {make<Bonne>("2 bonne -pole", 5000, -7000, kA, kF, 0.2, -k90, 5000.0, -7000.0), 0.2 / d},
        {make<Polyconic>("28 poly 30", 1000, 2000, kA, kF, 10 * d, 30 * d, 1000.0, 2000.0), 10},
        {make<Polyconic>("28 poly -40", 0, 0, kA, kF, -100 * d, -40 * d, 0.0, 0.0), -100},
        {make<Polyconic>("28 poly 25", 500, 700, kA, kF, 0.3, 25 * d, 500.0, 700.0), 0.3 / d},
        {make<PolarLambertConformalConic>("23 plcc 71/81", 0, 0, kA, kF, -45 * d, 81 * d, 71 * d, 0.0, 0.0), -45},
        {make<PolarLambertConformalConic>("23 plcc 74/-75", 0, 0, kA, kF, 170 * d, -75 * d, 74 * d, 0.0, 0.0), 170},
        {make<PolarLambertConformalConic>("23 plcc 71/80", 100, 200, kA, kF, 0.0, 80 * d, 71 * d, 100.0, 200.0), 0},
        {make<TM>("32 tm 120", 5e5, 0, kA, kF, 120 * d, 0.0, 5e5, 0.0, 0.9996), 120},
        {make<TM>("32 tm 120/34.4", 5e5, 0, kA, kF, 120 * d, 34.4 * d, 5e5, 0.0, 0.9996), 120},
        {make<TM>("32 tm 300", 2e5, 1e6, kA, kF, 300 * d, 0.0, 2e5, 1e6, 0.9999), -60},
        {make<TM>("32 tm 10 k1", 5e5, 0, kA, kF, 10 * d, 0.0, 5e5, 0.0, 1.0), 10},
        {make<Krovak>("37 krovak 45/10", 2e5, 1e6, kA, kF, 45 * d, 10 * d, 0.4, 70 * d, 1.0, 1e6, 2e5), 10},
        {make<Krovak>("37 krovak 55/-5", 2e5, 1e6, kA, kF, 55 * d, -5 * d, 0.3, 80 * d, 0.9996, 1e6, 2e5), -5},
        {make<Krovak>("37 krovak jtsk", 0, 0, 6377397.155, 1 - std::sqrt(1 - 0.006674372230614), 49.5 * d,
                      24.833333333333333 * d, k90 - 1.04216856380474, 1.37008346281555, 0.9999, 0.0, 0.0), 24.83},
        {make<Stereographic>("30 stere 30", 0, 0, kA, kF, 0.0, 30 * d, 0.0, 0.0), 0},
        {make<AzimuthalEquidistant>("1 aeqd 0", 0, 0, kA, kF, 0.0, 0.0, 0.0, 0.0), 0},
        {make<AzimuthalEquidistant>("1 aeqd 0.2/0", 1e5, 2e5, kA, kF, 0.2, 0.0, 1e5, 2e5), 0.2 / d},
        {make<AzimuthalEquidistant>("1 aeqd 0.2/40", 1e5, 2e5, kA, kF, 0.2, 40 * d, 1e5, 2e5), 0.2 / d},
        {make<AzimuthalEquidistant>("1 aeqd 0.2/-70", 1e5, 2e5, kA, kF, 0.2, -70 * d, 1e5, 2e5), 0.2 / d},
        {make<Gnomonic>("13 gnom 0", 0, 0, kA, kF, 0.0, 0.0, 0.0, 0.0), 0},
        {make<Orthographic>("25 ortho 45", 1e7, -5e6, kA, kF, 0.4, 45 * d, 1e7, -5e6), 0.4 / d},
        {make<LambertConformalConic>("15 lcc 40/50 45", 100, 200, kA, kF, 0.0, 45 * d, 40 * d, 50 * d, 100.0, 200.0), 0},
        {make<LambertConformalConic>("15 lcc 10/30 20", 0, 0, kA, kF, 0.0, 20 * d, 10 * d, 30 * d, 0.0, 0.0), 0}};
    const double spherical[][4] = {{30, 30, 5e5, 1e6}, {30, -55, 0, 0}, {30, 0, 0, 0}, {30, 90, 0, 0}, {30, -90, 0, 0},
                                   {1, 40, 3e5, -2e5}, {1, 0, 0, 0},    {1, 90, 0, 0},  {1, -90, 0, 0},
                                   {13, 50, 0, 0},     {13, 0, 1e6, 0}, {13, 90, 0, 0}, {13, -90, 0, 0},
                                   {25, 45, 1e7, -5e6}, {25, 0, 0, 0},  {25, 90, 0, 0}};
    for (const auto& s : spherical) {
        const std::string name = std::to_string(int(s[0])) + " azimuthal " + std::to_string(int(s[1]));
        const double ol = s[1] * d;
        cases.push_back({s[0] == 30   ? make<Stereographic>(name, s[2], s[3], kA, kF, 10 * d, ol, s[2], s[3])
                         : s[0] == 1  ? make<AzimuthalEquidistant>(name, s[2], s[3], kA, kF, 10 * d, ol, s[2], s[3])
                         : s[0] == 13 ? make<Gnomonic>(name, s[2], s[3], kA, kF, 10 * d, ol, s[2], s[3])
                                      : make<Orthographic>(name, s[2], s[3], kA, kF, 10 * d, ol, s[2], s[3]),
                         10});
    }
    const struct { double code, cm, lat0, lat1, lat2, k; } lambert[] = {
        {15, 10, 45, 40, 50, 0}, {15, -20, -35, -30, -60, 0}, {15, 270, 0, 20, 60, 0}, {15, 0, 10, 60, -20, 0},
        {15, 0, 10, 20, 20, 0},  {14, 10, 45, 45, 0, 0.9996},  {14, -170, -65, -65, 0, 1.2}, {14, 0, 0.001, 0.001, 0, 1}};
    for (const auto& l : lambert) {
        const std::string name = "lcc " + std::to_string(int(l.code)) + " " + std::to_string(l.lat0) + " " +
                                 std::to_string(l.lat1) + "/" + std::to_string(l.lat2);
        cases.push_back({l.code == 14 ? make<LambertConformalConic>(name, 1e3, 2e3, kA, kF, l.cm * d, l.lat0 * d, 1e3, 2e3, l.k)
                                      : make<LambertConformalConic>(name, 1e3, 2e3, kA, kF, l.cm * d, l.lat0 * d,
                                                                    l.lat1 * d, l.lat2 * d, 1e3, 2e3),
                         l.cm});
    }
    for (const auto& [c, cm] : cases) runCase(c, cm);

    // UTM: zone and hemisphere travel with the grid coordinates.
    for (int zoneOverride : {0, 31, 60, 1}) {
        const UTM utm(kA, kF, zoneOverride);
        const Case c{"34 utm override " + std::to_string(zoneOverride),
                     [&utm](double lon, double lat, Hash& h, double& e, double& n) {
                         std::unique_ptr<UTMCoordinates> r(utm.project(GeodeticCoordinates(10, lon, lat, 0)));
                         e = r->easting(), n = r->northing();
                         h.add(e), h.add(n), h.add(r->zone()), h.add(r->hemisphere());
                         h.add(r->warningMessage()), h.add(r->coordinateType());
                         if (r->zone() != 31 || r->hemisphere() != 'N') e = NAN;  // back below in zone 31N
                     },
                     [&utm](double e, double n, Hash& h) {
                         for (char hemisphere : {'N', 'S'}) {
                             std::unique_ptr<GeodeticCoordinates> r(
                                 utm.backProject(UTMCoordinates(34, 31, hemisphere, e, n)));
                             h.add(r->longitude()), h.add(r->latitude()), h.add(r->warningMessage());
                         }
                     },
                     5e5, 0};
        runCase(c, 3);
    }
}

// Geocentric both ways: images of a geodetic grid come back; points within 0.1° of the polar axis
// are reported apart, so that a change there shows on its own line.
void geocentric() {
    for (double f : {kF, 1 / 250.0, 1 / 350.0}) {
        const Geocentric g(kA, f);
        Digest fwd, back, axis, cart;
        for (int i = -91 * 4; i <= 91 * 4; ++i)
            for (int j = -181; j <= 361; j += 3)
                for (double h : {-400.0, 0.0, 2500.0, 400000.0}) {
                    double X = NAN, Y = NAN, Z = NAN;
                    fwd.run([&](Hash& hh) {
                        std::unique_ptr<CartesianCoordinates> r(g.toGeocentric(GeodeticCoordinates(10, j * d, i * d / 4, h)));
                        X = r->x(), Y = r->y(), Z = r->z();
                        hh.add(X), hh.add(Y), hh.add(Z), hh.add(r->coordinateType());
                    });
                    if (std::isnan(X)) continue;
                    (std::fabs(i) > 89.9 * 4 ? axis : back).run([&](Hash& hh) {
                        std::unique_ptr<GeodeticCoordinates> r(g.toGeodetic(CartesianCoordinates(9, X, Y, Z), 5, 1e-14));
                        hh.add(r->longitude()), hh.add(r->latitude()), hh.add(r->height());
                    });
                }
        for (int i = -40; i <= 40; ++i)
            for (int j = -40; j <= 40; ++j)
                for (int k = -40; k <= 40; k += 4) {
                    const double X = i * 2e5, Y = j * 2e5, Z = k * 2e5;
                    (i == 0 && j == 0 ? axis : cart).run([&](Hash& hh) {
                        for (int iterations : {5, 1, 0}) {
                            std::unique_ptr<GeodeticCoordinates> r(g.toGeodetic(CartesianCoordinates(9, X, Y, Z), iterations, 1e-14));
                            hh.add(r->longitude()), hh.add(r->latitude()), hh.add(r->height());
                        }
                    });
                }
        const std::string name = "geocentric 1/f " + std::to_string(1 / f);
        fwd.print(name + " forward");
        back.print(name + " back");
        cart.print(name + " cartesian grid");
        axis.print(name + " within 0.1 deg of the axis (may change)");
    }
}

// Datum shifts both ways through the transformer, methods 0 (re-expression), 1 (Bursa) and 2
// (Molodensky), between WGS 84 and Bessel; the polar-axis points apart as above.
void datumShifts() {
    for (int method : {0, 1, 2}) {
        DatumTransformer t;
        t.SetSrcEllipsoid(6377397.155, 1 / 299.1528128);
        t.SetDstEllipsoid(6377397.155, 1 / 299.1528128);
        t.SetTransformMethod(method);
        t.SetTransformParams(-570.8, -85.7, -462.8, 4.998e-6, 1.587e-6, 5.261e-6, 3.56e-6);
        Digest from, to, axis;
        for (int i = -90 * 2; i <= 90 * 2; ++i)
            for (int j = -180; j <= 360; j += 3)
                for (double h : {-100.0, 0.0, 3000.0}) {
                    const double lat = i * d / 2, lon = j * d;
                    Digest& dg = std::abs(i) > 179 ? axis : from;
                    dg.run([&](Hash& hh) {
                        double a = 0, b = 0, c = 0;
                        t.GeodeticShiftFromWGS84(lat, lon, h, a, b, c);
                        hh.add(a), hh.add(b), hh.add(c);
                    });
                    (std::abs(i) > 179 ? axis : to).run([&](Hash& hh) {
                        double a = 0, b = 0, c = 0;
                        t.GeodeticShiftToWGS84(lat, lon, h, a, b, c);
                        hh.add(a), hh.add(b), hh.add(c);
                    });
                }
        const std::string name = "datum shift method " + std::to_string(method);
        from.print(name + " from WGS 84");
        to.print(name + " to WGS 84");
        axis.print(name + " at the poles (may change)");
    }
}
}  // namespace

int main() {
    projections();
    geocentric();
    datumShifts();
}
