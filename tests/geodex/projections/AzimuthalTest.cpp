// Azimuthal projections: polar stereographic (26, 27), stereographic (30), azimuthal equidistant (1),
// gnomonic (13) and orthographic (25).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "ProjPipeline.h"
#include "geodex/geodex.h"
#include "geodex/projections/EllipsoidMath.h"

using namespace Orvale::Geodex;

namespace {
const double kA = 6378137.0;
const double kF = 1 / 298.257223563;
const double kDeg = kPi / 180;
const double kRa = authalicRadius(kA, kF);

struct Plane {
    double e, n;
};
struct Geo {
    double lon, lat;
};

// One handle on the projection classes, which share no base beyond the ellipsoid.
struct AnyProjection {
    std::function<Plane(double lon, double lat)> fwd;
    std::function<Geo(double e, double n)> inv;
};

template <class P>
AnyProjection wrap(std::shared_ptr<P> p) {
    return {[p](double lon, double lat) {
                std::unique_ptr<MapProjectionCoordinates> r(p->project(GeodeticCoordinates(10, lon, lat, 0)));
                return Plane{r->easting(), r->northing()};
            },
            [p](double e, double n) {
                std::unique_ptr<GeodeticCoordinates> r(p->backProject(MapProjectionCoordinates(0, e, n)));
                EXPECT_EQ(r->coordinateType(), 10);
                EXPECT_EQ(r->height(), 0);
                return Geo{r->longitude(), r->latitude()};
            }};
}

template <class P, class... Args>
AnyProjection make(Args... args) {
    return wrap(std::make_shared<P>(args...));
}

// The text a call throws, or a marker when it throws nothing.
std::string thrownText(const std::function<void()>& call) {
    try {
        call();
    } catch (const CSException& e) {
        return e.getMessage();
    }
    return "(nothing thrown)";
}

// Angular distance between two points on the sphere, small-angle form, radians.
double separation(Geo a, Geo b) {
    double dlon = std::remainder(a.lon - b.lon, 2 * kPi);
    return std::hypot(a.lat - b.lat, dlon * std::cos(b.lat));
}

std::string sphere() {
    char text[64];
    std::snprintf(text, sizeof text, " +R=%.10f", kRa);
    return text;
}
const std::string kWgs84 = " +a=6378137 +rf=298.257223563";

// One configuration of one code, with the PROJ definition of the same projection and the tolerances
// that its comparison and round trip must meet.
struct Config {
    const char* name;
    std::function<AnyProjection()> build;
    std::string proj;
    double latMin, latMax;    // domain, degrees
    double cm;                // central meridian or longitude down from pole, degrees
    double forwardTolerance;  // metres per 10 000 km from the false origin
    // Radians, for the round trip and for the inverse of PROJ's forward. The orthographic inverse takes
    // asin(ρ/Ra), which leaves about 2e-9 rad at the horizon.
    double inverseTolerance;
};

std::vector<Config> configs() {
    const double cm = 10 * kDeg;
    return {
        {"26 north, true scale 71",
         [] { return make<PolarStereographic>(kA, kF, -45 * kDeg, 71 * kDeg, 1e5, 2e5); },
         "+proj=stere +lat_0=90 +lat_ts=71 +lon_0=-45 +x_0=100000 +y_0=200000" + kWgs84, 0, 90, -45, 1e-6,
         1e-11},
        {"26 south, true scale -71",
         [] { return make<PolarStereographic>(kA, kF, 200 * kDeg, -71 * kDeg, 0, 0); },
         "+proj=stere +lat_0=-90 +lat_ts=-71 +lon_0=200" + kWgs84, -90, 0, -160, 1e-6, 1e-11},
        {"26 north, true scale at pole", [] { return make<PolarStereographic>(kA, kF, 0.0, kHalfPi, 0, 0); },
         "+proj=stere +lat_0=90 +lat_ts=90 +lon_0=0" + kWgs84, 0, 90, 0, 1e-6, 1e-11},
        {"27 north, k 0.994 (UPS)",
         [] { return make<PolarStereographic>(kA, kF, 0.0, 0.994, 'N', 2e6, 2e6); },
         "+proj=stere +lat_0=90 +k_0=0.994 +lon_0=0 +x_0=2000000 +y_0=2000000" + kWgs84, 0, 90, 0, 1e-6,
         1e-11},
        {"27 south, k 0.994 (UPS)",
         [] { return make<PolarStereographic>(kA, kF, 0.0, 0.994, 'S', 2e6, 2e6); },
         "+proj=stere +lat_0=-90 +k_0=0.994 +lon_0=0 +x_0=2000000 +y_0=2000000" + kWgs84, -90, 0, 0, 1e-6,
         1e-11},
        {"27 north, k 1.5", [] { return make<PolarStereographic>(kA, kF, 30 * kDeg, 1.5, 'N', 0, 0); },
         "+proj=stere +lat_0=90 +k_0=1.5 +lon_0=30" + kWgs84, 0, 90, 30, 1e-6, 1e-11},
        {"27 south, k 0.3", [] { return make<PolarStereographic>(kA, kF, 30 * kDeg, 0.3, 'S', 0, 0); },
         "+proj=stere +lat_0=-90 +k_0=0.3 +lon_0=30" + kWgs84, -90, 0, 30, 1e-6, 1e-11},
        {"30 oblique 30", [cm] { return make<Stereographic>(kA, kF, cm, 30 * kDeg, 5e5, 1e6); },
         "+proj=stere +lat_0=30 +lon_0=10 +x_0=500000 +y_0=1000000" + sphere(), -90, 90, 10, 1e-6, 1e-11},
        {"30 oblique -55", [cm] { return make<Stereographic>(kA, kF, cm, -55 * kDeg, 0, 0); },
         "+proj=stere +lat_0=-55 +lon_0=10" + sphere(), -90, 90, 10, 1e-6, 1e-11},
        {"30 equatorial", [cm] { return make<Stereographic>(kA, kF, cm, 0.0, 0, 0); },
         "+proj=stere +lat_0=0 +lon_0=10" + sphere(), -90, 90, 10, 1e-6, 1e-11},
        {"30 north polar", [cm] { return make<Stereographic>(kA, kF, cm, kHalfPi, 0, 0); },
         "+proj=stere +lat_0=90 +lon_0=10" + sphere(), -89, 90, 10, 1e-6, 1e-11},
        {"30 south polar", [cm] { return make<Stereographic>(kA, kF, cm, -kHalfPi, 0, 0); },
         "+proj=stere +lat_0=-90 +lon_0=10" + sphere(), -90, 89, 10, 1e-6, 1e-11},
        {"1 oblique 40", [cm] { return make<AzimuthalEquidistant>(kA, kF, cm, 40 * kDeg, 3e5, -2e5); },
         "+proj=aeqd +lat_0=40 +lon_0=10 +x_0=300000 +y_0=-200000" + sphere(), -90, 90, 10, 1e-6, 1e-11},
        {"1 equatorial", [cm] { return make<AzimuthalEquidistant>(kA, kF, cm, 0.0, 0, 0); },
         "+proj=aeqd +lat_0=0 +lon_0=10" + sphere(), -90, 90, 10, 1e-6, 1e-11},
        {"1 north polar", [cm] { return make<AzimuthalEquidistant>(kA, kF, cm, kHalfPi, 0, 0); },
         "+proj=aeqd +lat_0=90 +lon_0=10" + sphere(), -89, 90, 10, 1e-6, 1e-11},
        {"1 south polar", [cm] { return make<AzimuthalEquidistant>(kA, kF, cm, -kHalfPi, 0, 0); },
         "+proj=aeqd +lat_0=-90 +lon_0=10" + sphere(), -90, 89, 10, 1e-6, 1e-11},
        {"13 oblique 50", [cm] { return make<Gnomonic>(kA, kF, cm, 50 * kDeg, 0, 0); },
         "+proj=gnom +lat_0=50 +lon_0=10" + sphere(), -90, 90, 10, 1e-6, 1e-11},
        {"13 equatorial", [cm] { return make<Gnomonic>(kA, kF, cm, 0.0, 1e6, 0); },
         "+proj=gnom +lat_0=0 +lon_0=10 +x_0=1000000" + sphere(), -90, 90, 10, 1e-6, 1e-11},
        {"13 north polar", [cm] { return make<Gnomonic>(kA, kF, cm, kHalfPi, 0, 0); },
         "+proj=gnom +lat_0=90 +lon_0=10" + sphere(), -90, 90, 10, 1e-6, 1e-11},
        {"13 south polar", [cm] { return make<Gnomonic>(kA, kF, cm, -kHalfPi, 0, 0); },
         "+proj=gnom +lat_0=-90 +lon_0=10" + sphere(), -90, 90, 10, 1e-6, 1e-11},
        {"25 oblique 45", [cm] { return make<Orthographic>(kA, kF, cm, 45 * kDeg, 1e7, -5e6); },
         "+proj=ortho +lat_0=45 +lon_0=10 +x_0=10000000 +y_0=-5000000" + sphere(), -90, 90, 10, 1e-6, 3e-9},
        {"25 equatorial", [cm] { return make<Orthographic>(kA, kF, cm, 0.0, 0, 0); },
         "+proj=ortho +lat_0=0 +lon_0=10" + sphere(), -90, 90, 10, 1e-6, 3e-9},
        {"25 north polar", [cm] { return make<Orthographic>(kA, kF, cm, kHalfPi, 0, 0); },
         "+proj=ortho +lat_0=90 +lon_0=10" + sphere(), -90, 90, 10, 1e-6, 3e-9},
    };
}

// Grid of points over a latitude band and the whole longitude range, with points close to the
// central meridian, the poles, the equator and ±180°.
std::vector<Geo> grid(double latMin, double latMax, double cm) {
    std::vector<double> lats, lons;
    for (double lat = latMin; lat <= latMax + 1e-9; lat += 2.5) lats.push_back(lat);
    for (double lat : {1e-7, -1e-7, 89.9999, -89.9999, 89.99, -89.99, 0.0})
        if (lat >= latMin && lat <= latMax) lats.push_back(lat);
    for (double lon = -180; lon <= 180 + 1e-9; lon += 5) lons.push_back(lon);
    for (double d : {1e-7, -1e-7, 179.9999, -179.9999}) lons.push_back(std::remainder(cm + d, 360.0));
    std::vector<Geo> points;
    for (double lat : lats)
        for (double lon : lons) points.push_back({lon * kDeg, lat * kDeg});
    return points;
}

// Inverse of a projected point. Points whose image lies outside the inverse's window (the outer ring
// close to the antipode, or beyond about 81° for the gnomonic) are counted, not converted; any other
// rejection is a failure.
bool tryInverse(const AnyProjection& p, Plane m, Geo& back, int& outsideWindow) {
    try {
        back = p.inv(m.e, m.n);
        return true;
    } catch (const CSException& e) {
        const std::string text = e.getMessage();
        if (text.find("too far") == std::string::npos && text.find("out of range") != std::string::npos)
            ++outsideWindow;
        else
            ADD_FAILURE() << m.e << " " << m.n << ": " << text;
        return false;
    }
}
}  // namespace

