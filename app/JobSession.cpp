#include "JobSession.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <QUndoCommand>
#include <algorithm>
#include <cmath>
#include <map>

namespace {

constexpr int kCalculateCommandId = 1;

template <typename T>
QVariant toVariant(const std::optional<T>& value) {
    return value ? QVariant::fromValue(*value) : QVariant();
}

template <typename T>
void fromVariant(std::optional<T>& field, const QVariant& value) {
    if (value.isValid())
        field = value.value<T>();
    else
        field.reset();
}

// The pending slot of a field in an edit, handed to f.
template <typename F>
void withField(PointEdit& e, EditField field, F f) {
    switch (field) {
        case EditField::Name:
            return f(e.name);
        case EditField::North:
            return f(e.north);
        case EditField::East:
            return f(e.east);
        case EditField::Height:
            return f(e.height);
        case EditField::AntennaType:
            return f(e.antennaType);
        case EditField::AntennaHeight:
            return f(e.antennaHeight);
        case EditField::Method:
            return f(e.antennaMethod);
    }
}

// The stored value of a field of a rover or a base.
template <typename Point>
QVariant fieldValue(const Point& p, EditField field) {
    switch (field) {
        case EditField::Name:
            return p.name;
        case EditField::North:
            return p.north;
        case EditField::East:
            return p.east;
        case EditField::Height:
            return p.height;
        case EditField::AntennaType:
            return p.antennaType;
        case EditField::AntennaHeight:
            return p.antennaHeight;
        case EditField::Method:
            return p.antennaMethod;
    }
    return {};
}

bool sameEdit(const PointEdit& a, const PointEdit& b) {
    return a.name == b.name && a.north == b.north && a.east == b.east && a.height == b.height &&
           a.antennaType == b.antennaType && a.antennaHeight == b.antennaHeight &&
           a.antennaMethod == b.antennaMethod;
}

// A point's origins once origin has staged a value in it: none when that leaves no pending edit.
unsigned originsAfter(const PointState& state, EditOrigin origin) {
    return state.edit.isEmpty() ? 0u : state.origins | origin;
}

bool isLength(EditField field) {
    return field == EditField::North || field == EditField::East || field == EditField::Height ||
           field == EditField::AntennaHeight;
}

}  // namespace

// One staged value (or its withdrawal) of one cell.
class JobSession::StageCommand : public QUndoCommand {
  public:
    StageCommand(JobSession* s, PointKind kind, qsizetype row, EditField field, QVariant before,
                 QVariant after)
        : session_(s),
          kind_(kind),
          row_(row),
          field_(field),
          before_(std::move(before)),
          after_(std::move(after)),
          originsBefore_(s->states(kind)[row].origins) {
        setText(QCoreApplication::translate("RawBench", "Edit"));
    }
    void redo() override {
        session_->setPending(kind_, row_, field_, after_);
        PointState& state = session_->states(kind_)[row_];
        state.origins = originsAfter(state, TypedEdit);
    }
    void undo() override {
        session_->setPending(kind_, row_, field_, before_);
        session_->states(kind_)[row_].origins = originsBefore_;
    }

  private:
    JobSession* session_;
    PointKind kind_;
    qsizetype row_;
    EditField field_;
    QVariant before_, after_;
    unsigned originsBefore_;
};

// Many staged values of one kind of point at once (a batch correction): each point's state before and
// after.
class JobSession::BatchCommand : public QUndoCommand {
  public:
    BatchCommand(JobSession* s, PointKind kind, QList<StagedPoint> before, QList<StagedPoint> after,
                 const QString& text)
        : session_(s), kind_(kind), before_(std::move(before)), after_(std::move(after)) {
        setText(text);
    }
    void redo() override { apply(after_); }
    void undo() override { apply(before_); }

  private:
    void apply(const QList<StagedPoint>& points) {
        for (const StagedPoint& p : points) session_->setState(kind_, p.row, p.state);
        if (!points.isEmpty()) emit session_->pointsChanged(kind_, points.first().row, points.last().row);
    }

    JobSession* session_;
    PointKind kind_;
    QList<StagedPoint> before_, after_;  // ascending by row
};

