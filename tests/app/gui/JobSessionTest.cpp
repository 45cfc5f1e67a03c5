// The editing model without widgets: staging and checking typed values, Calculate, deletion, undo, and
// what the table models show.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>
#include <limits>

#include "BatchEdits.h"
#include "ChangeReport.h"
#include "CsvExport.h"
#include "GuiTestSupport.h"
#include "JobSession.h"
#include "PointTableModel.h"
#include "rawfile/RawJobReader.h"
#include "rawfile/RawJobWriter.h"

namespace {

RawJob readJob(QByteArray text) {
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    RawJob job;
    EXPECT_TRUE(readRawJob(buffer, job));
    return job;
}

// Every value of every point, doubles to the last bit: two equal dumps are the same job.
QString dump(const RawJob& job) {
    QString out;
    auto n = [](double v) { return QString::number(v, 'g', 17) + ' '; };
    for (const RoverPoint& r : job.rovers)
        out += r.name + n(r.north) + n(r.east) + n(r.height) + r.antennaType + n(r.antennaHeight) +
               n(r.antennaMethod) + r.baseName + n(r.baseNorth) + n(r.baseEast) + n(r.baseHeight) +
               r.baseAntennaType + n(r.baseAntennaHeight) + n(r.baseAntennaMethod) + '\n';
    for (const BaseStation& b : job.bases)
        out += b.name + n(b.north) + n(b.east) + n(b.height) + b.antennaType + n(b.antennaHeight) +
               n(b.antennaMethod) + '\n';
    return out + n(double(job.groups.size()));
}

struct Session {
    QStringList names{"HX-CSX601A", "TRM57971.00"};
    QList<QStringList> entries{{"HX-CSX601A", "0.060", "0.120", "0.090"},
                               {"TRM57971.00", "0.065", "0.128", "0.095"}};
    QStringList methods{"Bottom of Antenna-Vertical", "Antenna Phase Center-Vertical",
                        "Bottom of Notch-Slant"};
    JobSession session{&names, &entries};
    explicit Session(bool withOddRover = false) { session.setJob(readJob(editJob(withOddRover))); }
    const RoverPoint& rover(int i) const { return session.job().rovers[i]; }
    const BaseStation& base(int i) const { return session.job().bases[i]; }
    void stage(PointKind kind, int row, EditField field, const QVariant& value) {
        ASSERT_EQ(session.stage(kind, row, field, value), QString()) << value.toString().toStdString();
    }
};

}  // namespace

TEST(JobSession, StagesCheckedValuesAndRefusesWhatCannotBeTaken) {
    using K = PointKind;
    using F = EditField;
    const struct {
        K kind;
        F field;
        QVariant typed;
        bool taken;
        QVariant pending;  // invalid: nothing pending afterwards
    } cases[] = {
        {K::Rover, F::AntennaHeight, "2.1", true, 2.1},
        {K::Rover, F::AntennaHeight, "1.8000", true, {}},   // the stored value: nothing to calculate
        {K::Rover, F::AntennaHeight, "1.8005", false, {}},  // within 0.001 m: said, not silently kept
        {K::Rover, F::AntennaHeight, "2,1", false, {}},
        {K::Rover, F::AntennaHeight, "", false, {}},
        {K::Rover, F::AntennaHeight, "2.1 m", false, {}},
        {K::Rover, F::Name, "  P9 ", true, "P9"},
        {K::Rover, F::Name, "P1,x", false, {}},
        {K::Rover, F::Name, "two\nlines", false, {}},
        {K::Rover, F::Method, 1, true, 1},
        {K::Rover, F::Method, 5, false, {}},
        {K::Rover, F::AntennaType, "TRM57971.00", true, "TRM57971.00"},
        {K::Rover, F::North, "1.0", false, {}},  // rovers' coordinates follow from Calculate only
        {K::Base, F::North, "4000000.5", true, 4000000.5},
        {K::Base, F::North, "3519163,7023", false, {}},
        {K::Base, F::North, std::numeric_limits<double>::infinity(), false, {}},  // a sum that overflowed
        {K::Base, F::Name, "B9", false, {}},
    };
    for (const auto& c : cases) {
        Session s;
        SCOPED_TRACE(c.typed.toString().toStdString());
        EXPECT_EQ(s.session.stage(c.kind, 0, c.field, c.typed).isEmpty(), c.taken);
        EXPECT_EQ(s.session.isPending(c.kind, 0, c.field), c.pending.isValid());
        if (c.pending.isValid()) {
            EXPECT_EQ(s.session.value(c.kind, 0, c.field), c.pending);
        }
        EXPECT_EQ(s.session.isModified(), c.pending.isValid());
    }
}

