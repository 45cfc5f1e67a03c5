#pragma once
// The job model: everything RawBench keeps of the raw survey file it has opened.
//
//   RawJob job;                           // header and summary defaults, empty lists
//   job.path = fileName;                  // the path is the caller's: stored even when opening fails
//   if (readRawJob(job.path, job)) ...    // RawJobReader.h: replaces header, summary and the three lists
//   writeRawJob(target, job, &error);     // RawJobWriter.h
//
// Invariants kept by every operation of app/rawfile and expected from the window:
// - rovers and groups are parallel: group i holds the stored records of rover i; removing one removes both;
// - groups may be removed and put back at the same index, but are never reordered;
// - base names are unique (exact, case-sensitive); a rover is linked to its base by RoverPoint::baseName
// only.
//
// A job read from a file keeps the file's bytes (RawJob::source, shared between copies) and where each
// point group stands in them, so that Save as writes every line no edit touched exactly as it was read.
#include <QByteArray>
#include <QList>
#include <QtGlobal>
#include <QString>
#include <string>

#include "rawfile/RawRecords.h"

// The header records exactly as read; Save as writes them back unchanged. Starts with empty texts and zeros.
struct JobHeader {
    RawBytes version;  // QZVS "VS  ", e.g. "V1.0" (decides the satellite columns)
    JobRecord job;
    CoordSystemRecord coordSystem;
    EllipsoidRecord ellipsoid;
    DatumRecord datum;
    HorizontalAdjustRecord horizontalAdjust;
    VerticalAdjustRecord verticalAdjust;
    ProjectionRecord projection;
    RawBytes centralMeridian;  // QZMC "MC  ", radians held as decimal text
};

// Display values derived from each header record at the moment it is read; nothing else updates them.
// Units are those of the file except the rotations, which are radians here.
struct JobSummary {
    QString version = QStringLiteral("----");
    QString jobName = QStringLiteral("----");
    QString jobDate = QStringLiteral("----");
    QString jobTime = QStringLiteral("----");
    QString datumName = QStringLiteral("----");

    double semiMajorAxis = 0.0;      // metres
    double inverseFlattening = 0.0;  // 1/f
    QString ellipsoidName = QStringLiteral("----");

    int transformType = 0;      // 1 = seven-parameter transformation in use
    double rotationX = 0.0;     // radians
    double rotationY = 0.0;     // radians
    double rotationZ = 0.0;     // radians
    double translationX = 0.0;  // metres
    double translationY = 0.0;  // metres
    double translationZ = 0.0;  // metres
    double scalePpm = 0.0;      // parts per million

    bool horizontalAdjustInUse = false;
    double originNorth = 0.0;       // metres
    double originEast = 0.0;        // metres
    double translationNorth = 0.0;  // metres
    double translationEast = 0.0;   // metres
    double rotation = 0.0;          // radians
    double scaleFactor = 0.0;       // plane adjustment scale

    bool verticalAdjustInUse = false;
    double a0 = 0.0;  // constant term, metres
    double a1 = 0.0;  // slope towards north, ppm
    double a2 = 0.0;  // slope towards east, ppm
    double x0 = 0.0;  // origin north, metres
    double y0 = 0.0;  // origin east, metres

    int projectionType = 32;                          // 32 = transverse Mercator
    QString originLatitude = QStringLiteral("----");  // radians as decimal text
    double falseNorthing = 0.0;                       // metres
    double falseEasting = 500000.0;                   // metres
    double projectionScaleFactor = 0.0;
    QString centralMeridian = QStringLiteral("----");  // radians as decimal text
};

