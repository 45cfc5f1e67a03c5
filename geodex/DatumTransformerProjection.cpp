// DatumTransformer: projection dispatch and the local ↔ geocentric conversions.
#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>
#include <utility>

#include "geodex/DatumTransformer.h"
#include "geodex/projections/CoordinateType.h"
#include "geodex/projections/GeodeticCoordinates.h"
#include "geodex/projections/MapProjectionCoordinates.h"
#include "geodex/projections/UTMCoordinates.h"

// The projection classes, one block per family.
// Transverse Mercator and UTM
#include "geodex/projections/TransverseMercator.h"
#include "geodex/projections/UTM.h"
// Lambert conformal conics
#include "geodex/projections/LambertConformalConic.h"
#include "geodex/projections/PolarLambertConformalConic.h"
// Albers, Bonne and polyconic
#include "geodex/projections/AlbersEqualAreaConic.h"
#include "geodex/projections/Bonne.h"
#include "geodex/projections/Polyconic.h"
// Ellipsoidal cylindrical
#include "geodex/projections/Cassini.h"
#include "geodex/projections/CylindricalEqualArea.h"
#include "geodex/projections/Mercator.h"
#include "geodex/projections/TransverseCylindricalEqualArea.h"
// World projections
#include "geodex/projections/EckertIV.h"
#include "geodex/projections/EckertVI.h"
#include "geodex/projections/EquidistantCylindrical.h"
#include "geodex/projections/MillerCylindrical.h"
#include "geodex/projections/Mollweide.h"
#include "geodex/projections/Sinusoidal.h"
#include "geodex/projections/VanDerGrinten.h"
// Azimuthal
#include "geodex/projections/AzimuthalEquidistant.h"
#include "geodex/projections/Gnomonic.h"
#include "geodex/projections/Orthographic.h"
#include "geodex/projections/PolarStereographic.h"
#include "geodex/projections/Stereographic.h"
// Krovak
#include "geodex/projections/Krovak.h"

namespace Orvale::Geodex {

// A built projection object behind one interface, with the inputs it was built from.
class DatumTransformer::ProjectionEntry {
  public:
    virtual ~ProjectionEntry() = default;
    // Latitude, longitude (radians) → northing, easting (metres); throws like the class's project.
    virtual void project(double latitude, double longitude, double height, double& northing,
                         double& easting) const = 0;
    // Northing, easting (metres) → latitude, longitude (radians); code 34 reads zone and hemisphere
    // from `params`. Throws like the class's backProject.
    virtual void backProject(double northing, double easting, const ProjectParam& params, double& latitude,
                             double& longitude) const = 0;

    // What the object was built from: the method, the ellipsoid and every slot before construction,
    // and the scale-factor slot after it (code 17 writes its derived scale factor there).
    int code = 0;
    double a = 0;
    double f = 0;
    ProjectParam params;
    double scaleFactorAfter = 0;
};

namespace {

// Whether a projection class converts plain doubles: project(λ, φ, E, N) and backProject(E, N, λ, φ).
template <typename Projection, typename = void>
struct HasPlainProject : std::false_type {};
template <typename Projection>
struct HasPlainProject<Projection, std::void_t<decltype(std::declval<const Projection&>().project(
                                       0.0, 0.0, std::declval<double&>(), std::declval<double&>()))>>
    : std::true_type {};
template <typename Projection, typename = void>
struct HasPlainBackProject : std::false_type {};
template <typename Projection>
struct HasPlainBackProject<Projection,
                           std::void_t<decltype(std::declval<const Projection&>().backProject(
                               0.0, 0.0, std::declval<double&>(), std::declval<double&>()))>>
    : std::true_type {};

// One projection class behind the entry's interface. Where the class converts plain doubles the point
// goes through those (no tuple per point; the tuple forms are built from the same code, so the values
// are the same); otherwise through its tuple forms. Either way the warning is not read.
template <typename Projection>
class Built final : public DatumTransformer::ProjectionEntry {
  public:
    template <typename... Args>
    explicit Built(Args&&... args) : projection(std::forward<Args>(args)...) {}

    void project(double latitude, double longitude, double height, double& northing,
                 double& easting) const override {
        if constexpr (HasPlainProject<Projection>::value) {
            double e = 0;
            double n = 0;
            projection.project(longitude, latitude, e, n);
            northing = n;
            easting = e;
        } else {
            const GeodeticCoordinates point(CoordinateType::geodetic, longitude, latitude, height);
            using Result = std::remove_pointer_t<decltype(projection.project(point))>;
            const std::unique_ptr<Result> result(projection.project(point));
            northing = result->northing();
            easting = result->easting();
        }
    }

