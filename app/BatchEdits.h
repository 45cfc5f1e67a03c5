#pragma once
// The batch corrections of a job: one antenna set-up for many rovers, a base moved by a difference (or to
// new coordinates), rovers renamed by a pattern. Each computes, from the session, the values it would stage
// and a preview of what they do; apply() stages them as ONE undoable step, each value exactly as if it had
// been typed into its cell (pending until Calculate). The dialogs only turn their widgets into these calls.
//
//   BatchEdits batch(session);
//   AntennaSetUp setUp;
//   setUp.height = 2.0;                                           // type and method: keep
//   const AntennaPreview preview = batch.setAntenna(batch.roversOfBase(0), setUp);
//   batch.apply(preview.plan);                                    // preview.plan.points.size() rovers
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

#include "JobSession.h"

// The values a batch stages, and what staging them does (JobSession::planBatch).
struct BatchPlan {
    PointKind kind = PointKind::Rover;
    EditOrigin origin = BatchAntenna;
    QString text;                  // name of the undo step
    QList<StagedValue> values;     // what apply() stages
    QList<StagedPoint> points;     // the points whose pending edit changes, with the state they get
    QList<StageRefusal> refusals;  // values that would be refused as typed, and why
};

// A new antenna set-up; a field without a value is kept as each rover has it.
struct AntennaSetUp {
    std::optional<QString> type;   // catalogue name
    std::optional<double> height;  // metres
    std::optional<int> method;     // 0..2
};

struct AntennaPreview {
    BatchPlan plan;
    qsizetype selected = 0;  // rovers asked about
    // Range of the height changes Calculate would give the rovers that change (metres, after - before).
    double lowestHeightChange = 0.0;
    double highestHeightChange = 0.0;
};

struct BaseShiftPreview {
    BatchPlan plan;
    BaseStation before;       // as stored
    BaseStation after;        // as Calculate would leave it
    BaseShift roverShift;     // what Calculate adds to each of its rovers (metres)
    qsizetype followers = 0;  // rovers measured from the base, moved when it changes
    bool moves = false;       // Calculate would change the base
};

// One rover a rename touches: its name as shown, the name it would get (trimmed), or why not.
struct RenameLine {
    qsizetype row = 0;
    QString before;
    QString after;
    QString problem;
};

struct RenamePreview {
    BatchPlan plan;
    QString problem;          // a pattern that cannot be used (empty, invalid regular expression)
    QList<RenameLine> lines;  // selected rovers whose name the pattern changes
    QStringList sharedNames;  // names the rename would give to two rovers or more of the job
};

// Fields a rover filter compares (the value each rover shows, pending or stored).
enum class RoverFilterField { AntennaType, AntennaHeight, Method };

class BatchEdits {
  public:
    explicit BatchEdits(JobSession* session) : session_(session) {}

    // Rows of the rovers measured from the base at row base (exact base name).
    QList<qsizetype> roversOfBase(qsizetype base) const;
    // Rows of the rovers whose shown value of field equals value (a text, metres as a double, an int).
    QList<qsizetype> roversWith(RoverFilterField field, const QVariant& value) const;
    // The distinct values of field the rovers show, sorted, each with how many rovers show it.
    QList<QPair<QVariant, qsizetype>> distinctValues(RoverFilterField field) const;

    // The set-up applied to the rovers at rows (keeping what setUp leaves empty).
    AntennaPreview setAntenna(const QList<qsizetype>& rows, const AntennaSetUp& setUp) const;
    // The base at row moved by dN, dE, dH (metres) from the coordinates it shows (pending or stored).
    BaseShiftPreview shiftBase(qsizetype row, double dN, double dE, double dH) const;
    // The base at row moved to north, east, height (metres).
    BaseShiftPreview moveBase(qsizetype row, double north, double east, double height) const;
    // The rovers at rows renamed: every occurrence of find replaced by replacement (case-sensitive), or
    // with regularExpression every match of the pattern (\1... in replacement insert its captures).
    RenamePreview rename(const QList<qsizetype>& rows, const QString& find, const QString& replacement,
                         bool regularExpression) const;

    // Stages plan as one undoable step; returns the number of points whose pending edit changed.
    qsizetype apply(const BatchPlan& plan);

  private:
    BatchPlan plan(PointKind kind, EditOrigin origin, const QString& text, QList<StagedValue> values) const;

    JobSession* session_;
};