// ---------------------------------------------------------------------------------------------------------
// Messages

TEST(AzimuthalProjections, ExceptionsCarryEveryFailedCheckInOrder) {
    const std::string m19 = "Ellipsoid semi-major axis must be greater than zero\n";
    const std::string m20 = "Inverse flattening must be between 250 and 350\n";
    const std::string m22 = "Origin Latitude (or Standard Parallel or Latitude of True Scale) out of range\n";
    const std::string m24 = "Central Meridian out of range\n";
    const std::string m25 = "Scale Factor out of range\n";
    const std::string m41 = "Invalid Hemisphere\n";
    const std::string m42 = "Easting/Northing too far from center of projection\n";
    const std::string m43 = "Latitude out of range\n";
    const std::string m44 = "Longitude out of range\n";
    const std::string m45 = "Easting/X out of range\n";
    const std::string m46 = "Northing/Y out of range\n";
    const std::string m47 = "Point projects into a circle\n";
    const double nan = std::numeric_limits<double>::quiet_NaN();
    auto fwd = [](AnyProjection p, double lon, double lat) { return [p, lon, lat] { p.fwd(lon, lat); }; };
    auto inv = [](AnyProjection p, double e, double n) { return [p, e, n] { p.inv(e, n); }; };
    auto ps26 = make<PolarStereographic>(kA, kF, 0.0, 71 * kDeg, 0, 0);
    auto ps26s = make<PolarStereographic>(kA, kF, 0.0, -71 * kDeg, 0, 0);
    auto stereo = make<Stereographic>(kA, kF, 0.0, 30 * kDeg, 0, 0);
    auto aeqd = make<AzimuthalEquidistant>(kA, kF, 0.0, 0.0, 0, 0);
    auto gnom = make<Gnomonic>(kA, kF, 0.0, 0.0, 0, 0);
    auto ortho = make<Orthographic>(kA, kF, 0.0, 45 * kDeg, 1e7, 0);
    struct Case {
        const char* what;
        std::function<void()> call;
        std::string expected;
    } cases[] = {
        {"26 ellipsoid", [] { PolarStereographic(0, 1.0 / 200, 0, 1, 0, 0); }, m19 + m20},
        {"26 parameters", [] { PolarStereographic(kA, kF, 7, 2, 0, 0); }, m22 + m24},
        {"26 non-number latitude", [nan] { PolarStereographic(kA, kF, 0, nan, 0, 0); }, m22},
        {"27 everything", [] { PolarStereographic(-1, 1.0 / 400, 7, 0.05, 'X', 0, 0); },
         m19 + m20 + m25 + m24 + m41},
        {"27 scale above 3", [] { PolarStereographic(kA, kF, 0, 3.01, 'N', 0, 0); }, m25},
        {"30 ellipsoid", [] { Stereographic(0, 1.0 / 200, 0, 0, 0, 0); }, m19 + m20},
        {"30 parameters", [] { Stereographic(kA, kF, 2 * kPi + 0.001, -2, 0, 0); }, m22 + m24},
        {"1 parameters", [] { AzimuthalEquidistant(kA, kF, -4, 2, 0, 0); }, m22 + m24},
        {"13 parameters", [] { Gnomonic(kA, 1.0 / 351, 7, 0, 0, 0); }, m20 + m24},
        {"25 parameters", [nan] { Orthographic(kA, kF, 0, nan, 0, 0); }, m22},
        {"26 project both", fwd(ps26, 7, 2), m43 + m44},
        {"26 project wrong hemisphere", fwd(ps26, 0, -1 * kDeg), m43},
        {"26 south project wrong hemisphere", fwd(ps26s, 0, 1 * kDeg), m43},
        {"30 project both", fwd(stereo, -4, 2), m43 + m44},
        {"30 antipode", fwd(stereo, kPi, -30 * kDeg), m44},
        {"1 project both", fwd(aeqd, 7, nan), m43 + m44},
        {"1 antipode", fwd(aeqd, kPi, 0), m47},
        {"13 far side", fwd(gnom, kHalfPi, 0), m44},
        {"13 latitude and far side", fwd(gnom, 0, 2), m43 + m44},
        {"13 longitude out of range on the far side", fwd(gnom, -4, 0), m44 + m44},
        {"25 project both", fwd(ortho, 7, 2), m43 + m44},
        {"25 far side", fwd(ortho, 0, -46 * kDeg), m44},
        {"26 window", inv(ps26, 1e8, -1e8), m45 + m46},
        {"30 window", inv(stereo, 0, 2e9), m46},
        {"1 window", inv(aeqd, 2e7, 2e7), m45 + m46},
        {"1 corner of the window, beyond the antipode", inv(aeqd, 1.9e7, -1.9e7), m42},
        {"13 window", inv(gnom, -4.1e7, 0), m45},
        {"25 window", inv(ortho, 0, 0), m45},
        {"25 outside the disc", inv(ortho, 1e7 + 0.8 * kRa, 0.8 * kRa), m42},
        {"25 non-numbers", inv(ortho, nan, nan), m45 + m46},
    };
    for (const Case& c : cases) EXPECT_EQ(thrownText(c.call), c.expected) << c.what;
}

