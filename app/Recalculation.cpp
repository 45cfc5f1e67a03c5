#include "Recalculation.h"

#include <algorithm>

#include "AntennaCatalogue.h"

namespace {

constexpr double kTolerance = 0.001;  // metres

// With an empty catalogue the antenna-type combo box has no current item and offers no choice: the stored
// antenna type stays, rather than being replaced by an empty name.
QString chosenType(const QString& stored, const QString& shown, int shownIndex) {
    return shownIndex < 0 ? stored : shown;
}

}  // namespace

double cellNumber(const QString& text) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? value : 0.0;
}

bool differsBeyondTolerance(double stored, double shown) {
    const double difference = stored - shown;
    return difference > kTolerance || difference < -kTolerance;
}

double antennaOffsetByName(const AntennaCatalogueRef& catalogue, const QString& type, int method) {
    // A name missing from the catalogue gives index -1, which has offset 0.
    return antennaOffset(catalogue.entries, static_cast<int>(catalogue.names.indexOf(type)), method);
}

bool roverRowChanged(const RoverPoint& rover, const RoverRow& row) {
    return chosenType(rover.antennaType, row.antennaType, row.antennaTypeIndex) != rover.antennaType ||
           differsBeyondTolerance(rover.antennaHeight, cellNumber(row.antennaHeight)) ||
           row.method != rover.antennaMethod || row.name != rover.name;
}

void updateRover(RoverPoint& rover, const RoverRow& row, const AntennaCatalogueRef& catalogue) {
    const double oldOffset = antennaOffsetByName(catalogue, rover.antennaType, rover.antennaMethod);
    const int newMethod = row.method;
    // The rover's new antenna is the catalogue entry at the combo box's index.
    const double newOffset = antennaOffset(catalogue.entries, row.antennaTypeIndex, newMethod);
    const double newAntennaHeight = cellNumber(row.antennaHeight);
    rover.height = rover.height + rover.antennaHeight + oldOffset - newAntennaHeight - newOffset;
    rover.name = row.name;
    rover.antennaType = chosenType(rover.antennaType, row.antennaType, row.antennaTypeIndex);
    rover.antennaHeight = newAntennaHeight;
    rover.antennaMethod = newMethod;
}

void recalculateRovers(QList<RoverPoint>& rovers, const QList<RoverRow>& rows, QList<bool>& marks,
                       const AntennaCatalogueRef& catalogue) {
    const qsizetype count = std::min({rovers.size(), rows.size(), marks.size()});
    for (qsizetype i = 0; i < count; ++i)
        if (roverRowChanged(rovers[i], rows[i])) marks[i] = true;
    for (qsizetype i = 0; i < count; ++i)
        if (marks[i]) updateRover(rovers[i], rows[i], catalogue);
}

bool baseRowChanged(const BaseStation& base, const BaseRow& row) {
    return differsBeyondTolerance(base.north, cellNumber(row.north)) ||
           differsBeyondTolerance(base.east, cellNumber(row.east)) ||
           differsBeyondTolerance(base.height, cellNumber(row.height)) ||
           chosenType(base.antennaType, row.antennaType, row.antennaTypeIndex) != base.antennaType ||
           differsBeyondTolerance(base.antennaHeight, cellNumber(row.antennaHeight)) ||
           row.method != base.antennaMethod;
}

BaseShift updateBase(BaseStation& base, const BaseRow& row, const AntennaCatalogueRef& catalogue) {
    const double oldN = base.north;
    const double oldE = base.east;
    const double oldH = base.height;
    const double oldTotal =
        antennaOffsetByName(catalogue, base.antennaType, base.antennaMethod) + base.antennaHeight;

    const double newN = cellNumber(row.north);
    const double newE = cellNumber(row.east);
    const double newH = cellNumber(row.height);
    // The base's new antenna is looked up by the combo box's text.
    const QString newType = chosenType(base.antennaType, row.antennaType, row.antennaTypeIndex);
    const int newMethod = row.method;
    const double newAntennaHeight = cellNumber(row.antennaHeight);
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

void shiftRoversOfBase(QList<RoverPoint>& rovers, const QString& baseName, const BaseShift& shift) {
    for (RoverPoint& rover : rovers) {
        if (rover.baseName != baseName) continue;
        rover.north += shift.north;
        rover.east += shift.east;
        rover.height += shift.height;
    }
}

void recalculateBases(QList<BaseStation>& bases, QList<RoverPoint>& rovers, const QList<BaseRow>& rows,
                      QList<bool>& marks, const AntennaCatalogueRef& catalogue) {
    const qsizetype count = std::min({bases.size(), rows.size(), marks.size()});
    for (qsizetype i = 0; i < count; ++i)
        if (baseRowChanged(bases[i], rows[i])) marks[i] = true;
    for (qsizetype i = 0; i < count; ++i) {
        if (!marks[i]) continue;
        const BaseShift shift = updateBase(bases[i], rows[i], catalogue);
        shiftRoversOfBase(rovers, bases[i].name, shift);
    }
}
