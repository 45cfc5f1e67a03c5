#pragma once
// Calculate: carries the edits of the base and rover tables into the job model.
//
// The window reads each table row into a RoverRow or BaseRow and keeps the "Edit" marks of the rows; these
// functions do the detection and the arithmetic on local grid values (metres), so they run without widgets.
//
//   QList<bool> marks = ...;                          // "Edit" cell reads "1"
//   recalculateRovers(job.rovers, roverRows, marks, catalogue);
//   recalculateBases(job.bases, job.rovers, baseRows, marks, catalogue);
#include <QList>
#include <QString>
#include <QStringList>

#include "rawfile/JobModel.h"

// The antenna catalogue as the Ant_Manager dialog holds it: names, and parallel to them the entries
// (name, Bottom, Top, Middle) whose offsets belong to the measuring methods 0, 1 and 2.
struct AntennaCatalogueRef {
    const QStringList& names;
    const QList<QStringList>& entries;
};

// What a row of the rover table shows at the moment of Calculate.
struct RoverRow {
    QString name;           // column 0 "Name"
    QString antennaType;    // current text of the antenna-type combo box
    int antennaTypeIndex;   // its current index (-1: no current item, e.g. an empty catalogue)
    QString antennaHeight;  // column 6 "Ant Height"
    int method;             // current index of the method combo box
};

// What a row of the base table shows at the moment of Calculate.
struct BaseRow {
    QString north;          // column 1 "N"
    QString east;           // column 2 "E"
    QString height;         // column 3 "H"
    QString antennaType;    // current text of the antenna-type combo box
    int antennaTypeIndex;   // its current index (-1: no current item)
    QString antennaHeight;  // column 5 "Ant Height"
    int method;             // current index of the method combo box
};

// A table cell as a number: locale-independent decimal text; anything that is not a number gives 0.
double cellNumber(const QString& text);

// True when stored and shown differ by more than 0.001 m either way (exactly 0.001 apart counts as equal).
bool differsBeyondTolerance(double stored, double shown);

// Phase-centre offset (metres) of the catalogue antenna named type for the measuring method; a name that is
// not in the catalogue (first exact match counts) has offset 0.
double antennaOffsetByName(const AntennaCatalogueRef& catalogue, const QString& type, int method);

// Pass 1 tests of one rover row, in their order: antenna type text, antenna height beyond the tolerance,
// method, name (exact, case-sensitive).
bool roverRowChanged(const RoverPoint& rover, const RoverRow& row);

// Pass 2 for one rover: the new height keeps the antenna phase centre where it was measured,
//   height + stored antenna height + old offset - new antenna height - new offset (left to right),
// the old offset by the stored type's name, the new one by the combo box's index. Name, antenna type,
// height and method are taken from the row. North and east are never changed.
void updateRover(RoverPoint& rover, const RoverRow& row, const AntennaCatalogueRef& catalogue);

// Both passes over the rovers: marks[i] is the "Edit" mark of row i; pass 1 sets it for every changed row,
// pass 2 updates every marked rover. Rows past the end of either list are left alone.
void recalculateRovers(QList<RoverPoint>& rovers, const QList<RoverRow>& rows, QList<bool>& marks,
                       const AntennaCatalogueRef& catalogue);

// Shift of a base station's antenna phase centre, carried to every rover measured from it.
struct BaseShift {
    double north = 0.0;   // metres
    double east = 0.0;    // metres
    double height = 0.0;  // metres
};

// Pass 1 tests of one base row: north, east, height beyond the tolerance, antenna type text, antenna height
// beyond the tolerance, method. The name takes no part.
bool baseRowChanged(const BaseStation& base, const BaseRow& row);

// Pass 2 for one base: takes the row's coordinates and antenna set-up and returns the shift of its phase
// centre, dN = newN - oldN, dE = newE - oldE, dH = newTotal + newH - oldH - oldTotal, each total being
// offset + antenna height, both offsets looked up by antenna name.
BaseShift updateBase(BaseStation& base, const BaseRow& row, const AntennaCatalogueRef& catalogue);

// Moves every rover whose base name equals baseName (exact, case-sensitive) by shift. The rovers' own
// copies of their base stay as they are.
void shiftRoversOfBase(QList<RoverPoint>& rovers, const QString& baseName, const BaseShift& shift);

// Both passes over the bases, marks as for the rovers; each updated base moves its rovers.
void recalculateBases(QList<BaseStation>& bases, QList<RoverPoint>& rovers, const QList<BaseRow>& rows,
                      QList<bool>& marks, const AntennaCatalogueRef& catalogue);