// A Calculate: the points and pending edits it changed, before and after.
class JobSession::CalculateCommand : public QUndoCommand {
  public:
    struct RoverEntry {
        qsizetype index;
        RoverPoint before, after;
        PointState stateBefore, stateAfter;
    };
    struct BaseEntry {
        qsizetype index;
        BaseStation before, after;
        PointState stateBefore, stateAfter;
    };

    CalculateCommand(JobSession* s, QList<RoverEntry> rovers, QList<BaseEntry> bases,
                     QList<PointChange> changes)
        : session_(s), rovers_(std::move(rovers)), bases_(std::move(bases)), changes_(std::move(changes)) {
        setText(QCoreApplication::translate("RawBench", "Calculate"));
    }
    int id() const override { return kCalculateCommandId; }
    void redo() override { apply(false); }
    void undo() override { apply(true); }
    const QList<PointChange>& changes() const { return changes_; }

  private:
    void apply(bool back) {
        for (const RoverEntry& e : rovers_) {
            session_->job_.rovers[e.index] = back ? e.before : e.after;
            session_->setState(PointKind::Rover, e.index, back ? e.stateBefore : e.stateAfter);
        }
        for (const BaseEntry& e : bases_) {
            session_->job_.bases[e.index] = back ? e.before : e.after;
            session_->setState(PointKind::Base, e.index, back ? e.stateBefore : e.stateAfter);
        }
        emit session_->pointsChanged(PointKind::Rover, 0, session_->job_.rovers.size() - 1);
        emit session_->pointsChanged(PointKind::Base, 0, session_->job_.bases.size() - 1);
        emit session_->positionsChanged();
    }

    JobSession* session_;
    QList<RoverEntry> rovers_;
    QList<BaseEntry> bases_;
    QList<PointChange> changes_;
};

// A deletion of rovers, or of bases with their rovers.
class JobSession::DeleteCommand : public QUndoCommand {
  public:
    struct RoverEntry {
        qsizetype index;
        RoverPoint rover;
        bool hadGroup;
        PointRecordGroup group;
        PointState state;
    };
    struct BaseEntry {
        qsizetype index;
        BaseStation base;
        PointState state;
    };

    // Both lists ascending by index.
    DeleteCommand(JobSession* s, QList<RoverEntry> rovers, QList<BaseEntry> bases, const QString& text)
        : session_(s), rovers_(std::move(rovers)), bases_(std::move(bases)) {
        setText(text);
    }

    void redo() override {
        RawJob& job = session_->job_;
        for (auto e = rovers_.crbegin(); e != rovers_.crend(); ++e) {
            session_->pendingFields_ -= session_->roverStates_[e->index].edit.fieldCount();
            job.rovers.removeAt(e->index);
            session_->roverStates_.removeAt(e->index);
            if (e->hadGroup) job.groups.removeAt(e->index);
        }
        for (auto e = bases_.crbegin(); e != bases_.crend(); ++e) {
            session_->pendingFields_ -= session_->baseStates_[e->index].edit.fieldCount();
            job.bases.removeAt(e->index);
            session_->baseStates_.removeAt(e->index);
        }
        emit session_->jobReset();
    }

    void undo() override {
        RawJob& job = session_->job_;
        for (const BaseEntry& e : bases_) {
            job.bases.insert(e.index, e.base);
            session_->baseStates_.insert(e.index, e.state);
            session_->pendingFields_ += e.state.edit.fieldCount();
        }
        for (const RoverEntry& e : rovers_) {
            job.rovers.insert(e.index, e.rover);
            session_->roverStates_.insert(e.index, e.state);
            if (e.hadGroup) job.groups.insert(e.index, e.group);
            session_->pendingFields_ += e.state.edit.fieldCount();
        }
        emit session_->jobReset();
    }

  private:
    JobSession* session_;
    QList<RoverEntry> rovers_;
    QList<BaseEntry> bases_;
};

JobSession::JobSession(const QStringList* catalogueNames, const QList<QStringList>* catalogueEntries,
                       QObject* parent)
    : QObject(parent), names_(catalogueNames), entries_(catalogueEntries) {}