// Catalogue: HX-CSX601A Bottom 0.060, Top 0.120, Middle 0.090; TRM57971.00 Bottom 0.065.
TEST(JobSession, RoverAntennaEditsKeepThePhaseCentreWhereItWasMeasured) {
    const struct {
        EditField field;
        QVariant value;
        double height;  // P1 starts at 100.000 with HX-CSX601A, 1.800 m, method 0
    } cases[] = {
        {EditField::AntennaHeight, "2.000", 100.0 + 1.8 + 0.060 - 2.0 - 0.060},  // 99.800
        {EditField::Method, 1, 100.0 + 0.060 - 0.120},                           // Bottom - Top
        {EditField::AntennaType, "TRM57971.00", 100.0 + 0.060 - 0.065},
        {EditField::Name, "P1-renamed", 100.0},
    };
    for (const auto& c : cases) {
        Session s;
        s.stage(PointKind::Rover, 0, c.field, c.value);
        const QList<PointChange> changes = s.session.calculate();
        ASSERT_EQ(changes.size(), 1);
        EXPECT_EQ(changes[0].reasons, unsigned(OwnEdit));
        EXPECT_NEAR(s.rover(0).height, c.height, 1e-12);
        EXPECT_EQ(s.rover(0).north, 4000100.5);  // never moved by its own antenna
        EXPECT_FALSE(s.session.isPending(PointKind::Rover, 0, c.field));
        EXPECT_TRUE(s.session.isChanged(PointKind::Rover, 0) && !s.session.isChanged(PointKind::Rover, 1));
    }
}

TEST(JobSession, UnknownAntennaTypeAndOddMethodStayAndHaveOffsetZero) {
    Session s(true);
    const int p4 = 3;
    s.stage(PointKind::Rover, p4, EditField::Name, "P4b");
    s.session.calculate();
    EXPECT_EQ(s.rover(p4).antennaType, "LEGACY-ANT 9");
    EXPECT_EQ(s.rover(p4).antennaMethod, 7);
    EXPECT_EQ(s.rover(p4).height, 46.0);

    // Old and new offsets are 0: the height changes by exactly the antenna height difference.
    s.stage(PointKind::Rover, p4, EditField::AntennaHeight, "1.5");
    s.session.calculate();
    EXPECT_NEAR(s.rover(p4).height, 46.0 + 0.3, 1e-12);
    EXPECT_EQ(s.rover(p4).antennaType, "LEGACY-ANT 9");

    PointTableModel model(&s.session, PointKind::Rover, &s.names, &s.methods);
    EXPECT_EQ(model.index(p4, 5).data().toString(), "LEGACY-ANT 9 (not in catalogue)");
    EXPECT_EQ(model.index(p4, 7).data().toString(), "Method 7 (unknown)");
    // The editor offers the stored type and method as they are, first and last.
    EXPECT_EQ(model.index(p4, 5).data(PointTableModel::ChoiceValuesRole).toList().value(0), "LEGACY-ANT 9");
    EXPECT_EQ(model.index(p4, 7).data(PointTableModel::ChoiceValuesRole).toList().value(3), 7);
}

TEST(JobSession, MovedBaseCarriesItsRoversAndKeepsTheirVectorsThroughSaveAndReopen) {
    Session s(true);
    const QByteArray csvBefore = exportRoversCsv(s.session.job());
    s.stage(PointKind::Base, 0, EditField::North, "4000000.5");
    s.stage(PointKind::Base, 0, EditField::East, "499999.75");
    const QList<PointChange> changes = s.session.calculate();
    EXPECT_EQ(changes.size(), 3);  // P1, P3 and B1; P4's base "b1" is another base
    EXPECT_EQ(s.rover(0).north, 4000101.0);
    EXPECT_EQ(s.rover(0).baseNorth, 4000000.5);
    EXPECT_EQ(s.rover(1).north, 4000300.0);
    EXPECT_EQ(s.rover(3).north, 3999990.0);
    // A pure move keeps every exported vector (fields 19 to 22).
    auto vectors = [](const QByteArray& csv) {
        QStringList out;
        for (const QByteArray& line : csv.split('\n')) out << QString(line).section(',', 18, 21);
        return out;
    };
    EXPECT_EQ(vectors(exportRoversCsv(s.session.job())), vectors(csvBefore));

    // A new base antenna height raises its rovers by the difference; the vectors then follow from the
    // saved file exactly as they are shown before saving.
    s.stage(PointKind::Base, 0, EditField::AntennaHeight, "1.6");
    s.session.calculate();
    EXPECT_NEAR(s.rover(0).height, 100.1, 1e-9);
    EXPECT_EQ(s.rover(0).baseHeight, 48.0);
    QTemporaryDir dir;
    const QString saved = dir.filePath("job.raw");
    ASSERT_TRUE(writeRawJob(saved, s.session.job()));
    RawJob reopened;
    ASSERT_TRUE(readRawJob(saved, reopened));
    EXPECT_EQ(exportRoversCsv(reopened), exportRoversCsv(s.session.job()));
}