// ---------------------------------------------------------------------------------------------------------
// Polar stereographic

TEST(PolarStereographic, NorthernFormHasPoleAtFalseOriginAndRejectsTheSouth) {
    PolarStereographic p(kA, kF, 0.5, 71 * kDeg, 1e5, -3e5);
    std::unique_ptr<MapProjectionCoordinates> pole(p.project(GeodeticCoordinates(10, 1.0, kHalfPi, 0)));
    EXPECT_EQ(pole->easting(), 1e5);
    EXPECT_EQ(pole->northing(), -3e5);
    EXPECT_EQ(pole->coordinateType(), 26);
    std::unique_ptr<MapProjectionCoordinates> equator(p.project(GeodeticCoordinates(10, 0.5, 0, 0)));
    EXPECT_NEAR(equator->easting(), 1e5, 1e-6);
    EXPECT_LT(equator->northing(), -3e5 - 1e7);  // straight down the longitude from the pole
    std::unique_ptr<GeodeticCoordinates> back(p.backProject(MapProjectionCoordinates(26, 1e5, -3e5)));
    EXPECT_EQ(back->latitude(), kHalfPi);
    EXPECT_EQ(back->longitude(), 0.5);
}

TEST(PolarStereographic, SouthernFormKeepsEastingAndMirrorsNorthing) {
    PolarStereographic north(kA, kF, 0.3, 71 * kDeg, 2e6, 2e6);
    PolarStereographic south(kA, kF, 0.3, -71 * kDeg, 2e6, 2e6);
    for (double lon : {-3.0, -1.0, 0.3, 1.2, 3.1})
        for (double lat : {5.0, 45.0, 80.0}) {
            std::unique_ptr<MapProjectionCoordinates> n(
                north.project(GeodeticCoordinates(10, lon, lat * kDeg, 0)));
            std::unique_ptr<MapProjectionCoordinates> s(
                south.project(GeodeticCoordinates(10, lon, -lat * kDeg, 0)));
            EXPECT_NEAR(s->easting(), n->easting(), 1e-6) << lon << " " << lat;
            EXPECT_NEAR(s->northing() - 2e6, -(n->northing() - 2e6), 1e-6) << lon << " " << lat;
        }
}