JobSession::~JobSession() = default;

void JobSession::setJob(RawJob job) {
    undo_.clear();
    job_ = std::move(job);
    roverStates_ = QList<PointState>(job_.rovers.size());
    baseStates_ = QList<PointState>(job_.bases.size());
    pendingFields_ = 0;
    emit jobReset();
}

void JobSession::setState(PointKind kind, qsizetype row, const PointState& state) {
    PointState& current = states(kind)[row];
    pendingFields_ += state.edit.fieldCount() - current.edit.fieldCount();
    current = state;
}

QVariant JobSession::storedValue(PointKind kind, qsizetype row, EditField field) const {
    const bool rover = kind == PointKind::Rover;
    if (row < 0 || row >= (rover ? job_.rovers.size() : job_.bases.size())) return {};
    // A rover's coordinates follow from Calculate only: they are no edited field.
    if (rover && (field == EditField::North || field == EditField::East || field == EditField::Height))
        return {};
    return rover ? fieldValue(job_.rovers[row], field) : fieldValue(job_.bases[row], field);
}

QVariant JobSession::pendingValue(PointKind kind, qsizetype row, EditField field) const {
    if (row < 0 || row >= states(kind).size()) return {};
    PointEdit edit = states(kind)[row].edit;
    QVariant result;
    withField(edit, field, [&](const auto& slot) { result = toVariant(slot); });
    return result;
}

QVariant JobSession::value(PointKind kind, qsizetype row, EditField field) const {
    const QVariant pending = pendingValue(kind, row, field);
    return pending.isValid() ? pending : storedValue(kind, row, field);
}

bool JobSession::isPending(PointKind kind, qsizetype row, EditField field) const {
    return pendingValue(kind, row, field).isValid();
}

PointEdit JobSession::pendingEdit(PointKind kind, qsizetype row) const {
    return row >= 0 && row < states(kind).size() ? states(kind)[row].edit : PointEdit();
}

bool JobSession::isChanged(PointKind kind, qsizetype row) const {
    return row >= 0 && row < states(kind).size() && states(kind)[row].changed;
}

void JobSession::setPending(PointKind kind, qsizetype row, EditField field, const QVariant& pending) {
    PointState state = states(kind)[row];
    withField(state.edit, field, [&](auto& slot) { fromVariant(slot, pending); });
    setState(kind, row, state);
    emit pointsChanged(kind, row, row);
}

QString JobSession::resolveStage(PointKind kind, qsizetype row, EditField field, const QVariant& value,
                                 QVariant* pendingAfter) const {
    const QVariant stored = storedValue(kind, row, field);
    if (!stored.isValid() || (kind == PointKind::Base && field == EditField::Name))
        return tr("This cell cannot be edited.");

    QVariant wanted;
    bool sameAsStored = false;
    if (isLength(field)) {
        const std::optional<double> number = value.typeId() == QMetaType::Double
                                                 ? std::optional<double>(value.toDouble())
                                                 : parseDecimal(value.toString());
        if (!number || !std::isfinite(*number))
            return tr("\"%1\" is not a number: type digits with a decimal point, e.g. 1234.5678.")
                .arg(value.toString());
        wanted = *number;
        sameAsStored = *number == stored.toDouble();
        if (!sameAsStored && !differsBeyondTolerance(stored.toDouble(), *number))
            return tr("%1 is within 0.001 m of the stored %2: no change.")
                .arg(fixed4(*number), fixed4(stored.toDouble()));
    } else if (field == EditField::Method) {
        bool ok = false;
        const int method = value.toInt(&ok);
        if (!ok || ((method < 0 || method > 2) && method != stored.toInt()))
            return tr("Choose one of the three measuring methods.");
        wanted = method;
        sameAsStored = method == stored.toInt();
    } else {
        QString text = value.toString();
        if (field == EditField::Name) {
            text = text.trimmed();
            const QString problem = pointNameProblem(text);
            if (!problem.isEmpty()) return problem;
        } else if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('\n')) ||
                   text.contains(QLatin1Char('\r'))) {
            return tr("An antenna type cannot contain a comma or a line break.");
        }
        wanted = text;
        sameAsStored = text == stored.toString();
    }
    *pendingAfter = sameAsStored ? QVariant() : wanted;
    return QString();
}