TEST(JobSession, UndoRestoresCalculateAndDeletionsBitForBitAndRedoRepeatsThem) {
    Session s(true);
    const QString opened = dump(s.session.job());
    EXPECT_TRUE(s.session.calculate().isEmpty());  // nothing pending: nothing changes, nothing recorded
    EXPECT_EQ(dump(s.session.job()), opened);
    EXPECT_EQ(s.session.undoStack()->count(), 0);
    s.stage(PointKind::Rover, 0, EditField::AntennaHeight, "2.2");
    s.stage(PointKind::Base, 1, EditField::Height, "45.5");
    s.session.calculate();
    const QString calculated = dump(s.session.job());
    EXPECT_EQ(s.session.deletePoints(PointKind::Base, {0}), 3);  // B1 with P1 and P3, not P4 of "b1"
    EXPECT_EQ(s.session.deletePoints(PointKind::Rover, {0, 1}), 2);
    EXPECT_TRUE(s.session.job().rovers.isEmpty() && s.session.job().groups.isEmpty());
    const QString deleted = dump(s.session.job());

    QUndoStack* undo = s.session.undoStack();
    undo->undo(), undo->undo();
    EXPECT_EQ(dump(s.session.job()), calculated);
    EXPECT_EQ(s.session.appliedChanges().size(), 3);  // P1, B2 and P2
    undo->undo();
    EXPECT_EQ(dump(s.session.job()), opened);
    EXPECT_EQ(s.session.pendingCount(), 2);  // the edits are pending again
    EXPECT_EQ(s.session.value(PointKind::Rover, 0, EditField::AntennaHeight), 2.2);
    EXPECT_TRUE(s.session.appliedChanges().isEmpty());
    undo->undo(), undo->undo();
    EXPECT_FALSE(s.session.isModified());
    QTemporaryDir dir;  // everything undone, the file saved is the file read, byte for byte
    ASSERT_TRUE(writeRawJob(dir.filePath("undone.raw"), s.session.job()));
    EXPECT_EQ(readFile(dir.filePath("undone.raw")), editJob(true));
    for (int i = 0; i < 5; ++i) undo->redo();
    EXPECT_EQ(dump(s.session.job()), deleted);
}

TEST(PointTableModel, ShowsPendingValuesMarksAndTheHeadersOfTheVersion) {
    Session s;
    PointTableModel rovers(&s.session, PointKind::Rover, &s.names, &s.methods);
    EXPECT_EQ(rovers.headerData(13, Qt::Horizontal).toString(), "Duration");
    EXPECT_EQ(rovers.headerData(16, Qt::Horizontal).toString(), "NGLONASS");
    EXPECT_FALSE(rovers.index(0, 2).flags().testFlag(Qt::ItemIsEditable));

    EXPECT_FALSE(rovers.setData(rovers.index(0, 6), "2,5"));
    EXPECT_TRUE(rovers.index(0, 6).data(Qt::ToolTipRole).toString().contains("not a number"));
    EXPECT_TRUE(rovers.setData(rovers.index(0, 6), "2.5"));
    EXPECT_EQ(rovers.index(0, 6).data().toString(), "2.5000");
    EXPECT_TRUE(rovers.index(0, 6).data(Qt::BackgroundRole).isValid());
    EXPECT_TRUE(rovers.index(0, 6).data(Qt::ToolTipRole).toString().contains("stored: 1.8000"));
    s.session.calculate();
    EXPECT_EQ(rovers.index(0, 17).data().toString(), "1");
    EXPECT_EQ(rovers.index(1, 17).data().toString(), "0");

    s.session.setJob(readJob(editJob(false, "V2.0")));
    EXPECT_EQ(rovers.headerData(15, Qt::Horizontal).toString(), "NGNSS");
    EXPECT_EQ(rovers.index(0, 16).data().toString(), "");
}