// Scale factors above 1 or below e4/2 (about 0.5017) have no latitude of true scale in the chosen
// hemisphere; they build the projection from k itself, in the hemisphere asked for.
TEST(PolarStereographic, EveryAcceptedScaleFactorBuildsTheHemisphereAskedFor) {
    const double e = std::sqrt(eccentricitySquared(kF));
    const double halfE4 = std::sqrt(std::pow(1 + e, 1 + e) * std::pow(1 - e, 1 - e)) / 2;
    for (double k :
         {0.1, 0.3, 0.5, 0.5016, halfE4, std::nextafter(halfE4, 1.0), 0.5018, 0.8, 1.0, 1.0001, 2.0, 3.0})
        for (char hemisphere : {'N', 'S'}) {
            const double sign = hemisphere == 'N' ? 1 : -1;
            const std::string what = std::to_string(k) + hemisphere;
            std::unique_ptr<PolarStereographic> p;
            ASSERT_NO_THROW(p.reset(new PolarStereographic(kA, kF, 0, k, hemisphere, 0, 0))) << what;
            EXPECT_EQ(thrownText([&] { delete p->project(GeodeticCoordinates(10, 0, -sign * 0.1, 0)); }),
                      "Latitude out of range\n")
                << what;
            // Scale at the pole: a short step away from it, measured on the plane, against the
            // meridian arc it covers (radius of curvature at the pole a/sqrt(1 − e²)).
            const double dphi = 1e-6;
            std::unique_ptr<MapProjectionCoordinates> near(
                p->project(GeodeticCoordinates(10, 0, sign * (kHalfPi - dphi), 0)));
            const double es = eccentricitySquared(kF);
            const double arc = kA / std::sqrt(1 - es) * dphi;
            EXPECT_NEAR(std::hypot(near->easting(), near->northing()) / arc, k, 1e-9) << what;
        }
}

