#pragma once
// Calculate: carries the staged edits of the point tables into the job model, on local grid values
// (metres); no geodetic conversion takes place.
//
// - A rover whose antenna type, antenna height or measuring method changed gets the height that keeps its
//   antenna phase centre where it was measured:
//       height + stored antenna height + old offset - new antenna height - new offset   (left to right)
// - A base whose N, E, H or antenna set-up changed moves every rover measured from it by the shift of its
//   phase centre, and each such rover's own copy of the base follows the base, so the vectors from the
//   base (exported, drawn, and written to the file) stay what they are after a save and a reopen.
//
// Offsets come from the antenna catalogue: Bottom, Top, Middle for the methods 0, 1, 2. A type that is not
// in the catalogue, or a method outside 0..2, has offset 0, for rovers and bases alike. Differences of
// 0.001 m or less are no change.
#include <QList>
#include <QString>
#include <QStringList>

#include "PointEdits.h"
#include "rawfile/JobModel.h"

// The antenna catalogue as the Ant_Manager dialog holds it: names, and parallel to them the entries
// (name, Bottom, Top, Middle).
struct AntennaCatalogueRef {
    const QStringList& names;
    const QList<QStringList>& entries;
};

// True when stored and edited differ by more than 0.001 m either way (exactly 0.001 apart is equal).
bool differsBeyondTolerance(double stored, double edited);

// Phase-centre offset (metres) of the catalogue antenna named type (first exact match) for method.
double antennaOffsetByName(const AntennaCatalogueRef& catalogue, const QString& type, int method);

// Whether edit changes rover: antenna type (exact text), antenna height beyond the tolerance, method, name.
bool roverEditChanges(const RoverPoint& rover, const PointEdit& edit);

// Applies edit to rover: new name, antenna set-up and the height that keeps the phase centre in place.
// North and east never change here.
void applyRoverEdit(RoverPoint& rover, const PointEdit& edit, const AntennaCatalogueRef& catalogue);

// Whether edit changes base: N, E, H beyond the tolerance, antenna type, antenna height, method.
bool baseEditChanges(const BaseStation& base, const PointEdit& edit);

// Shift of a base station's antenna phase centre, carried to every rover measured from it.
struct BaseShift {
    double north = 0.0;   // metres
    double east = 0.0;    // metres
    double height = 0.0;  // metres
};

// Applies edit to base and returns the shift of its phase centre:
//   dN = newN - oldN, dE = newE - oldE, dH = newTotal + newH - oldH - oldTotal,
// each total being antenna offset + antenna height.
BaseShift applyBaseEdit(BaseStation& base, const PointEdit& edit, const AntennaCatalogueRef& catalogue);

// Moves a rover measured from a base that changed from before to after: its position by shift, and its
// own copy of the base by the change of the base's position, taking the base's new antenna set-up. A copy
// that equalled the old base exactly becomes the new base exactly.
void followBase(RoverPoint& rover, const BaseStation& before, const BaseStation& after,
                const BaseShift& shift);