namespace {

// Every value every cell shows and whether it is pending, doubles to the last bit.
QString shownDump(const JobSession& session) {
    QString out;
    for (PointKind kind : {PointKind::Rover, PointKind::Base}) {
        const qsizetype count =
            kind == PointKind::Rover ? session.job().rovers.size() : session.job().bases.size();
        for (qsizetype row = 0; row < count; ++row) {
            for (EditField f : {EditField::Name, EditField::North, EditField::East, EditField::Height,
                                EditField::AntennaType, EditField::AntennaHeight, EditField::Method}) {
                const QVariant v = session.value(kind, row, f);
                out += (v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 17)
                                                        : v.toString()) +
                       (session.isPending(kind, row, f) ? "* " : " ");
            }
            out += '\n';
        }
    }
    return out;
}

}  // namespace

// The odd rover P4 (type not in the catalogue, method 7) is in every selection; P1 carries a typed antenna
// height that a "keep" must leave pending.
TEST(BatchEdits, AntennaSetUpStagesWhatTypingEachValueWouldAndPreviewsWhatCalculateDoes) {
    const struct {
        std::optional<QString> type;
        std::optional<double> height;
        std::optional<int> method;
        qsizetype changing, refused;  // of P1, P2, P4
    } cases[] = {
        {std::nullopt, 2.0, std::nullopt, 2, 0},  // P2 has it already
        {"TRM57971.00", std::nullopt, std::nullopt, 2, 0},
        {std::nullopt, std::nullopt, 2, 2, 0},
        {"HX-CSX601A", 2.2, 0, 2, 0},                // P1 already shows exactly this
        {std::nullopt, 1.8005, std::nullopt, 1, 2},  // within 0.001 m of P1's and P4's 1.8: refused
    };
    const QList<qsizetype> rows{0, 1, 3};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type.value_or("keep").toStdString() + " " + std::to_string(c.height.value_or(-1)));
        Session batch(true), typed(true);
        for (Session* s : {&batch, &typed}) s->stage(PointKind::Rover, 0, EditField::AntennaHeight, "2.2");
        const QString opened = shownDump(batch.session) + dump(batch.session.job());

        BatchEdits edits(&batch.session);
        const AntennaPreview preview = edits.setAntenna(rows, {c.type, c.height, c.method});
        EXPECT_EQ(preview.plan.points.size(), c.changing);
        EXPECT_EQ(preview.plan.refusals.size(), c.refused);
        EXPECT_EQ(edits.apply(preview.plan), c.changing);
        for (qsizetype row : rows) {
            if (c.type) typed.session.stage(PointKind::Rover, row, EditField::AntennaType, *c.type);
            if (c.height)
                typed.session.stage(PointKind::Rover, row, EditField::AntennaHeight, fixed4(*c.height));
            if (c.method) typed.session.stage(PointKind::Rover, row, EditField::Method, *c.method);
        }
        EXPECT_EQ(shownDump(batch.session), shownDump(typed.session));
        EXPECT_EQ(batch.session.undoStack()->count(), 2);  // the typed height, then the batch: one step

        const QList<PointChange> changes = batch.session.calculate();
        typed.session.calculate();
        EXPECT_EQ(dump(batch.session.job()), dump(typed.session.job()));
        double lowest = 1e9, highest = -1e9;
        qsizetype reported = 0;
        const QList<ChangeLine> lines = describeChanges(changes, batch.methods);
        for (qsizetype i = 0; i < changes.size(); ++i) {
            if (!lines[i].why.contains("batch antenna set-up")) continue;
            const double change = changes[i].roverAfter.height - changes[i].roverBefore.height;
            lowest = std::min(lowest, change), highest = std::max(highest, change), ++reported;
        }
        EXPECT_EQ(reported, c.changing);
        EXPECT_EQ(preview.lowestHeightChange, lowest);
        EXPECT_EQ(preview.highestHeightChange, highest);

        batch.session.undoStack()->undo(), batch.session.undoStack()->undo();
        EXPECT_EQ(shownDump(batch.session) + dump(batch.session.job()), opened);
    }
}