// ---------------------------------------------------------------------------------------------------------
// Spherical azimuthals

TEST(Stereographic, InverseKeepsPointsCloseToGreenwichTheEquatorAndTheAntimeridian) {
    // Nothing is snapped: these points moved by up to 22 m when results near 0 and ±π were rounded.
    Stereographic equatorial(kA, kF, 0, 0, 0, 0);
    Stereographic oblique(kA, kF, 0, 30 * kDeg, 0, 0);
    const Geo points[] = {{1e-7, 0.5},       {-1.9e-7, 0.5},      {0.3, 2e-8}, {0.3, -1e-9},
                          {kPi - 3e-6, 0.2}, {-kPi + 1e-6, -0.2}, {kPi, 0.1}};
    for (Stereographic* p : {&equatorial, &oblique})
        for (const Geo& g : points) {
            std::unique_ptr<MapProjectionCoordinates> m(p->project(GeodeticCoordinates(10, g.lon, g.lat, 0)));
            std::unique_ptr<GeodeticCoordinates> back(p->backProject(*m));
            EXPECT_NEAR(back->latitude(), g.lat, 1e-12) << g.lon << " " << g.lat;
            EXPECT_NEAR(std::fabs(back->longitude()), std::fabs(g.lon), 1e-12) << g.lon << " " << g.lat;
        }
}

