#include "Recalculation.h"

#include "AntennaCatalogue.h"

namespace {

constexpr double kTolerance = 0.001;  // metres

// A copy coordinate that was the old base value becomes the new one exactly; any other follows the shift.
double follow(double copy, double oldValue, double newValue) {
    return copy == oldValue ? newValue : copy + (newValue - oldValue);
}

}  // namespace

bool differsBeyondTolerance(double stored, double edited) {
    const double difference = stored - edited;
    return difference > kTolerance || difference < -kTolerance;
}

double antennaOffsetByName(const AntennaCatalogueRef& catalogue, const QString& type, int method) {
    // A name missing from the catalogue gives index -1, which has offset 0.
    return antennaOffset(catalogue.entries, static_cast<int>(catalogue.names.indexOf(type)), method);
}

bool roverEditChanges(const RoverPoint& rover, const PointEdit& edit) {
    return (edit.antennaType && *edit.antennaType != rover.antennaType) ||
           (edit.antennaHeight && differsBeyondTolerance(rover.antennaHeight, *edit.antennaHeight)) ||
           (edit.antennaMethod && *edit.antennaMethod != rover.antennaMethod) ||
           (edit.name && *edit.name != rover.name);
}

void applyRoverEdit(RoverPoint& rover, const PointEdit& edit, const AntennaCatalogueRef& catalogue) {
    const QString newType = edit.antennaType.value_or(rover.antennaType);
    const int newMethod = edit.antennaMethod.value_or(rover.antennaMethod);
    const double newAntennaHeight = edit.antennaHeight.value_or(rover.antennaHeight);
    const double oldOffset = antennaOffsetByName(catalogue, rover.antennaType, rover.antennaMethod);
    const double newOffset = antennaOffsetByName(catalogue, newType, newMethod);
    rover.height = rover.height + rover.antennaHeight + oldOffset - newAntennaHeight - newOffset;
    rover.name = edit.name.value_or(rover.name);
    rover.antennaType = newType;
    rover.antennaHeight = newAntennaHeight;
    rover.antennaMethod = newMethod;
}

bool baseEditChanges(const BaseStation& base, const PointEdit& edit) {
    return (edit.north && differsBeyondTolerance(base.north, *edit.north)) ||
           (edit.east && differsBeyondTolerance(base.east, *edit.east)) ||
           (edit.height && differsBeyondTolerance(base.height, *edit.height)) ||
           (edit.antennaType && *edit.antennaType != base.antennaType) ||
           (edit.antennaHeight && differsBeyondTolerance(base.antennaHeight, *edit.antennaHeight)) ||
           (edit.antennaMethod && *edit.antennaMethod != base.antennaMethod);
}

BaseShift applyBaseEdit(BaseStation& base, const PointEdit& edit, const AntennaCatalogueRef& catalogue) {
    const double oldN = base.north;
    const double oldE = base.east;
    const double oldH = base.height;
    const double oldTotal =
        antennaOffsetByName(catalogue, base.antennaType, base.antennaMethod) + base.antennaHeight;

    const double newN = edit.north.value_or(oldN);
    const double newE = edit.east.value_or(oldE);
    const double newH = edit.height.value_or(oldH);
    const QString newType = edit.antennaType.value_or(base.antennaType);
    const int newMethod = edit.antennaMethod.value_or(base.antennaMethod);
    const double newAntennaHeight = edit.antennaHeight.value_or(base.antennaHeight);
    const double newTotal = antennaOffsetByName(catalogue, newType, newMethod) + newAntennaHeight;

    BaseShift shift;
    shift.north = newN - oldN;
    shift.east = newE - oldE;
    shift.height = newTotal + newH - oldH - oldTotal;

    base.north = newN;
    base.east = newE;
    base.height = newH;
    base.antennaType = newType;
    base.antennaHeight = newAntennaHeight;
    base.antennaMethod = newMethod;
    return shift;
}

void followBase(RoverPoint& rover, const BaseStation& before, const BaseStation& after,
                const BaseShift& shift) {
    rover.north += shift.north;
    rover.east += shift.east;
    rover.height += shift.height;
    rover.baseNorth = follow(rover.baseNorth, before.north, after.north);
    rover.baseEast = follow(rover.baseEast, before.east, after.east);
    rover.baseHeight = follow(rover.baseHeight, before.height, after.height);
    rover.baseAntennaType = after.antennaType;
    rover.baseAntennaHeight = after.antennaHeight;
    rover.baseAntennaMethod = after.antennaMethod;
}