QString JobSession::stage(PointKind kind, qsizetype row, EditField field, const QVariant& value) {
    QVariant after;
    const QString problem = resolveStage(kind, row, field, value, &after);
    if (!problem.isEmpty()) return problem;
    const QVariant before = pendingValue(kind, row, field);
    if (before == after) return QString();
    undo_.push(new StageCommand(this, kind, row, field, before, after));
    return QString();
}

QList<StagedPoint> JobSession::planBatch(PointKind kind, const QList<StagedValue>& values, EditOrigin origin,
                                         QList<StageRefusal>* refusals) const {
    // Each point's state as the values leave it, in row order; compared with the state before at the end.
    std::map<qsizetype, PointState> after;
    for (const StagedValue& v : values) {
        if (v.row < 0 || v.row >= states(kind).size()) continue;
        QVariant pending;
        const QString problem = resolveStage(kind, v.row, v.field, v.value, &pending);
        if (!problem.isEmpty()) {
            if (refusals) refusals->append({v.row, v.field, problem});
            continue;
        }
        auto found = after.find(v.row);
        if (found == after.end()) found = after.emplace(v.row, states(kind)[v.row]).first;
        withField(found->second.edit, v.field, [&](auto& slot) { fromVariant(slot, pending); });
    }
    QList<StagedPoint> changed;
    for (auto& [row, state] : after) {
        const PointEdit& before = states(kind)[row].edit;
        if (sameEdit(before, state.edit)) continue;
        state.origins = originsAfter(state, origin);
        changed.append({row, std::move(state)});
    }
    return changed;
}

qsizetype JobSession::stageBatch(PointKind kind, const QList<StagedValue>& values, EditOrigin origin,
                                 const QString& text) {
    QList<StagedPoint> after = planBatch(kind, values, origin);
    if (after.isEmpty()) return 0;
    QList<StagedPoint> before;
    before.reserve(after.size());
    for (const StagedPoint& p : after) before.append({p.row, states(kind)[p.row]});
    const qsizetype count = after.size();
    undo_.push(new BatchCommand(this, kind, std::move(before), std::move(after), text));
    return count;
}

QList<PointChange> JobSession::calculate() {
    if (pendingFields_ == 0) return {};
    const AntennaCatalogueRef cat = catalogue();

    // Every rover with a pending edit or carried by a moved base, before and after; edits are consumed.
    std::map<qsizetype, CalculateCommand::RoverEntry> rovers;
    std::map<qsizetype, PointChange> roverChanges;
    auto roverEntry = [&](qsizetype i) -> CalculateCommand::RoverEntry& {
        auto found = rovers.find(i);
        if (found == rovers.end()) {
            const PointState& state = roverStates_[i];
            found = rovers
                        .emplace(i,
                                 CalculateCommand::RoverEntry{
                                     i, job_.rovers[i], job_.rovers[i], state, {PointEdit(), state.changed}})
                        .first;
        }
        return found->second;
    };
    auto roverChanged = [&](qsizetype i, ChangeReason reason) -> PointChange& {
        roverEntry(i).stateAfter.changed = true;
        PointChange& change = roverChanges[i];
        change.index = i;
        change.reasons |= reason;
        return change;
    };

    // Rovers first: their own antenna set-up and names.
    for (qsizetype i = 0; i < roverStates_.size(); ++i) {
        const PointEdit& edit = roverStates_[i].edit;
        if (edit.isEmpty()) continue;
        CalculateCommand::RoverEntry& entry = roverEntry(i);
        if (!roverEditChanges(entry.before, edit)) continue;
        applyRoverEdit(entry.after, edit, cat);
        roverChanged(i, OwnEdit).origins = roverStates_[i].origins;
    }

    // Then bases, each carrying the rovers measured from it.
    QHash<QString, QList<qsizetype>> roversOfBase;
    QList<CalculateCommand::BaseEntry> bases;
    QList<PointChange> baseChanges;
    for (qsizetype j = 0; j < baseStates_.size(); ++j) {
        const PointState& state = baseStates_[j];
        if (state.edit.isEmpty()) continue;
        CalculateCommand::BaseEntry& entry = bases.emplaceBack(CalculateCommand::BaseEntry{
            j, job_.bases[j], job_.bases[j], state, {PointEdit(), state.changed}});
        if (!baseEditChanges(entry.before, state.edit)) continue;
        const BaseShift shift = applyBaseEdit(entry.after, state.edit, cat);
        entry.stateAfter.changed = true;
        if (roversOfBase.isEmpty())
            for (qsizetype i = 0; i < job_.rovers.size(); ++i) roversOfBase[job_.rovers[i].baseName] << i;
        for (qsizetype i : roversOfBase.value(entry.before.name)) {
            followBase(roverEntry(i).after, entry.before, entry.after, shift);
            roverChanged(i, BaseMoved).movedBase = entry.before.name;
        }
        PointChange& change = baseChanges.emplaceBack();
        change.kind = PointKind::Base;
        change.index = j;
        change.baseBefore = entry.before;
        change.baseAfter = entry.after;
        change.reasons = OwnEdit;
        change.origins = state.origins;
    }

    QList<PointChange> changes;
    for (auto& [index, change] : roverChanges) {
        change.roverBefore = rovers.at(index).before;
        change.roverAfter = rovers.at(index).after;
        changes << change;
    }
    changes << baseChanges;
    QList<CalculateCommand::RoverEntry> roverEntries;
    roverEntries.reserve(static_cast<qsizetype>(rovers.size()));
    for (auto& [index, entry] : rovers) roverEntries << std::move(entry);
    undo_.push(new CalculateCommand(this, std::move(roverEntries), std::move(bases), changes));
    return changes;
}