// For a central meridian just east of Greenwich the window point lies one degree west of -π.
TEST(AzimuthalProjections, CentralMeridianJustEastOfGreenwichIsAccepted) {
    for (double cm : {0.1 * kDeg, 0.9 * kDeg, 1.0 * kDeg}) {
        Stereographic s(kA, kF, cm, 40 * kDeg, 0, 0);
        AzimuthalEquidistant a(kA, kF, cm, 40 * kDeg, 0, 0);
        Stereographic sWest(kA, kF, -cm, 40 * kDeg, 0, 0);
        AzimuthalEquidistant aWest(kA, kF, -cm, 40 * kDeg, 0, 0);
        // Same window whichever side of Greenwich: a point far east is treated alike.
        const double far = 2.5e7;
        EXPECT_EQ(thrownText([&] { delete s.backProject(MapProjectionCoordinates(30, far, 0)); }),
                  thrownText([&] { delete sWest.backProject(MapProjectionCoordinates(30, far, 0)); }));
        EXPECT_EQ(thrownText([&] { delete a.backProject(MapProjectionCoordinates(1, 1.9e7, 0)); }),
                  thrownText([&] { delete aWest.backProject(MapProjectionCoordinates(1, 1.9e7, 0)); }));
    }
}

TEST(AzimuthalEquidistant, OriginMapsToFalseOriginAndNearbyPointsKeepTheirDistance) {
    for (double phi0 : {0.0, 40 * kDeg, -70 * kDeg}) {
        AzimuthalEquidistant p(kA, kF, 0.2, phi0, 1e5, 2e5);
        std::unique_ptr<MapProjectionCoordinates> origin(p.project(GeodeticCoordinates(10, 0.2, phi0, 0)));
        EXPECT_EQ(origin->easting(), 1e5);
        EXPECT_EQ(origin->northing(), 2e5);
        // Within a metre of the origin the distance is still true (it was 0 there).
        for (double d : {1e-9, 3e-9, 1e-8, 1e-7}) {
            std::unique_ptr<MapProjectionCoordinates> m(p.project(GeodeticCoordinates(10, 0.2, phi0 + d, 0)));
            EXPECT_NEAR(m->northing() - 2e5, kRa * d, 1e-9) << phi0 << " " << d;
            EXPECT_NEAR(m->easting(), 1e5, 1e-9);
        }
    }
}