TEST(BatchEdits, BaseShiftEqualsTypingTheNewCoordinatesAndCarriesItsRovers) {
    Session shifted(true), moved(true), typed(true);
    BatchEdits shift(&shifted.session), move(&moved.session);
    const QString opened = shownDump(shifted.session) + dump(shifted.session.job());
    const BaseShiftPreview preview = shift.shiftBase(0, 0.5, -0.25, 0.125);
    EXPECT_EQ(shift.apply(preview.plan), 1);
    EXPECT_EQ(move.apply(move.moveBase(0, 4000000.5, 499999.75, 48.125).plan), 1);
    typed.stage(PointKind::Base, 0, EditField::North, "4000000.5000");
    typed.stage(PointKind::Base, 0, EditField::East, "499999.7500");
    typed.stage(PointKind::Base, 0, EditField::Height, "48.1250");
    EXPECT_EQ(shownDump(shifted.session), shownDump(typed.session));
    EXPECT_EQ(shownDump(moved.session), shownDump(typed.session));
    EXPECT_EQ(shifted.session.undoStack()->count(), 1);

    // The preview: new coordinates, the two rovers of B1 (not P4 of "b1") and the shift they get.
    EXPECT_EQ(preview.after.north, 4000000.5);
    EXPECT_EQ(preview.followers, 2);
    const QList<PointChange> changes = shifted.session.calculate();
    typed.session.calculate();
    EXPECT_EQ(dump(shifted.session.job()), dump(typed.session.job()));
    EXPECT_EQ(shifted.rover(0).north, 4000100.5 + preview.roverShift.north);
    EXPECT_EQ(shifted.rover(0).height, 100.0 + preview.roverShift.height);
    EXPECT_EQ(shifted.rover(3).north, 3999990.0);
    const QList<ChangeLine> lines = describeChanges(changes, shifted.methods);
    EXPECT_EQ(lines.last().why, "base shifted by ΔN +0.5000 / ΔE -0.2500 / ΔH +0.1250");
    EXPECT_EQ(lines.first().why, "base B1 moved");

    shifted.session.undoStack()->undo(), shifted.session.undoStack()->undo();
    EXPECT_EQ(shownDump(shifted.session) + dump(shifted.session.job()), opened);
    // Half a millimetre is no move, as typed: said, nothing staged.
    const BaseShiftPreview tiny = shift.shiftBase(0, 0.0005, 0, 0);
    EXPECT_TRUE(tiny.plan.points.isEmpty() && !tiny.moves);
    EXPECT_EQ(tiny.plan.refusals.size(), 1);
}

TEST(BatchEdits, RenameByPatternPreviewsNewNamesRefusalsAndSharedNames) {
    const struct {
        QList<qsizetype> rows;
        QString find, replacement;
        bool regex;
        QString problem;    // of the pattern
        QStringList after;  // new name of each line ("!" prefix: refused)
        QStringList shared;
    } cases[] = {
        {{0, 1, 2}, "P", "Q", false, "", {"Q1", "Q2", "Q3"}, {}},
        {{0, 1, 2}, "^P(\\d)$", "R-\\1", true, "", {"R-1", "R-2", "R-3"}, {}},
        {{0, 2}, "P", "p", false, "", {"p1", "p3"}, {}},
        {{0}, "P1", " ", false, "", {"! "}, {}},  // blanks only: a name cannot be empty
        {{0}, "1", "1,a", false, "", {"!P1,a"}, {}},
        {{0}, "1", "2", false, "", {"P2"}, {"P2"}},  // P2 exists
        {{0, 2}, "\\d", "", true, "", {"P", "P"}, {"P"}},
        {{0}, "(", "", true, "x", {}, {}},
        {{0}, "", "x", false, "x", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.find.toStdString());
        Session s;
        BatchEdits edits(&s.session);
        const RenamePreview preview = edits.rename(c.rows, c.find, c.replacement, c.regex);
        EXPECT_EQ(preview.problem.isEmpty(), c.problem.isEmpty());
        QStringList after;
        qsizetype valid = 0;
        for (const RenameLine& line : preview.lines) {
            after << (line.problem.isEmpty() ? line.after : "!" + line.after);
            valid += line.problem.isEmpty();
        }
        EXPECT_EQ(after, c.after);
        EXPECT_EQ(preview.sharedNames, c.shared);
        EXPECT_EQ(edits.apply(preview.plan), valid);
        if (valid == 0) continue;
        const QList<ChangeLine> lines = describeChanges(s.session.calculate(), s.methods);
        EXPECT_EQ(lines.value(0).why, "renamed");
        EXPECT_EQ(s.rover(int(c.rows[0])).name, c.after[0]);
    }
}