// One rover point, as shown and edited in the rover table. Its base values are its own copy of the QZBS
// record it was read with; the current base station is found by name in RawJob::bases.
struct RoverPoint {
    QString name = QStringLiteral("----");
    double antennaHeight = 0.0;  // metres
    int antennaMethod = 0;       // 0..2: "Bottom of Antenna-Vertical", "Antenna Phase Center-Vertical",
                                 // "Bottom of Notch-Slant"
    QString antennaType = QStringLiteral("----");
    double hrms = 0.0;  // metres
    double vrms = 0.0;  // metres
    double pdop = 0.0;
    int solutionType = 0;  // 9 = fixed
    QString time = QStringLiteral("----");
    double wgsLatitude = 0.0;   // as in the file
    double wgsLongitude = 0.0;  // as in the file
    double wgsHeight = 0.0;     // ellipsoidal height, metres
    int duration = 0;
    int epochs = 0;
    int gpsSatellites = 0;
    int glonassSatellites = 0;
    int gnssSatellites = 0;
    QString baseName = QStringLiteral("----");
    double baseWgsLatitude = 0.0;
    double baseWgsLongitude = 0.0;
    double baseWgsHeight = 0.0;
    QString baseAntennaType = QStringLiteral("----");
    double baseAntennaHeight = 0.0;  // metres
    int baseAntennaMethod = 0;       // 0..2 as antennaMethod
    QString code = QStringLiteral("----");
    QString echoHeight = QStringLiteral("----");
    double precisionX = 0.0;
    double precisionY = 0.0;
    double precisionH = 0.0;
    QString method = QStringLiteral("----");
    double north = 0.0;       // local grid, metres
    double east = 0.0;        // local grid, metres
    double height = 0.0;      // local grid, metres
    double baseNorth = 0.0;   // the rover's own copy of its base, metres
    double baseEast = 0.0;    // metres
    double baseHeight = 0.0;  // metres
};

// One base station per distinct base name, filled from the first QZBS record that names it.
struct BaseStation {
    QString name = QStringLiteral("----");
    double wgsLatitude = 0.0;
    double wgsLongitude = 0.0;
    double wgsHeight = 0.0;  // ellipsoidal height, metres
    QString antennaType = QStringLiteral("----");
    double antennaHeight = 0.0;  // metres
    int antennaMethod = 0;       // 0..2 as RoverPoint::antennaMethod
    double north = 0.0;          // local grid, metres
    double east = 0.0;           // metres
    double height = 0.0;         // metres
};

// Whether the rover's solution is fixed (solution type 9).
inline bool hasFixedSolution(const RoverPoint& rover) { return rover.solutionType == 9; }

// Whether the file gave a point a WGS 84 position: a record without one reads as 0, 0, 0.
inline bool hasWgsPosition(double latitude, double longitude, double height) {
    return latitude != 0 || longitude != 0 || height != 0;
}

Q_DECLARE_TYPEINFO(RoverPoint, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(BaseStation, Q_RELOCATABLE_TYPE);

// Where one point group stands in RawJob::source: from the start of its GS line to the end of its last
// record line, line end included. Unknown lines between its records belong to it.
struct RawSpan {
    qint64 begin = 0;
    qint64 end = 0;
};
Q_DECLARE_TYPEINFO(RawSpan, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(RawBytes, Q_RELOCATABLE_TYPE);

// The eight stored records of one point group, every field as read. Save as refreshes the fields a
// RoverPoint holds and keeps the others; a record the group lacked keeps its defaults.
struct PointRecordGroup {
    PointRecord point;
    AntennaRecord antenna;
    RawBytes antennaType;  // QZAT "AT  "
    EpochRecord epoch;
    DopRecord dop;
    RoverInfoRecord roverInfo;
    BaseInfoRecord baseInfo;
    AttributeRecord attributes;
    // Index in RawJob::sourceGroups of the lines this group was read from; -1 for a group built in memory.
    qsizetype sourceIndex = -1;
};
Q_DECLARE_TYPEINFO(PointRecordGroup, Q_RELOCATABLE_TYPE);

// The whole job the main window owns.
struct RawJob {
    JobHeader header;
    JobSummary summary;
    QList<RoverPoint> rovers;        // file order
    QList<BaseStation> bases;        // order of first occurrence of each base name
    QList<PointRecordGroup> groups;  // parallel to rovers
    QString path;                    // path of the opened file (the caller sets it)

    // What Save as needs to write unedited lines back byte for byte (all empty for a job built in memory,
    // which is written entirely in the record formats).
    bool readFromFile = false;       // set by the reader: source holds the bytes the job was read from
    QByteArray source;               // the opened file's bytes, exactly as read
    QList<RawSpan> sourceGroups;     // every point group of source in file order, deleted ones included
};