TEST(Orthographic, HorizonIsShownAndTheFarSideIsNot) {
    Orthographic p(kA, kF, 0.4, 45 * kDeg, 0, 0);
    // (CM, -45°) is exactly on the horizon: accepted, at the bottom of the disc.
    std::unique_ptr<MapProjectionCoordinates> horizon(p.project(GeodeticCoordinates(10, 0.4, -45 * kDeg, 0)));
    EXPECT_NEAR(horizon->northing(), -kRa, 1e-6);
    EXPECT_EQ(thrownText([&] { delete p.project(GeodeticCoordinates(10, 0.4, -46 * kDeg, 0)); }),
              "Longitude out of range\n");
    std::unique_ptr<GeodeticCoordinates> east(p.backProject(MapProjectionCoordinates(25, kRa, 0)));
    EXPECT_NEAR(east->longitude(), 0.4 + kHalfPi, 1e-12);
    EXPECT_NEAR(east->latitude(), 0, 1e-12);
}

// The disc is tested around the false origin: a large false easting used to reject the centre.
TEST(Orthographic, DiscIsCentredOnTheFalseOrigin) {
    const double fe = 1e7, fn = -5e6;
    Orthographic p(kA, kF, 0.4, 45 * kDeg, fe, fn);
    std::unique_ptr<GeodeticCoordinates> centre(p.backProject(MapProjectionCoordinates(25, fe, fn)));
    EXPECT_EQ(centre->longitude(), 0.4);
    EXPECT_EQ(centre->latitude(), 45 * kDeg);
    std::unique_ptr<GeodeticCoordinates> rim(p.backProject(MapProjectionCoordinates(25, fe - kRa, fn)));
    EXPECT_NEAR(rim->longitude(), 0.4 - kHalfPi, 1e-12);
    EXPECT_EQ(thrownText([&] {
                  delete p.backProject(MapProjectionCoordinates(25, fe + 0.71 * kRa, fn + 0.71 * kRa));
              }),
              "Easting/Northing too far from center of projection\n");
}

// ---------------------------------------------------------------------------------------------------------
// Round trip and oracle

// Forward then inverse returns the point over each projection's domain. Within 0.01° of a pole the
// inverse's asin of a value close to 1 limits the latitude to about sqrt(2ε) ≈ 1.5e-8 rad.
TEST(AzimuthalProjections, RoundTripReturnsThePoint) {
    std::printf("%-32s %8s %14s %14s %8s\n", "round trip", "points", "max (rad)", "near pole (rad)",
                "window");
    for (const Config& c : configs()) {
        const AnyProjection p = c.build();
        double worst = 0, worstNearPole = 0;
        int points = 0, outsideWindow = 0;
        for (const Geo& g : grid(c.latMin, c.latMax, c.cm)) {
            Plane m;
            try {
                m = p.fwd(g.lon, g.lat);
            } catch (const CSException&) {
                continue;
            }
            Geo back;
            if (!tryInverse(p, m, back, outsideWindow)) continue;
            ++points;
            const double d = separation(back, g);
            if (std::fabs(g.lat) > 89.99 * kDeg)
                worstNearPole = std::max(worstNearPole, d);
            else
                worst = std::max(worst, d);
        }
        std::printf("%-32s %8d %14.3e %14.3e %8d\n", c.name, points, worst, worstNearPole, outsideWindow);
        EXPECT_GT(points, 100) << c.name;
        EXPECT_LE(worst, c.inverseTolerance) << c.name;
        EXPECT_LE(worstNearPole, 3e-8) << c.name;
    }
}

TEST(AzimuthalProjections, AgreeWithProj) {
    std::printf("%-32s %8s %14s %14s %8s %8s\n", "against PROJ", "points", "forward (m)", "inverse (rad)",
                "refused", "window");
    for (const Config& c : configs()) {
        const AnyProjection p = c.build();
        ProjPipeline oracle(c.proj);
        ASSERT_TRUE(oracle.valid()) << c.proj;
        double forward = 0, inverse = 0;
        int points = 0, refused = 0, outsideWindow = 0;
        for (const Geo& g : grid(c.latMin, c.latMax, c.cm)) {
            Plane m;
            try {
                m = p.fwd(g.lon, g.lat);
            } catch (const CSException&) {
                continue;
            }
            double x, y;
            if (!oracle.forward(g.lon, g.lat, x, y)) {
                ++refused;
                continue;
            }
            // The inverse is checked as the inverse of PROJ's forward mapping.
            Geo back;
            if (!tryInverse(p, {x, y}, back, outsideWindow)) continue;
            ++points;
            forward = std::max(forward, std::hypot(x - m.e, y - m.n) / std::max(1.0, std::hypot(x, y) / 1e7));
            if (std::fabs(g.lat) < 89.99 * kDeg) inverse = std::max(inverse, separation(back, g));
        }
        std::printf("%-32s %8d %14.3e %14.3e %8d %8d\n", c.name, points, forward, inverse, refused,
                    outsideWindow);
        EXPECT_GT(points, 100) << c.name;
        EXPECT_LE(forward, c.forwardTolerance) << c.name;
        EXPECT_LE(inverse, c.inverseTolerance) << c.name;
    }
}

