// Calculate: detection and arithmetic as plain functions, and the same cases through the real widgets.
#include <gtest/gtest.h>

#include <tuple>

#include "Ant_Manager.h"
#include "EditingTestSupport.h"
#include "Recalculation.h"

namespace {

const QStringList kNames = {"HX-CSX601A", "TRM57971.00"};
const QList<QStringList> kEntries = {{"HX-CSX601A", "0.060", "0.120", "0.090"},
                                     {"TRM57971.00", "0.065", "0.128", "0.095"}};
const AntennaCatalogueRef kCatalogue{kNames, kEntries};
const QStringList kNoNames;
const QList<QStringList> kNoEntries;
const AntennaCatalogueRef kEmptyCatalogue{kNoNames, kNoEntries};

RoverPoint rover(const QString& name, double height, const QString& base = "B1") {
    RoverPoint r;
    r.name = name;
    r.antennaType = "HX-CSX601A";
    r.antennaHeight = 1.8;
    r.antennaMethod = 0;
    r.north = 4000100.5;
    r.east = 500200.25;
    r.height = height;
    r.baseName = base;
    r.baseNorth = 4000000.0;
    r.baseEast = 500000.0;
    r.baseHeight = 48.0;
    return r;
}

// The row a freshly filled table shows for r.
RoverRow rowOf(const RoverPoint& r) {
    return RoverRow{r.name, r.antennaType, static_cast<int>(kNames.indexOf(r.antennaType)),
                    QString::number(r.antennaHeight, 'f', 4), r.antennaMethod};
}

BaseStation base(const QString& name = "B1") {
    BaseStation b;
    b.name = name;
    b.antennaType = "HX-CSX601A";
    b.antennaHeight = 1.5;
    b.antennaMethod = 0;
    b.north = 4000000.0;
    b.east = 500000.0;
    b.height = 48.0;
    return b;
}

BaseRow rowOf(const BaseStation& b) {
    auto f = [](double v) { return QString::number(v, 'f', 4); };
    return BaseRow{f(b.north),
                   f(b.east),
                   f(b.height),
                   b.antennaType,
                   static_cast<int>(kNames.indexOf(b.antennaType)),
                   f(b.antennaHeight),
                   b.antennaMethod};
}

TEST(Recalculation, ToleranceCountsExactlyOneMillimetreAsEqual) {
    struct Case {
        double stored, shown;
        bool differs;
    };
    const Case cases[] = {{0.001, 0.0, false},  {0.0, 0.001, false}, {0.001, 0.002, false},
                          {1.8, 1.8005, false}, {1.8, 1.8020, true}, {1.8, 1.7980, true},
                          {0.0, 0.0011, true},  {0.0011, 0.0, true}, {100.0, 100.0, false}};
    for (const Case& c : cases)
        EXPECT_EQ(differsBeyondTolerance(c.stored, c.shown), c.differs) << c.stored << " vs " << c.shown;
}

TEST(Recalculation, CellTextsConvertLocaleIndependentlyAndNonNumbersGiveZero) {
    EXPECT_DOUBLE_EQ(cellNumber("1.8000"), 1.8);
    EXPECT_DOUBLE_EQ(cellNumber("-0.035"), -0.035);
    EXPECT_DOUBLE_EQ(cellNumber("1,8"), 0.0);
    EXPECT_DOUBLE_EQ(cellNumber("abc"), 0.0);
    EXPECT_DOUBLE_EQ(cellNumber(""), 0.0);
}

TEST(Recalculation, RoverEditsGiveTheHandComputedHeights) {
    struct Case {
        const char* what;
        QString antennaHeight;
        int method;
        int typeIndex;
        double height;  // expected, hand computed from the catalogue above
        double antennaHeightAfter;
    };
    const Case cases[] = {
        // 100.000 + 1.800 + 0.060 - 2.000 - 0.060
        {"antenna height 1.800 to 2.000", "2.0000", 0, 0, 99.800, 2.0},
        // method 0 to 1 changes the height by Bottom - Top = 0.060 - 0.120
        {"method 0 to 1", "1.8000", 1, 0, 99.940, 1.8},
        // method 0 to 2: Bottom - Middle = 0.060 - 0.090
        {"method 0 to 2", "1.8000", 2, 0, 99.970, 1.8},
        // antenna HX to TRM, Bottom 0.060 to 0.065
        {"antenna type by index", "1.8000", 0, 1, 99.995, 1.8},
        {"change by 0.002 is taken", "1.8020", 0, 0, 99.998, 1.802},
        {"change by 0.0005 is not seen", "1.8005", 0, 0, 100.0, 1.8},
        {"text that is not a number counts as 0", "x", 0, 0, 101.8, 0.0},
    };
    for (const Case& c : cases) {
        QList<RoverPoint> rovers = {rover("P1", 100.0)};
        RoverRow row = rowOf(rovers[0]);
        row.antennaHeight = c.antennaHeight;
        row.method = c.method;
        row.antennaTypeIndex = c.typeIndex;
        row.antennaType = kNames[c.typeIndex];
        QList<bool> marks = {false};
        recalculateRovers(rovers, {row}, marks, kCatalogue);
        EXPECT_NEAR(rovers[0].height, c.height, 1e-9) << c.what;
        EXPECT_DOUBLE_EQ(rovers[0].antennaHeight, c.antennaHeightAfter) << c.what;
        EXPECT_EQ(rovers[0].antennaMethod, c.method) << c.what;
        EXPECT_EQ(rovers[0].antennaType, kNames[c.typeIndex]) << c.what;
        EXPECT_DOUBLE_EQ(rovers[0].north, 4000100.5) << c.what;
        EXPECT_DOUBLE_EQ(rovers[0].east, 500200.25) << c.what;
    }
}

TEST(Recalculation, RenamedRoverKeepsItsHeightAndOnlyChangedRowsAreMarked) {
    QList<RoverPoint> rovers = {rover("P1", 50.0), rover("P2", 51.0), rover("P3", 52.0)};
    QList<RoverRow> rows = {rowOf(rovers[0]), rowOf(rovers[1]), rowOf(rovers[2])};
    rows[1].name = "P2-renamed";
    QList<bool> marks = {false, false, false};
    recalculateRovers(rovers, rows, marks, kCatalogue);
    EXPECT_EQ(marks, (QList<bool>{false, true, false}));
    EXPECT_EQ(rovers[1].name, "P2-renamed");
    EXPECT_NEAR(rovers[1].height, 51.0, 1e-12);
    // A name differing only in letter case is a change too.
    rows[1].name = "p2-RENAMED";
    EXPECT_TRUE(roverRowChanged(rovers[1], rows[1]));
}

TEST(Recalculation, UnknownStoredAntennaTypeHasOffsetZeroForRoversAndBases) {
    // The combo box shows the first catalogue name for a type it does not know; Calculate takes it.
    RoverPoint r = rover("P1", 100.0);
    r.antennaType = "UNKNOWN";
    QList<RoverPoint> rovers = {r};
    RoverRow row = rowOf(rover("P1", 100.0));  // HX-CSX601A, index 0
    QList<bool> marks = {false};
    recalculateRovers(rovers, {row}, marks, kCatalogue);
    EXPECT_TRUE(marks[0]);
    EXPECT_NEAR(rovers[0].height, 100.0 - 0.060, 1e-9);  // old offset 0, new Bottom 0.060
    EXPECT_EQ(rovers[0].antennaType, "HX-CSX601A");

    BaseStation b = base();
    b.antennaType = "UNKNOWN";
    QList<BaseStation> bases = {b};
    QList<RoverPoint> itsRovers = {rover("P1", 100.0)};
    QList<bool> baseMarks = {false};
    recalculateBases(bases, itsRovers, {rowOf(base())}, baseMarks, kCatalogue);
    EXPECT_TRUE(baseMarks[0]);
    EXPECT_NEAR(itsRovers[0].height, 100.0 + 0.060, 1e-9);  // phase centre raised by the new Bottom
}

TEST(Recalculation, EmptyCatalogueKeepsAntennaTypesAndUsesOffsetZero) {
    QList<RoverPoint> rovers = {rover("P1", 100.0)};
    RoverRow row{"P1", QString(), -1, "2.0000", 0};
    QList<bool> marks = {false};
    recalculateRovers(rovers, {row}, marks, kEmptyCatalogue);
    EXPECT_NEAR(rovers[0].height, 99.8, 1e-9);  // 100 + 1.8 + 0 - 2.0 - 0
    EXPECT_EQ(rovers[0].antennaType, "HX-CSX601A");

    // Nothing edited: no combo box choice is no change.
    QList<RoverPoint> untouched = {rover("P1", 100.0)};
    QList<bool> none = {false};
    recalculateRovers(untouched, {RoverRow{"P1", QString(), -1, "1.8000", 0}}, none, kEmptyCatalogue);
    EXPECT_FALSE(none[0]);

    QList<BaseStation> bases = {base()};
    BaseRow baseRow = rowOf(base());
    baseRow.antennaType.clear();
    baseRow.antennaTypeIndex = -1;
    baseRow.antennaHeight = "1.6000";
    QList<RoverPoint> itsRovers = {rover("P1", 100.0)};
    QList<bool> baseMarks = {false};
    recalculateBases(bases, itsRovers, {baseRow}, baseMarks, kEmptyCatalogue);
    EXPECT_EQ(bases[0].antennaType, "HX-CSX601A");
    EXPECT_NEAR(itsRovers[0].height, 100.1, 1e-9);
}

TEST(Recalculation, MovedBaseMovesItsRoversButNotTheirBaseCopiesNorOtherRovers) {
    QList<BaseStation> bases = {base("B1"), base("B2")};
    bases[1].north = 4000200.0;
    QList<RoverPoint> rovers = {rover("P1", 50.0, "B1"), rover("P2", 52.0, "B2"), rover("P3", 49.0, "B1"),
                                rover("P4", 47.0, "b1")};
    QList<BaseRow> rows = {rowOf(bases[0]), rowOf(bases[1])};
    rows[0].north = "4000000.5000";
    QList<bool> marks = {false, false};
    recalculateBases(bases, rovers, rows, marks, kCatalogue);
    EXPECT_EQ(marks, (QList<bool>{true, false}));
    EXPECT_DOUBLE_EQ(bases[0].north, 4000000.5);
    EXPECT_DOUBLE_EQ(rovers[0].north, 4000101.0);
    EXPECT_DOUBLE_EQ(rovers[2].north, 4000101.0);
    EXPECT_DOUBLE_EQ(rovers[1].north, 4000100.5);  // other base
    EXPECT_DOUBLE_EQ(rovers[3].north, 4000100.5);  // base name differs in letter case
    for (const RoverPoint& r : rovers) {
        EXPECT_DOUBLE_EQ(r.baseNorth, 4000000.0) << r.name.toStdString();
        EXPECT_DOUBLE_EQ(r.east, 500200.25) << r.name.toStdString();
    }
    EXPECT_NEAR(rovers[0].height, 50.0, 1e-9);
}

TEST(Recalculation, BaseShiftFollowsItsAntennaPhaseCentre) {
    struct Case {
        const char* what;
        QString height, antennaHeight;
        int method, typeIndex;
        double baseHeight, dH;  // hand computed
    };
    const Case cases[] = {
        {"antenna height 1.5 to 1.6", "48.0000", "1.6000", 0, 0, 48.0, 0.1},
        {"ground height 48 to 47.5", "47.5000", "1.5000", 0, 0, 47.5, -0.5},
        {"method 0 to 1: Top - Bottom", "48.0000", "1.5000", 1, 0, 48.0, 0.060},
        // base antenna looked up by name: TRM Bottom 0.065 against HX Bottom 0.060
        {"antenna type", "48.0000", "1.5000", 0, 1, 48.0, 0.005},
        {"height and antenna height cancel", "47.9000", "1.6000", 0, 0, 47.9, 0.0},
    };
    for (const Case& c : cases) {
        QList<BaseStation> bases = {base()};
        QList<RoverPoint> rovers = {rover("P1", 50.0)};
        BaseRow row = rowOf(bases[0]);
        row.height = c.height;
        row.antennaHeight = c.antennaHeight;
        row.method = c.method;
        row.antennaTypeIndex = c.typeIndex;
        row.antennaType = kNames[c.typeIndex];
        QList<bool> marks = {false};
        recalculateBases(bases, rovers, {row}, marks, kCatalogue);
        EXPECT_TRUE(marks[0]) << c.what;
        EXPECT_DOUBLE_EQ(bases[0].height, c.baseHeight) << c.what;
        EXPECT_NEAR(rovers[0].height, 50.0 + c.dH, 1e-9) << c.what;
        EXPECT_DOUBLE_EQ(rovers[0].north, 4000100.5) << c.what;
        EXPECT_EQ(bases[0].antennaMethod, c.method) << c.what;
        EXPECT_EQ(bases[0].antennaType, kNames[c.typeIndex]) << c.what;
    }
}

TEST(Recalculation, UnchangedRowsChangeNothing) {
    QList<BaseStation> bases = {base()};
    QList<RoverPoint> rovers = {rover("P1", 50.0)};
    QList<bool> roverMarks = {false};
    QList<bool> baseMarks = {false};
    recalculateRovers(rovers, {rowOf(rovers[0])}, roverMarks, kCatalogue);
    recalculateBases(bases, rovers, {rowOf(bases[0])}, baseMarks, kCatalogue);
    EXPECT_FALSE(roverMarks[0]);
    EXPECT_FALSE(baseMarks[0]);
    EXPECT_DOUBLE_EQ(rovers[0].height, 50.0);
}

// ---- through the real widgets ----

struct RoverValues {
    QString name;
    double north, east, height, baseNorth, baseHeight;
    bool operator==(const RoverValues& o) const {
        return std::tie(name, north, east, height, baseNorth, baseHeight) ==
               std::tie(o.name, o.north, o.east, o.height, o.baseNorth, o.baseHeight);
    }
};
std::vector<RoverValues> roverValues(const RawBench& window) {
    std::vector<RoverValues> values;
    for (const RoverPoint& r : window.job().rovers)
        values.push_back({r.name, r.north, r.east, r.height, r.baseNorth, r.baseHeight});
    return values;
}

TEST(CalculateCommand, AntennaHeightEditedInTheCellGivesTheNewHeight) {
    EditWindow w;
    w.open("job.raw", editJob());
    w.type(w.rovers(), 0, 6, "2.000");
    w.calculate();
    const RoverPoint& p1 = w.window->job().rovers[0];
    EXPECT_NEAR(p1.height, 99.800, 1e-9);  // 100.000 + 1.800 + 0.060 - 2.000 - 0.060
    EXPECT_DOUBLE_EQ(p1.antennaHeight, 2.0);
    // The tables are refilled from the model, the "Edit" marks reset, and the box says so.
    EXPECT_EQ(w.cell(w.rovers(), 0, 4), "99.8000");
    EXPECT_EQ(w.cell(w.rovers(), 0, 6), "2.0000");
    EXPECT_EQ(w.cell(w.rovers(), 0, 17), "0");
    ASSERT_EQ(w.prompter.messages.size(), 1);
    EXPECT_EQ(w.prompter.messages[0].icon, QMessageBox::Warning);
    EXPECT_EQ(w.prompter.messages[0].title, "Warning");
    EXPECT_EQ(w.prompter.messages[0].text, "Finished");
}

TEST(CalculateCommand, MethodChosenInTheComboChangesHeightByBottomMinusTop) {
    EditWindow w;
    w.open("job.raw", editJob());
    w.choose(w.combo(w.rovers(), 2, 7), 1);
    w.calculate();
    EXPECT_NEAR(w.window->job().rovers[2].height, 49.0 + 0.060 - 0.120, 1e-9);
    EXPECT_EQ(w.window->job().rovers[2].antennaMethod, 1);
    EXPECT_EQ(w.combo(w.rovers(), 2, 7)->currentIndex(), 1);
}

TEST(CalculateCommand, AntennaTypeChosenInTheComboUsesItsOffset) {
    EditWindow w;
    w.open("job.raw", editJob());
    w.choose(w.combo(w.rovers(), 0, 5), 1);
    w.calculate();
    EXPECT_EQ(w.window->job().rovers[0].antennaType, "TRM57971.00");
    EXPECT_NEAR(w.window->job().rovers[0].height, 100.0 + 0.060 - 0.065, 1e-9);
}

TEST(CalculateCommand, HalfMillimetreIsIgnoredTwoMillimetresAreTaken) {
    EditWindow w;
    w.open("job.raw", editJob());
    w.type(w.rovers(), 0, 6, "1.8005");
    w.type(w.rovers(), 2, 6, "1.8020");
    w.calculate();
    EXPECT_DOUBLE_EQ(w.window->job().rovers[0].antennaHeight, 1.8);
    EXPECT_DOUBLE_EQ(w.window->job().rovers[0].height, 100.0);
    EXPECT_DOUBLE_EQ(w.window->job().rovers[2].antennaHeight, 1.802);
    EXPECT_NEAR(w.window->job().rovers[2].height, 48.998, 1e-9);
}

TEST(CalculateCommand, RenameIsCarriedIntoTheModel) {
    EditWindow w;
    w.open("job.raw", editJob());
    w.type(w.rovers(), 1, 0, "P2-corrected");
    w.calculate();
    EXPECT_EQ(w.window->job().rovers[1].name, "P2-corrected");
    EXPECT_DOUBLE_EQ(w.window->job().rovers[1].height, 52.0);
}

TEST(CalculateCommand, BaseMovedNorthMovesItsRoversAndThePlan) {
    EditWindow w;
    w.open("job.raw", editJob());
    w.type(w.bases(), 0, 1, "4000000.5000");
    w.calculate();
    const RawJob& job = w.window->job();
    EXPECT_DOUBLE_EQ(job.bases[0].north, 4000000.5);
    EXPECT_DOUBLE_EQ(job.rovers[0].north, 4000101.0);
    EXPECT_DOUBLE_EQ(job.rovers[2].north, 4000010.5);
    EXPECT_DOUBLE_EQ(job.rovers[1].north, 4000300.0);
    for (const RoverPoint& r : job.rovers)
        EXPECT_DOUBLE_EQ(r.height, r.name == "P1" ? 100.0 : r.name == "P2" ? 52.0 : 49.0);
    EXPECT_DOUBLE_EQ(job.rovers[0].baseNorth, 4000000.0);
    EXPECT_EQ(w.cell(w.rovers(), 0, 2), "4000101.0000");
    EXPECT_EQ(w.cell(w.bases(), 0, 1), "4000000.5000");
    EXPECT_EQ(w.window->mapBounds().top(), -4000300.0 - 2.0);
    EXPECT_EQ(w.window->mapBounds().bottom(), -4000000.5 + 2.0);
}

TEST(CalculateCommand, BaseAntennaHeightRaisesItsRoversByTheDifference) {
    EditWindow w;
    w.open("job.raw", editJob());
    w.type(w.bases(), 0, 5, "1.6");
    w.calculate();
    const RawJob& job = w.window->job();
    EXPECT_DOUBLE_EQ(job.bases[0].height, 48.0);
    EXPECT_DOUBLE_EQ(job.bases[0].antennaHeight, 1.6);
    EXPECT_NEAR(job.rovers[0].height, 100.1, 1e-9);
    EXPECT_NEAR(job.rovers[2].height, 49.1, 1e-9);
    EXPECT_DOUBLE_EQ(job.rovers[1].height, 52.0);
}

TEST(CalculateCommand, RoverAndBaseChangesInOneCalculateBothApply) {
    EditWindow w;
    w.open("job.raw", editJob());
    w.type(w.rovers(), 0, 6, "2.000");
    w.type(w.bases(), 0, 1, "4000000.5000");
    w.type(w.bases(), 0, 5, "1.6000");
    w.choose(w.combo(w.bases(), 1, 6), 2);  // B2 TRM method 1 to 2: Middle - Top = 0.095 - 0.128
    w.calculate();
    const RawJob& job = w.window->job();
    // antenna correction first (100 -> 99.8), then the shift of B1 (+0.5 north, +0.1 height)
    EXPECT_NEAR(job.rovers[0].height, 99.9, 1e-9);
    EXPECT_DOUBLE_EQ(job.rovers[0].north, 4000101.0);
    EXPECT_NEAR(job.rovers[2].height, 49.1, 1e-9);
    EXPECT_NEAR(job.rovers[1].height, 52.0 + 0.095 - 0.128, 1e-9);
    EXPECT_EQ(job.bases[1].antennaMethod, 2);
}

TEST(CalculateCommand, SecondCalculateChangesNothing) {
    EditWindow w;
    w.open("job.raw", editJob());
    w.type(w.rovers(), 0, 6, "2.000");
    w.type(w.bases(), 0, 5, "1.6000");
    w.calculate();
    const auto once = roverValues(*w.window);
    const QList<BaseStation> basesOnce = w.window->job().bases;
    w.calculate();
    EXPECT_EQ(roverValues(*w.window), once);
    EXPECT_EQ(w.window->job().bases[0].antennaHeight, basesOnce[0].antennaHeight);
    EXPECT_EQ(w.window->job().bases[0].height, basesOnce[0].height);
    EXPECT_EQ(w.prompter.messages.size(), 2);
}

TEST(CalculateCommand, EmptyJobStillSaysFinished) {
    EditWindow w;
    w.open("empty.raw", rawHeader());
    w.calculate();
    ASSERT_EQ(w.prompter.messages.size(), 1);
    EXPECT_EQ(w.prompter.messages[0].text, "Finished");
}

}  // namespace
