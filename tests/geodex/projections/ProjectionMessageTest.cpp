// What every projection class throws, in one table: one CSException carrying the message of each failed
// check, in the order of the checks, for bad parameters, points outside the domain and plane coordinates
// outside the inverse's window.
#include <gtest/gtest.h>

#include <cmath>

#include "geodex/ProjectionTestSupport.h"
#include "geodex/projections/EllipsoidMath.h"

using namespace ProjectionTestSupport;

namespace {
const double kRa = authalicRadius(kA, kF);

std::function<void()> fwd(const Projection& p, double lon, double lat) {
    return [=] { p.fwd(lon, lat); };
}
std::function<void()> inv(const Projection& p, double e, double n) {
    return [=] { p.inv(e, n); };
}
// The warning of a forward call at latitude 0.4 rad (or of the inverse of its image), raised as if thrown
// so that the table compares it with the numbered messages.
std::function<void()> warned(const Projection& p, double lonDeg, bool inverse = false) {
    return [=] {
        const Plane m = p.fwd(lonDeg * kDeg, 0.4);
        const std::string warning = inverse ? p.inv(m.e, m.n).warning : m.warning;
        if (!warning.empty()) throw CSException(warning.c_str());
    };
}

// A world map of the given code: central meridian and standard parallel (radians) on the ellipsoid a, f.
Projection worldMap(int code, double cm, double sp, double a = kA, double f = kF) {
    // clang-format off
    switch (code) {
        case 6: return make<EckertIV>(a, f, cm, 0.0, 0.0);
        case 7: return make<EckertVI>(a, f, cm, 0.0, 0.0);
        case 8: return make<EquidistantCylindrical>(a, f, cm, sp, 0.0, 0.0);
        case 20: return make<MillerCylindrical>(a, f, cm, 0.0, 0.0);
        case 21: return make<Mollweide>(a, f, cm, 0.0, 0.0);
        case 29: return make<Sinusoidal>(a, f, cm, 0.0, 0.0);
        default: return make<VanDerGrinten>(a, f, cm, 0.0, 0.0);
    }
    // clang-format on
}

struct Case {
    std::string what;
    std::function<void()> call;
    std::vector<int> expected;  // message numbers; none: nothing thrown
    std::string more = "";      // texts of their own after the numbered messages
};

std::function<void()> utmProject(int override, double lonDeg, double latDeg) {
    return [=] {
        delete UTM(kA, kF, override).project(GeodeticCoordinates(10, lonDeg * kDeg, latDeg * kDeg, 0));
    };
}
std::function<void()> utmBackProject(int zone, char hemisphere, double e, double n) {
    return [=] { delete UTM(kA, kF, 0).backProject(UTMCoordinates(34, zone, hemisphere, e, n)); };
}
}  // namespace