// ---------------------------------------------------------------------------------------------------------
// Through the transformer: each code builds its class from the slots SetProjectionParams stored.

TEST(AzimuthalProjections, TransformerDispatchesEachCodeWithItsSlots) {
    const double cm = 20 * kDeg, ol = 35 * kDeg, fe = 4e5, fn = -3e5, k = 0.994, sp1 = 71 * kDeg;
    struct Case {
        int code;
        char hemisphere;
        AnyProjection direct;
        double lat;
    } cases[] = {
        {1, 'N', make<AzimuthalEquidistant>(kA, kF, cm, ol, fe, fn), 10 * kDeg},
        {13, 'N', make<Gnomonic>(kA, kF, cm, ol, fe, fn), 50 * kDeg},
        {25, 'N', make<Orthographic>(kA, kF, cm, ol, fe, fn), 50 * kDeg},
        {26, 'N', make<PolarStereographic>(kA, kF, cm, sp1, fe, fn), 60 * kDeg},
        {27, 'S', make<PolarStereographic>(kA, kF, cm, k, 'S', fe, fn), -60 * kDeg},
        {30, 'N', make<Stereographic>(kA, kF, cm, ol, fe, fn), -10 * kDeg},
    };
    for (const Case& c : cases) {
        DatumTransformer t;
        t.SetDstEllipsoid(kA, kF);
        t.SetProjectionMethod(c.code);
        t.SetProjectionParams(cm, ol, fe, fn, k, sp1, 5 * kDeg, 8, 0, c.hemisphere, 0.3);
        const double lon = 25 * kDeg;
        double northing = 0, easting = 0, h = 0;
        t.Projecting(c.lat, lon, 123.5, northing, easting, h);
        const Plane expected = c.direct.fwd(lon, c.lat);
        EXPECT_EQ(easting, expected.e) << c.code;
        EXPECT_EQ(northing, expected.n) << c.code;
        EXPECT_EQ(h, 123.5) << c.code;
        double lat = 0, lonBack = 0;
        t.BackProjecting(northing, easting, 7.0, lat, lonBack, h);
        EXPECT_NEAR(lat, c.lat, 1e-11) << c.code;
        EXPECT_NEAR(lonBack, lon, 1e-11) << c.code;
        EXPECT_EQ(h, 7.0) << c.code;
    }
}

TEST(AzimuthalProjections, TransformerPassesExceptionsOnAndLeavesOutputsAlone) {
    DatumTransformer t;
    t.SetDstEllipsoid(kA, kF);
    t.SetProjectionMethod(27);
    t.SetProjectionParams(0, 0, 0, 0, 0.994, 0, 0, 0, 0, 'X', 0);
    double northing = 1, easting = 2, h = 3;
    EXPECT_EQ(thrownText([&] { t.Projecting(0.5, 0.5, 0, northing, easting, h); }), "Invalid Hemisphere\n");
    EXPECT_EQ(northing, 1);
    EXPECT_EQ(easting, 2);
    EXPECT_EQ(h, 3);
    t.SetProjectionMethod(25);
    t.SetProjectionParams(0, 45 * kDeg, 0, 0, 0, 0, 0, 0, 0, 'N', 0);
    EXPECT_EQ(thrownText([&] { t.Projecting(-50 * kDeg, 0, 0, northing, easting, h); }),
              "Longitude out of range\n");
}
