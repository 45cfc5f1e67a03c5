#pragma once
// One open job and what the surveyor is doing to it: the job model, the edits staged in the point tables,
// the marks of what Calculate changed, and the undo history. No widgets: the window's tables are views of
// it, and tests drive it directly.
//
//   JobSession session(&catalogueNames, &catalogueEntries);
//   session.setJob(std::move(job));                                       // after a successful open
//   session.stage(PointKind::Rover, 0, EditField::AntennaHeight, "2.1");  // pending, shown highlighted
//   session.calculate();            // carries every pending edit into the job, marks the changed points
//   session.undoStack()->undo();    // the job exactly as before the Calculate, edits pending again
//
// Every change of the job or of the pending edits goes through the undo stack; the stack's clean state is
// "saved".
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUndoStack>
#include <QVariant>

#include "PointEdits.h"
#include "Recalculation.h"
#include "rawfile/JobModel.h"

// Why a point changed in a Calculate.
enum ChangeReason : unsigned { OwnEdit = 1, BaseMoved = 2 };

// One point changed by a Calculate: the point before and after, and why.
struct PointChange {
    PointKind kind = PointKind::Rover;
    qsizetype index = 0;  // in the job's list at the time of the Calculate
    RoverPoint roverBefore, roverAfter;
    BaseStation baseBefore, baseAfter;
    unsigned reasons = 0;  // ChangeReason bits
    unsigned origins = 0;  // EditOrigin bits of the point's own edit (with OwnEdit)
    QString movedBase;     // name of the base whose move carried the rover, if any
};

// Where the pending edit of a point came from, for the Changes list: typed into a cell, or staged by one
// of the batch corrections. Cleared with the edit.
enum EditOrigin : unsigned { TypedEdit = 1, BatchAntenna = 2, BatchShift = 4, BatchRename = 8 };

// Per-point state beside the job lists (kept parallel to them): the pending edit, where it came from
// (EditOrigin bits) and whether the point was changed by a Calculate of this session.
struct PointState {
    PointEdit edit;
    bool changed = false;
    unsigned origins = 0;
};

// One value to stage in a batch: as stage() takes it, for one field of one row.
struct StagedValue {
    qsizetype row = 0;
    EditField field = EditField::Name;
    QVariant value;
};

// A point a batch changes and the state it leaves; a value a batch could not take, and why.
struct StagedPoint {
    qsizetype row = 0;
    PointState state;
};
struct StageRefusal {
    qsizetype row = 0;
    EditField field = EditField::Name;
    QString why;
};

class JobSession : public QObject {
    Q_OBJECT

  public:
    // The catalogue lists are read at every use (they are the antenna dialog's, which may change).
    JobSession(const QStringList* catalogueNames, const QList<QStringList>* catalogueEntries,
               QObject* parent = nullptr);
    ~JobSession() override;

    const RawJob& job() const { return job_; }
    // Replaces the job (after an open): no pending edits, no marks, an empty history, saved.
    void setJob(RawJob job);
    void setPath(const QString& path) { job_.path = path; }

    QUndoStack* undoStack() { return &undo_; }
    AntennaCatalogueRef catalogue() const { return {*names_, *entries_}; }

    // Stages text (as typed or chosen) as the pending value of a field. Returns an empty text when it was
    // taken (a value equal to the stored one withdraws the pending value; a value equal to the pending
    // one changes nothing), or why it was refused (not a number, a comma in a name...). Undoable.
    QString stage(PointKind kind, qsizetype row, EditField field, const QVariant& value);
    // What stage() would do with value, without doing it: an empty text and the pending value the field
    // would hold afterwards (invalid: none, the stored value is kept), or why value is refused.
    QString resolveStage(PointKind kind, qsizetype row, EditField field, const QVariant& value,
                         QVariant* pendingAfter) const;
    // The points a batch of values would change, ascending by row, each with the state it would leave:
    // every value taken exactly as stage() takes it one by one (a refused value leaves its field as it
    // was and is listed in refusals), the origin bit added to each point whose pending edit changes.
    QList<StagedPoint> planBatch(PointKind kind, const QList<StagedValue>& values, EditOrigin origin,
                                 QList<StageRefusal>* refusals = nullptr) const;
    // Stages what planBatch gives as ONE undoable step named text. Returns the number of points changed.
    qsizetype stageBatch(PointKind kind, const QList<StagedValue>& values, EditOrigin origin,
                         const QString& text);

    // The value a cell shows: the pending value when there is one, else the stored one. Texts for names
    // and antenna types, doubles for lengths, ints for methods. Invalid for a field the kind lacks.
    QVariant value(PointKind kind, qsizetype row, EditField field) const;
    QVariant storedValue(PointKind kind, qsizetype row, EditField field) const;
    bool isPending(PointKind kind, qsizetype row, EditField field) const;
    bool isChanged(PointKind kind, qsizetype row) const;
    // Every pending value of a point at once (empty when none).
    PointEdit pendingEdit(PointKind kind, qsizetype row) const;
    int pendingCount() const { return pendingFields_; }

    // Carries every pending edit into the job (rovers first, then bases with the rovers they carry) as one
    // undoable step and returns what changed. Without a pending edit the job stays exactly as it was and
    // nothing is recorded.
    QList<PointChange> calculate();

    // Deletes the rovers at rows, or the bases at rows with every rover measured from them, as one undoable
    // step. Returns the number of points removed.
    qsizetype deletePoints(PointKind kind, QList<qsizetype> rows);
    // The rovers that deleting the bases at rows would remove with them.
    qsizetype roversOfBases(const QList<qsizetype>& rows) const;

    // The changes of every Calculate in the history up to the current step, oldest first.
    QList<PointChange> appliedChanges() const;

    // Unsaved: any step since the job was opened or saved (pending edits included).
    bool isModified() const { return !undo_.isClean(); }
    void markSaved() { undo_.setClean(); }

  signals:
    // Rows of kind changed (values, pending marks, change marks); refresh them.
    void pointsChanged(PointKind kind, qsizetype first, qsizetype last);
    // Points were added or removed, or the whole job replaced: reset the views, redraw the plan.
    void jobReset();
    // Points moved or were renamed, none added or removed: follow them on the plan.
    void positionsChanged();

  private:
    class StageCommand;
    class CalculateCommand;
    class DeleteCommand;
    class BatchCommand;

    QList<PointState>& states(PointKind kind) {
        return kind == PointKind::Rover ? roverStates_ : baseStates_;
    }
    const QList<PointState>& states(PointKind kind) const {
        return kind == PointKind::Rover ? roverStates_ : baseStates_;
    }
    void setState(PointKind kind, qsizetype row, const PointState& state);
    void setPending(PointKind kind, qsizetype row, EditField field, const QVariant& pending);
    QVariant pendingValue(PointKind kind, qsizetype row, EditField field) const;

    RawJob job_;
    QList<PointState> roverStates_;  // parallel to job_.rovers
    QList<PointState> baseStates_;   // parallel to job_.bases
    int pendingFields_ = 0;
    const QStringList* names_;
    const QList<QStringList>* entries_;
    QUndoStack undo_;
};