TEST(ProjectionMessages, EveryFailedCheckIsReportedInOrderInOneException) {
    const double d = kDeg;
    double k = 0;
    // The projections the points and windows below go to.
    // clang-format off
    const Projection merc = make<Mercator>(kA, kF, 0.5, 0.3, 100.0, 200.0, k);
    const Projection cass = make<Cassini>(kA, kF, 0.5, 0.3, 100.0, 200.0);
    const Projection cea = make<CylindricalEqualArea>(kA, kF, 0.5, 0.3, 100.0, 200.0);
    const Projection tcea = make<TransverseCylindricalEqualArea>(kA, kF, 0.5, 0.3, 100.0, 200.0, 1.0);
    const Projection ps26 = make<PolarStereographic>(kA, kF, 0.0, 71 * d, 0, 0);
    const Projection ps26s = make<PolarStereographic>(kA, kF, 0.0, -71 * d, 0, 0);
    const Projection stere = make<Stereographic>(kA, kF, 0.0, 30 * d, 0, 0);
    const Projection aeqd = make<AzimuthalEquidistant>(kA, kF, 0.0, 0.0, 0, 0);
    const Projection gnom = make<Gnomonic>(kA, kF, 0.0, 0.0, 0, 0);
    const Projection ortho = make<Orthographic>(kA, kF, 0.4, 45 * d, 1e7, -5e6);
    const Projection albers = make<AlbersEqualAreaConic>(kA, kF, 0.0, 0.4, 0.5, 0.8, 10, 20);
    const Projection bonne = make<Bonne>(kA, kF, 0.3, 0.7, 10, 20);
    const Projection bonne0 = make<Bonne>(kA, kF, 0.3, 0.0, 10, 20);
    const Projection poly = make<Polyconic>(kA, kF, -0.3, 0.7, 10, 20);
    const Projection lcc = make<LambertConformalConic>(kA, kF, 0.0, 45 * d, 40 * d, 50 * d, 100, 200);
    const Projection polar = make<PolarLambertConformalConic>(kA, kF, 0.0, 80 * d, 71 * d, 100, 200);
    const Projection tm = make<TransverseMercator>(kA, kF, 10 * d, 0.0, 500000, 0, 1);
    const Projection cassWarn = make<Cassini>(kA, kF, 0.0, 0.5, 1e3, 2e3), tcea0 = make<TransverseCylindricalEqualArea>(kA, kF, 0.0, 0.0, 0.0, 0.0, 1.0);
    const Projection poly10 = make<Polyconic>(kA, kF, 10 * d, 30 * d, 0, 0), tm179 = make<TransverseMercator>(kA, kF, 179 * d, 0.0, 500000, 0, 1);
    const double halfEqc = kRa * std::cos(0.3) * kHalfTurn;  // the equidistant cylindrical's half width
    const Projection eqc = make<EquidistantCylindrical>(kA, kF, 0.0, 0.3, 5e5, 0);
    const Projection eqcEast = make<EquidistantCylindrical>(kA, kF, 0.5 * d, 0.0, 0, 0);
    const Projection vandg = make<VanDerGrinten>(kA, kF, 0.0, 1e7, -3e6);
    const Projection krovak0 = make<Krovak>(0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0);
    std::vector<Case> cases = {
        // Constructors: every check of the parameters, non-numbers counting as out of range.
        {"merc 17", [&] { Mercator(0, 1 / 200.0, 7, 89.6 * d, 0, 0, k); }, {19, 20, 22, 24}},
        {"merc 18", [] { Mercator(-1, 1 / 351.0, -3.2, 0, 0, 3.01); }, {19, 20, 24, 25}},
        {"cass", [] { Cassini(0, kNaN, 6.3, 1.6, 0, 0); }, {19, 20, 22, 24}},
        {"cea", [] { CylindricalEqualArea(0, 1 / 249.0, kNaN, -1.6, 0, 0); }, {19, 20, 22, 24}},
        {"tcea", [] { TransverseCylindricalEqualArea(0, 1 / 400.0, -4, kNaN, 0, 0, 0.29); }, {19, 20, 22, 24, 25}},
        {"ps 26 ellipsoid", [] { PolarStereographic(0, 1.0 / 200, 0, 1, 0, 0); }, {19, 20}},
        {"ps 26 parameters", [] { PolarStereographic(kA, kF, 7, 2, 0, 0); }, {22, 24}},
        {"ps 26 latitude NaN", [] { PolarStereographic(kA, kF, 0, kNaN, 0, 0); }, {22}},
        {"ps 27 everything", [] { PolarStereographic(-1, 1.0 / 400, 7, 0.05, 'X', 0, 0); }, {19, 20, 25, 24, 41}},
        {"ps 27 scale above 3", [] { PolarStereographic(kA, kF, 0, 3.01, 'N', 0, 0); }, {25}},
        {"stere ellipsoid", [] { Stereographic(0, 1.0 / 200, 0, 0, 0, 0); }, {19, 20}},
        {"stere parameters", [] { Stereographic(kA, kF, 2 * kHalfTurn + 0.001, -2, 0, 0); }, {22, 24}},
        {"aeqd parameters", [] { AzimuthalEquidistant(kA, kF, -4, 2, 0, 0); }, {22, 24}},
        {"gnom parameters", [] { Gnomonic(kA, 1.0 / 351, 7, 0, 0, 0); }, {20, 24}},
        {"ortho latitude NaN", [] { Orthographic(kA, kF, 0, kNaN, 0, 0); }, {22}},
        {"aea both parallels 0", [] { AlbersEqualAreaConic(kA, kF, 0, 0, 0, 0, 0, 0); }, {30, 31}},
        {"aea everything", [] { AlbersEqualAreaConic(0, 1.0 / 200, 7, 2, 2, -2, 0, 0); }, {19, 20, 22, 24, 28, 29, 31}},
        {"aea parallel NaN", [] { AlbersEqualAreaConic(kA, kF, 0, 0, kNaN, 0.5, 0, 0); }, {28}},
        {"aea 30/-30", [] { AlbersEqualAreaConic(kA, kF, 0, 0, 0.5, -0.5, 0, 0); }, {31}},
        {"bonne everything", [] { Bonne(-1, 1.0 / 351, 6.3, -1.6, 0, 0); }, {19, 20, 22, 24}},
        {"poly everything", [] { Polyconic(0, 1.0 / 249, -3.2, kNaN, 0, 0); }, {19, 20, 22, 24}},
        {"poly 2π accepted", [] { Polyconic(kA, kF, 2 * kHalfTurn, 0, 0, 0); }, {}},
        {"lcc 2SP ellipsoid", [=] { LambertConformalConic(0, 1.0 / 200, 0, 45 * d, 40 * d, 50 * d, 0, 0); }, {19, 20}},
        {"lcc 2SP both parallels 0", [=] { LambertConformalConic(kA, kF, 0, 45 * d, 0, 0, 0, 0); }, {30, 31}},
        {"lcc 2SP 30 and -30", [=] { LambertConformalConic(kA, kF, 0, 0, 30 * d, -30 * d, 0, 0); }, {31}},
        {"lcc 2SP everything", [=] { LambertConformalConic(-1, 1.0 / 400, 7, 90 * d, 90 * d, -90 * d, 0, 0); }, {19, 20, 22, 28, 29, 31, 24}},
        {"lcc 2SP parallel at 89°59′59.5″", [=] { LambertConformalConic(kA, kF, 0, 0, 89.99986 * d, 50 * d, 0, 0); }, {28}},
        {"lcc 2SP second parallel NaN", [=] { LambertConformalConic(kA, kF, 0, 0, 40 * d, kNaN, 0, 0); }, {29}},
        {"lcc 2SP meridian 2π+0.001", [=] { LambertConformalConic(kA, kF, 6.284185307179586, 0, 40 * d, 50 * d, 0, 0); }, {24}},
        // The one-parallel form throws twice over: ellipsoid and meridian first, then the cone set-up.
        {"lcc 1SP ellipsoid and meridian", [] { LambertConformalConic(0, 1.0 / 200, -4, 0, 0, 0, 0); }, {19, 20, 24}},
        {"lcc 1SP origin 0 and scale 0", [] { LambertConformalConic(kA, kF, 0, 0, 0, 0, 0); }, {22, 25}},
        {"lcc 1SP origin 3e-6", [] { LambertConformalConic(kA, kF, 0, 3e-6, 0, 0, 1); }, {22}},
        {"lcc 1SP scale NaN", [] { LambertConformalConic(kA, kF, 0, 0.5, 0, 0, kNaN); }, {25}},
        {"polar lcc 70°", [=] { PolarLambertConformalConic(kA, kF, 0, 80 * d, 70 * d, 0, 0); }, {28}},
        {"polar lcc everything", [=] { PolarLambertConformalConic(0, 1.0 / 200, 7, 89.9995 * d, 72 * d, 0, 0); }, {19, 20, 22, 28, 24}},
        {"polar lcc 74° south", [=] { PolarLambertConformalConic(kA, kF, 0, -70 * d, 74 * d, 0, 0); }, {}},
        // Krovak checks nothing: any parameters build, and a zero ellipsoid converts without a word.
        {"krovak zeros", [] { Krovak(0, 0, 0, 0, 0, 0, 0, 0, 0); }, {}}, {"krovak anything", [] { Krovak(-1, 2, 7, -9, 4, 0, -1, kNaN, kNaN); }, {}},
        {"krovak zero ellipsoid", fwd(krovak0, 1, 1), {}}, {"krovak zero ellipsoid inverse", inv(krovak0, 1, 1), {}},
        {"geocentric", [] { Geocentric(0, 1.0 / 200); }, {19, 20}},
        {"geocentric point", [] { delete Geocentric(kA, kF).toGeocentric(GeodeticCoordinates(10, 7, 2, 0)); }, {43, 44}},

        // Points outside the domain.
        {"merc 89.6", fwd(merc, 0, 89.6 * d), {43}}, {"merc -89.6", fwd(merc, 0, -89.6 * d), {43}},
        {"ps 26 both", fwd(ps26, 7, 2), {43, 44}}, {"ps 26 other hemisphere", fwd(ps26, 0, -1 * d), {43}},
        {"ps 26 south, other hemisphere", fwd(ps26s, 0, 1 * d), {43}},
        {"ps 27 k 1.5 south, other hemisphere", fwd(make<PolarStereographic>(kA, kF, 0.0, 1.5, 'S', 0, 0), 0, 0.1), {43}},
        {"ps 27 k 0.3 north, other hemisphere", fwd(make<PolarStereographic>(kA, kF, 0.0, 0.3, 'N', 0, 0), 0, -0.1), {43}}, {"stere both", fwd(stere, -4, 2), {43, 44}},
        {"stere antipode", fwd(stere, kHalfTurn, -30 * d), {44}}, {"aeqd both", fwd(aeqd, 7, kNaN), {43, 44}},
        {"aeqd antipode", fwd(aeqd, kHalfTurn, 0), {47}}, {"gnom far side", fwd(gnom, kQuarterTurn, 0), {44}},
        {"gnom latitude and far side", fwd(gnom, 0, 2), {43, 44}},
        {"gnom longitude out of range on the far side", fwd(gnom, -4, 0), {44, 44}},
        {"ortho both", fwd(ortho, 7, 2), {43, 44}}, {"ortho beyond the horizon", fwd(ortho, 0.4, -46 * d), {44}},
        {"ortho on the horizon", fwd(ortho, 0.4, -45 * d), {}}, {"aea both", fwd(albers, 7, 2), {43, 44}},
        {"bonne both", fwd(bonne, -4, -2), {43, 44}}, {"poly both", fwd(poly, 7, kNaN), {43, 44}},
        {"lcc both", fwd(lcc, 7, 2), {43, 44}}, {"lcc latitude NaN", fwd(lcc, 0, kNaN), {43}},
        {"lcc south pole of a northern cone", fwd(lcc, 0, -kQuarterTurn), {43}},
        {"polar lcc both", fwd(polar, 7, 2), {43, 44}}, {"tm 91° east", fwd(tm, 101 * d, 30 * d), {44}},
        {"tm 91° west", fwd(tm, -81 * d, 30 * d), {44}}, {"tm 89.995°", fwd(tm, 10 * d, 89.995 * d), {43}},
        {"tm both", fwd(tm, 101 * d, -89.995 * d), {43, 44}}, {"tm 89.99°", fwd(tm, 0, 1.570621793869697), {}},

        // Plane coordinates outside the inverse's window.
        {"stere window", inv(stere, 0, 2e9), {46}}, {"aeqd window", inv(aeqd, 2e7, 2e7), {45, 46}},
        {"aeqd corner of the window, beyond the antipode", inv(aeqd, 1.9e7, -1.9e7), {42}},
        {"gnom window", inv(gnom, -4.1e7, 0), {45}}, {"ps 26 window", inv(ps26, 1e8, -1e8), {45, 46}},
        // The orthographic disc and the Van der Grinten circle lie about the false origin.
        {"ortho window", inv(ortho, 0, 0), {45}},
        {"ortho outside the disc", inv(ortho, 1e7 + 0.71 * kRa, -5e6 + 0.71 * kRa), {42}},
        {"ortho non-numbers", inv(ortho, kNaN, kNaN), {45, 46}},
        {"vandg outside the circle", inv(vandg, 1e7 + kHalfTurn * kRa * 0.7072, -3e6 + kHalfTurn * kRa * 0.7072), {42}},
        {"vandg inside the circle", inv(vandg, 1e7 + kHalfTurn * kRa * 0.7070, -3e6 + kHalfTurn * kRa * 0.7070), {}},
        {"aea window", inv(albers, 10 - 4.1e7, 20 + 4.1e7), {45, 46}},
        {"bonne window", inv(bonne, 10 + 20027475, 20 - 20003933), {45, 46}},
        {"bonne at the equator window (CM > 0)", inv(bonne0, 10 + 19926190, 20 + 10001967), {45, 46}},
        // Where the polyconic iteration settles on a root beyond the pole it says so instead of returning it.
        {"poly root beyond the pole", [=] { const Plane far = poly10.fwd(160 * d, -30 * d); poly10.inv(far.e, far.n); }, {46}},
        {"poly window (CM < 0)", inv(poly, 10 + 20037510, 1e9), {45, 46}},
        {"lcc window", inv(lcc, 100 + 4.1e8, 200 - 4.1e8), {45, 46}},
        {"polar lcc window", inv(polar, kNaN, 4.1e8), {45, 46}},
        // The equidistant cylindrical's window is mirrored about the false easting; a central meridian
        // under 1° east pulls in the eastern edge and keeps the western one.
        {"eqc west of the window", inv(eqc, 5e5 - halfEqc - 1, 0), {45}},
        {"eqc east of the window", inv(eqc, 5e5 + halfEqc + 1, 0), {45}},
        {"eqc CM 0.5° east, western edge", inv(eqcEast, -0.9999 * kRa * kHalfTurn, 0), {}},
        {"eqc CM 0.5° east, eastern edge", inv(eqcEast, 0.9999 * kRa * kHalfTurn, 0), {45}},

        // The distortion warning (60) starts where the longitude is far from the central meridian the short
        // way; the transverse Mercator warns on the raw difference (−358° warns, 2° is projected).
        {"cass 5°", warned(cassWarn, 5), {60}}, {"cass 5° inverse", warned(cassWarn, 5, true), {60}}, {"cass -5°", warned(cassWarn, -5), {60}}, {"cass -5° inverse", warned(cassWarn, -5, true), {60}},
        {"cass 3°", warned(cassWarn, 3), {}}, {"cass 3° inverse", warned(cassWarn, 3, true), {}},
        {"cass 350° at CM -10°", warned(make<Cassini>(kA, kF, -10 * d, 0.5, 0, 0), 350), {}}, {"cass 350° at CM -10°, inverse", warned(make<Cassini>(kA, kF, -10 * d, 0.5, 0, 0), 350, true), {}},
        {"cass -179° at CM 179°", warned(make<Cassini>(kA, kF, 179 * d, 0.5, 0, 0), -179), {}}, {"cass -179° at CM 179°, inverse", warned(make<Cassini>(kA, kF, 179 * d, 0.5, 0, 0), -179, true), {}},
        {"tcea 100°", warned(tcea0, 100), {60}}, {"tcea -100°", warned(tcea0, -100), {60}}, {"tcea 90°", warned(tcea0, 90), {60}}, {"tcea 80°", warned(tcea0, 80), {}}, {"tcea 350°", warned(tcea0, 350), {}},
        {"tm 9.5° east", warned(tm, 19.5), {60}}, {"tm 9.5° east inverse", warned(tm, 19.5, true), {60}}, {"tm 9.5° west", warned(tm, 0.5), {60}}, {"tm 9.5° west inverse", warned(tm, 0.5, true), {60}},
        {"tm 8.5° east", warned(tm, 18.5), {}}, {"tm -179° at CM 179°", warned(tm179, -179), {60}},
        {"poly 90° east", warned(poly10, 100), {}}, {"poly 91° east", warned(poly10, 101), {60}}, {"poly 90° west", warned(poly10, -80), {}}, {"poly 91° west", warned(poly10, -81), {60}},
        {"poly on the central meridian", warned(poly10, 10), {}}, {"poly 180° off", warned(poly10, -170), {60}},

        // The transverse Mercator names the parameters it rejects; UTM checks zone, hemisphere and window of
        // a grid point before it throws. (The overrides UTM accepts are checked with their zones elsewhere.)
        {"tm scale 0.29", [] { TransverseMercator(kA, kF, 0.5, 0, 0, 0, 0.29); }, {}, ": a=6378137.000000 f=298.257224 lat=0.000000 cm=0.500000 scale=0.290000"},
        {"tm scale 3.01", [] { TransverseMercator(kA, kF, 7.0, 0, 0, 0, 3.01); }, {}, ": a=6378137.000000 f=298.257224 lat=0.000000 cm=7.000000 scale=3.010000"},
        {"tm ellipsoid and origin", [] { TransverseMercator(0, 1.0 / 200, 0, 1.6, 0, 0, 1); }, {}, ": a=0.000000 f=200.000000 lat=1.600000 cm=0.000000 scale=1.000000"},
        {"tm CM 2π", [] { TransverseMercator(kA, kF, 2 * kHalfTurn, 0, 0, 0, 0.3); }, {}},
        {"utm ellipsoid and override", [] { UTM(0, 1.0 / 200, 61); }, {19, 20}, "Invalid Zone Override\n"},
        {"utm override -1", [] { UTM(kA, kF, -1); }, {}, "Invalid Zone Override\n"}, {"utm override 60", [] { UTM(kA, kF, 60); }, {}},
        {"utm 84.5", utmProject(0, 0.1 / kDeg, 84.5), {}}, {"utm -80.5", utmProject(0, 0.1 / kDeg, -80.5), {}}, {"utm 84.6", utmProject(0, 0.1 / kDeg, 84.6), {43}},
        {"utm -80.6", utmProject(0, 0.1 / kDeg, -80.6), {43}}, {"utm both", utmProject(0, 7 / kDeg, 85), {43, 44}},
        // An override may name the zone of the longitude or a neighbour (zone 31 spans 0° to 6°).
        {"utm override 33 at 5.5°", utmProject(33, 5.5, 30), {}, "Invalid Zone Override\n"}, {"utm override 29 at 0.5°", utmProject(29, 0.5, 30), {}, "Invalid Zone Override\n"},
        {"utm zone and hemisphere", utmBackProject(0, 'X', 500000, 100000), {}, "Invalid Zone\nInvalid Hemisphere\n"},
        {"utm zone and window", utmBackProject(61, 'N', 99999, 10000001), {}, "Invalid Zone\n" + messages({45, 46})},
        // 9 000 000 m lies at 81° N, inside; 9 400 000 m beyond 84.5° N.
        {"utm 81° N", utmBackProject(31, 'N', 500000, 9000000), {}}, {"utm beyond 84.5° N", utmBackProject(31, 'N', 500000, 9400000), {46}},
    };
    // clang-format on
    // The cylindrical maps: both point checks and both window checks, finite or not.
    for (const auto& [name, p] : {std::pair{"merc", merc}, {"cass", cass}, {"cea", cea}, {"tcea", tcea}}) {
        cases.push_back({std::string(name) + " point", fwd(p, 7, 2), {43, 44}});
        cases.push_back({std::string(name) + " window", inv(p, 1e9, -1e9), {45, 46}});
        cases.push_back({std::string(name) + " non-numbers", inv(p, kNaN, kNaN), {45, 46}});
    }
    // The world maps: only the equidistant cylindrical has a parallel.
    const double points[][3] = {{7, 2, 3},
                                {kNaN, kNaN, 3},
                                {-kHalfTurn - 1e-9, 0, 2},
                                {2 * kHalfTurn, -kQuarterTurn, 0},
                                {0, -1.5708, 1}};
    const double windows[][3] = {{3e7, -3e7, 3}, {kNaN, kNaN, 3}, {-3e7, 0, 1}, {0, 3e7, 2}, {0, 0, 0}};
    const std::vector<int> which[] = {{}, {43}, {44}, {43, 44}, {}, {45}, {46}, {45, 46}};
    for (int code : {6, 7, 8, 20, 21, 29, 36}) {
        const std::string name = "world " + std::to_string(code);
        const std::vector<int> all =
            code == 8 ? std::vector<int>{19, 20, 22, 24} : std::vector<int>{19, 20, 24};
        cases.push_back(
            {name, [=] { worldMap(code, 2 * kHalfTurn + 1e-3, kQuarterTurn + 1e-9, -1, 1 / 200.0); }, all});
        cases.push_back({name + " non-numbers", [=] { worldMap(code, kNaN, kNaN, kNaN, kNaN); }, all});
        const Projection p = worldMap(code, 0, 0);
        for (const auto& x : points) cases.push_back({name + " point", fwd(p, x[0], x[1]), which[int(x[2])]});
        for (const auto& x : windows)
            cases.push_back({name + " window", inv(p, x[0], x[1]), which[4 + int(x[2])]});
    }
    for (const Case& c : cases) EXPECT_EQ(thrown(c.call), messages(c.expected) + c.more) << c.what;
}