    void backProject(double northing, double easting, const ProjectParam& params, double& latitude,
                     double& longitude) const override {
        double lon = 0;
        double lat = 0;
        if constexpr (std::is_same_v<Projection, UTM>) {
            // UTM reads grid coordinates of the configured zone and hemisphere.
            projection.backProject(params.zone, params.hemisphere, easting, northing, lon, lat);
        } else if constexpr (HasPlainBackProject<Projection>::value) {
            projection.backProject(easting, northing, lon, lat);
        } else {
            const std::unique_ptr<GeodeticCoordinates> result(projection.backProject(
                MapProjectionCoordinates(CoordinateType::transverseMercator, easting, northing)));
            lon = result->longitude();
            lat = result->latitude();
        }
        latitude = lat;
        longitude = lon;
    }

  private:
    Projection projection;
};

template <typename Projection>
struct As {};
template <typename Projection>
constexpr As<Projection> as{};

// Builds the class of the table below from the given constructor arguments.
struct Build {
    template <typename Projection, typename... Args>
    std::unique_ptr<DatumTransformer::ProjectionEntry> operator()(As<Projection>, Args&&... args) const {
        return std::make_unique<Built<Projection>>(std::forward<Args>(args)...);
    }
};

// The dispatch table: builds the projection class that `code` names on the ellipsoid (a, f) from the
// parameter slots of `p`. A code without a class (3, 9 to 12, 16, 19, 22, 24, 33, 35, anything outside
// 0 to 37) builds nothing and returns nullptr. Code 17 writes the scale factor its constructor derives
// into p.scaleFactor.
std::unique_ptr<DatumTransformer::ProjectionEntry> buildProjection(int code, double a, double f,
                                                                   ProjectParam& p) {
    const Build build;
    const double CM = p.centralMeridian;
    const double OL = p.originLatitude;
    const double FE = p.falseEasting;
    const double FN = p.falseNorthing;
    const double k = p.scaleFactor;
    const double SP1 = p.standardParallel1;
    const double SP2 = p.standardParallel2;
    // clang-format off
    switch (code) {
        // Transverse Mercator and UTM
        case 32: return build(as<TransverseMercator>, a, f, CM, OL, FE, FN, k);
        case 34: return build(as<UTM>, a, f, p.zoneOverride);
        // Lambert conformal conics
        case 14: return build(as<LambertConformalConic>, a, f, CM, OL, FE, FN, k);
        case 15: return build(as<LambertConformalConic>, a, f, CM, OL, SP1, SP2, FE, FN);
        case 23: return build(as<PolarLambertConformalConic>, a, f, CM, OL, SP1, FE, FN);
        // Albers, Bonne and polyconic
        case 0: return build(as<AlbersEqualAreaConic>, a, f, CM, OL, SP1, SP2, FE, FN);
        case 2: return build(as<Bonne>, a, f, CM, OL, FE, FN);
        case 28: return build(as<Polyconic>, a, f, CM, OL, FE, FN);
        // Ellipsoidal cylindrical
        case 4: return build(as<Cassini>, a, f, CM, OL, FE, FN);
        case 5: return build(as<CylindricalEqualArea>, a, f, CM, OL, FE, FN);
        case 17: return build(as<Mercator>, a, f, CM, SP1, FE, FN, p.scaleFactor);
        case 18: return build(as<Mercator>, a, f, CM, FE, FN, k);
        case 31: return build(as<TransverseCylindricalEqualArea>, a, f, CM, OL, FE, FN, k);
        // World projections
        case 6: return build(as<EckertIV>, a, f, CM, FE, FN);
        case 7: return build(as<EckertVI>, a, f, CM, FE, FN);
        case 8: return build(as<EquidistantCylindrical>, a, f, CM, SP1, FE, FN);
        case 20: return build(as<MillerCylindrical>, a, f, CM, FE, FN);
        case 21: return build(as<Mollweide>, a, f, CM, FE, FN);
        case 29: return build(as<Sinusoidal>, a, f, CM, FE, FN);
        case 36: return build(as<VanDerGrinten>, a, f, CM, FE, FN);
        // Azimuthal
        case 1: return build(as<AzimuthalEquidistant>, a, f, CM, OL, FE, FN);
        case 13: return build(as<Gnomonic>, a, f, CM, OL, FE, FN);
        case 25: return build(as<Orthographic>, a, f, CM, OL, FE, FN);
        case 26: return build(as<PolarStereographic>, a, f, CM, SP1, FE, FN);
        case 27: return build(as<PolarStereographic>, a, f, CM, k, p.hemisphere, FE, FN);
        case 30: return build(as<Stereographic>, a, f, CM, OL, FE, FN);
        // Krovak: CM slot = latitude of the projection centre, OL slot = longitude of origin
        case 37: return build(as<Krovak>, a, f, CM, OL, p.coneAxisColatitude, SP1, k, FN, FE);
        default: return nullptr;
    }
    // clang-format on
}

// Bitwise equality: a NaN equals only the same NaN, and 0 differs from −0.
bool sameBits(double x, double y) {
    std::uint64_t bx = 0;
    std::uint64_t by = 0;
    std::memcpy(&bx, &x, sizeof x);
    std::memcpy(&by, &y, sizeof y);
    return bx == by;
}

bool sameParams(const ProjectParam& x, const ProjectParam& y) {
    return sameBits(x.centralMeridian, y.centralMeridian) && sameBits(x.originLatitude, y.originLatitude) &&
           sameBits(x.falseEasting, y.falseEasting) && sameBits(x.falseNorthing, y.falseNorthing) &&
           sameBits(x.scaleFactor, y.scaleFactor) && sameBits(x.standardParallel1, y.standardParallel1) &&
           sameBits(x.standardParallel2, y.standardParallel2) && x.zone == y.zone &&
           x.zoneOverride == y.zoneOverride && x.hemisphere == y.hemisphere &&
           sameBits(x.coneAxisColatitude, y.coneAxisColatitude);
}

}  // namespace

DatumTransformer::KeptProjection::KeptProjection(KeptProjection&& other) noexcept : entry(other.entry) {
    other.entry = nullptr;
}

DatumTransformer::KeptProjection& DatumTransformer::KeptProjection::operator=(
    const KeptProjection& other) noexcept {
    if (this != &other) reset();
    return *this;
}

DatumTransformer::KeptProjection& DatumTransformer::KeptProjection::operator=(
    KeptProjection&& other) noexcept {
    if (this != &other) {
        reset(other.entry);
        other.entry = nullptr;
    }
    return *this;
}

DatumTransformer::KeptProjection::~KeptProjection() { reset(); }

void DatumTransformer::KeptProjection::reset(ProjectionEntry* replacement) noexcept {
    delete entry;
    entry = replacement;
}

const DatumTransformer::ProjectionEntry* DatumTransformer::currentProjection() {
    const double a = dstEllipsoid.a;
    const double f = dstEllipsoid.f;
    const ProjectionEntry* kept = keptProjection.entry;
    if (kept && kept->code == projectionMethod && sameBits(kept->a, a) && sameBits(kept->f, f) &&
        sameParams(kept->params, projectParams)) {
        // The constructor would write the same value again (code 17; the slot is unchanged otherwise).
        projectParams.scaleFactor = kept->scaleFactorAfter;
        return kept;
    }
    // A code without a class, or a constructor that throws, keeps nothing: the next call builds (and
    // throws) again.
    keptProjection.reset();
    const ProjectParam before = projectParams;
    std::unique_ptr<ProjectionEntry> built = buildProjection(projectionMethod, a, f, projectParams);
    if (!built) return nullptr;
    built->code = projectionMethod;
    built->a = a;
    built->f = f;
    built->params = before;
    built->scaleFactorAfter = projectParams.scaleFactor;
    keptProjection.reset(built.release());
    return keptProjection.entry;
}

void DatumTransformer::Projecting(double latitude, double longitude, double height, double& northing,
                                  double& easting, double& heightOut) {
    const ProjectionEntry* projection = currentProjection();
    if (!projection) return;
    projection->project(latitude, longitude, height, northing, easting);
    heightOut = height;
}

void DatumTransformer::BackProjecting(double northing, double easting, double height, double& latitude,
                                      double& longitude, double& heightOut) {
    heightOut = height;
    backProjectPoint(northing, easting, latitude, longitude);
}

bool DatumTransformer::backProjectPoint(double northing, double easting, double& latitude,
                                        double& longitude) {
    const ProjectionEntry* projection = currentProjection();
    if (!projection) return false;
    projection->backProject(northing, easting, projectParams, latitude, longitude);
    return true;
}

// Without a projection class there is no geodetic point to convert: X, Y and Z are left as they were.
void DatumTransformer::LocalToGeocentric(double a, double f, double northing, double easting, double height,
                                         double& X, double& Y, double& Z) {
    double latitude = 0;
    double longitude = 0;
    if (!backProjectPoint(northing, easting, latitude, longitude)) return;
    GeodeticToGeocentric(a, f, longitude, latitude, height, X, Y, Z);
}

void DatumTransformer::GeocentricToLocal(double a, double f, double X, double Y, double Z, double& northing,
                                         double& easting, double& height) {
    double latitude = 0;
    double longitude = 0;
    double h = 0;
    GeocentricToGeodetic(a, f, X, Y, Z, latitude, longitude, h);
    Projecting(latitude, longitude, h, northing, easting, height);
}

}  // namespace Orvale::Geodex