qsizetype JobSession::roversOfBases(const QList<qsizetype>& rows) const {
    QSet<QString> names;
    for (qsizetype row : rows)
        if (row >= 0 && row < job_.bases.size()) names.insert(job_.bases[row].name);
    return std::count_if(job_.rovers.cbegin(), job_.rovers.cend(),
                         [&](const RoverPoint& r) { return names.contains(r.baseName); });
}

qsizetype JobSession::deletePoints(PointKind kind, QList<qsizetype> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QList<DeleteCommand::BaseEntry> bases;
    QSet<QString> baseNames;
    QList<qsizetype> roverRows;
    if (kind == PointKind::Base) {
        for (qsizetype row : rows) {
            if (row < 0 || row >= job_.bases.size()) continue;
            bases << DeleteCommand::BaseEntry{row, job_.bases[row], baseStates_[row]};
            baseNames.insert(job_.bases[row].name);
        }
        for (qsizetype i = 0; i < job_.rovers.size(); ++i)
            if (baseNames.contains(job_.rovers[i].baseName)) roverRows << i;
    } else {
        for (qsizetype row : rows)
            if (row >= 0 && row < job_.rovers.size()) roverRows << row;
    }
    QList<DeleteCommand::RoverEntry> rovers;
    const bool parallelGroups = job_.groups.size() == job_.rovers.size();
    for (qsizetype i : roverRows)
        rovers << DeleteCommand::RoverEntry{i, job_.rovers[i], parallelGroups,
                                            parallelGroups ? job_.groups[i] : PointRecordGroup(),
                                            roverStates_[i]};
    const qsizetype removed = bases.size() + rovers.size();
    if (removed == 0) return 0;
    const QString text = kind == PointKind::Base ? tr("Delete %1 base point(s)").arg(bases.size())
                                                 : tr("Delete %1 rover point(s)").arg(rovers.size());
    undo_.push(new DeleteCommand(this, std::move(rovers), std::move(bases), text));
    return removed;
}

QList<PointChange> JobSession::appliedChanges() const {
    QList<PointChange> changes;
    for (int i = 0; i < undo_.index(); ++i) {
        const QUndoCommand* command = undo_.command(i);
        if (command->id() == kCalculateCommandId)
            changes << static_cast<const CalculateCommand*>(command)->changes();
    }
    return changes;
}
