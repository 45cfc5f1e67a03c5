#include "geodex/catalogues/CRSDB.h"

#include <cstdio>
#include <fstream>

#include "geodex/catalogues/CatalogueFile.h"
#include "geodex/catalogues/EllipsoidDB.h"

namespace Orvale::Geodex {

CRSDB CRSDB::crsDB;

CRSDB::CRSDB() = default;
CRSDB::~CRSDB() = default;
CRSDB::CRSDB(const CRSDB& other) = default;
CRSDB& CRSDB::operator=(const CRSDB& other) = default;

CRSDB* CRSDB::GetInstance() { return &crsDB; }

namespace {

// Reads one line as text mode does: the line end (LF, or CR LF of a file written on Windows) is not
// part of the line. A failed read leaves an empty line.
bool readLine(std::ifstream& in, std::string& line) {
    if (!std::getline(in, line)) {
        line.clear();
        return false;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

}  // namespace

bool CRSDB::LoadCRSs(const std::u16string& path) {
    crss.clear();
    std::ifstream in;
    if (!openCatalogue(path, in, std::ios::openmode())) return false;

    CRS record;
    Ellipsoid ellipsoid;
    ProjectParam projection;
    // An ellipsoid name the ellipsoid catalogue does not know leaves a and f as they were: the previous
    // record's values, and 0 for the first record.
    double a = 0;
    double f = 0;

    std::string line;
    while (readLine(in, line)) {
        if (line != "[crs]") continue;

        readLine(in, line);
        record.SetName(line);
        readLine(in, line);
        EllipsoidDB::GetInstance()->GetEllipsoidParams(line, &a, &f);
        ellipsoid.SetName(line);
        ellipsoid.SetSemiMajorAxis(a);
        ellipsoid.SetFlantening(f);
        record.SetEllipsoid(ellipsoid);

        readLine(in, line);
        int transformMethod = 0;
        double dx = 0, dy = 0, dz = 0, rx = 0, ry = 0, rz = 0, scale = 0;
        if (std::sscanf(line.c_str(), "%d %lf %lf %lf %lf %lf %lf %lf", &transformMethod, &dx, &dy, &dz, &rx,
                        &ry, &rz, &scale) < 8)
            continue;
        record.SetTransformMethod(transformMethod);
        record.SetTransformParams(ParamSeven(dx, dy, dz, rx, ry, rz, scale));

        readLine(in, line);
        int projectMethod = 0;
        if (std::sscanf(line.c_str(), "%d %lf %lf %lf %lf %lf %lf %lf %d %d", &projectMethod,
                        &projection.centralMeridian, &projection.originLatitude,
                        &projection.standardParallel1, &projection.standardParallel2,
                        &projection.falseEasting, &projection.falseNorthing, &projection.scaleFactor,
                        &projection.zone, &projection.zoneOverride) < 10)
            continue;
        record.SetProjectMethod(projectMethod);
        record.SetProjectParams(projection);

        readLine(in, line);
        int direction1 = 0, direction2 = 0, southAzimuth = 0;
        std::sscanf(line.c_str(), "%d %d %d", &direction1, &direction2, &southAzimuth);
        record.SetDirection1(DIRECTION(direction1));
        record.SetDirection2(DIRECTION(direction2));
        record.SetSouthAzimuth(southAzimuth != 0);
        crss.push_back(record);
    }
    return true;
}

void CRSDB::GetCRS(const std::string& name, CRS& out) {
    for (const CRS& c : crss) {
        if (c.GetName() == name) {
            out = c;
            return;
        }
    }
}

std::vector<CRS> CRSDB::GetCRSs() const { return crss; }

}  // namespace Orvale::Geodex
