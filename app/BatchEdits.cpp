#include "BatchEdits.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>

namespace {

QString tr(const char* text) { return QCoreApplication::translate("RawBench", text); }

EditField editField(RoverFilterField field) {
    switch (field) {
        case RoverFilterField::AntennaType:
            return EditField::AntennaType;
        case RoverFilterField::AntennaHeight:
            return EditField::AntennaHeight;
        case RoverFilterField::Method:
            break;
    }
    return EditField::Method;
}

// Orders filter values of one field: texts by text, numbers by number.
bool lessValue(const QVariant& a, const QVariant& b) {
    if (a.typeId() == QMetaType::QString) return a.toString() < b.toString();
    return a.toDouble() < b.toDouble();
}

}  // namespace

QList<qsizetype> BatchEdits::roversOfBase(qsizetype base) const {
    const RawJob& job = session_->job();
    QList<qsizetype> rows;
    if (base < 0 || base >= job.bases.size()) return rows;
    for (qsizetype i = 0; i < job.rovers.size(); ++i)
        if (job.rovers[i].baseName == job.bases[base].name) rows << i;
    return rows;
}

QList<qsizetype> BatchEdits::roversWith(RoverFilterField field, const QVariant& value) const {
    QList<qsizetype> rows;
    const EditField f = editField(field);
    for (qsizetype i = 0; i < session_->job().rovers.size(); ++i)
        if (session_->value(PointKind::Rover, i, f) == value) rows << i;
    return rows;
}

QList<QPair<QVariant, qsizetype>> BatchEdits::distinctValues(RoverFilterField field) const {
    const EditField f = editField(field);
    QList<QPair<QVariant, qsizetype>> values;
    QHash<QString, qsizetype> position;  // by the value's exact text (doubles to the last bit)
    for (qsizetype i = 0; i < session_->job().rovers.size(); ++i) {
        const QVariant v = session_->value(PointKind::Rover, i, f);
        const QString key =
            v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 17) : v.toString();
        auto found = position.constFind(key);
        if (found == position.cend()) {
            position.insert(key, values.size());
            values.append({v, 1});
        } else {
            ++values[*found].second;
        }
    }
    std::sort(values.begin(), values.end(),
              [](const auto& a, const auto& b) { return lessValue(a.first, b.first); });
    return values;
}

BatchPlan BatchEdits::plan(PointKind kind, EditOrigin origin, const QString& text,
                           QList<StagedValue> values) const {
    BatchPlan p;
    p.kind = kind;
    p.origin = origin;
    p.text = text;
    p.values = std::move(values);
    p.points = session_->planBatch(kind, p.values, origin, &p.refusals);
    return p;
}

AntennaPreview BatchEdits::setAntenna(const QList<qsizetype>& rows, const AntennaSetUp& setUp) const {
    QList<StagedValue> values;
    for (qsizetype row : rows) {
        if (setUp.type) values.append({row, EditField::AntennaType, *setUp.type});
        if (setUp.height) values.append({row, EditField::AntennaHeight, *setUp.height});
        if (setUp.method) values.append({row, EditField::Method, *setUp.method});
    }
    AntennaPreview preview;
    preview.selected = rows.size();
    preview.plan = plan(PointKind::Rover, BatchAntenna, tr("Set antenna on %1 rover(s)").arg(rows.size()),
                        std::move(values));
    // The height each changed rover would get from Calculate, by the same rule Calculate applies.
    const AntennaCatalogueRef catalogue = session_->catalogue();
    bool first = true;
    for (const StagedPoint& p : preview.plan.points) {
        const RoverPoint& stored = session_->job().rovers[p.row];
        RoverPoint calculated = stored;
        if (roverEditChanges(stored, p.state.edit)) applyRoverEdit(calculated, p.state.edit, catalogue);
        const double change = calculated.height - stored.height;
        preview.lowestHeightChange = first ? change : std::min(preview.lowestHeightChange, change);
        preview.highestHeightChange = first ? change : std::max(preview.highestHeightChange, change);
        first = false;
    }
    return preview;
}

BaseShiftPreview BatchEdits::shiftBase(qsizetype row, double dN, double dE, double dH) const {
    auto shown = [&](EditField field) { return session_->value(PointKind::Base, row, field).toDouble(); };
    return moveBase(row, shown(EditField::North) + dN, shown(EditField::East) + dE,
                    shown(EditField::Height) + dH);
}

BaseShiftPreview BatchEdits::moveBase(qsizetype row, double north, double east, double height) const {
    BaseShiftPreview preview;
    if (row < 0 || row >= session_->job().bases.size()) return preview;
    preview.before = session_->job().bases[row];
    preview.plan = plan(
        PointKind::Base, BatchShift, tr("Shift base %1").arg(preview.before.name),
        {{row, EditField::North, north}, {row, EditField::East, east}, {row, EditField::Height, height}});
    // The base's edit after the batch (the pending one when the batch changes nothing), as Calculate takes
    // it.
    PointEdit edit = session_->pendingEdit(PointKind::Base, row);
    for (const StagedPoint& p : preview.plan.points) edit = p.state.edit;
    preview.after = preview.before;
    preview.moves = baseEditChanges(preview.before, edit);
    if (preview.moves) preview.roverShift = applyBaseEdit(preview.after, edit, session_->catalogue());
    preview.followers = roversOfBase(row).size();
    return preview;
}

RenamePreview BatchEdits::rename(const QList<qsizetype>& rows, const QString& find,
                                 const QString& replacement, bool regularExpression) const {
    RenamePreview preview;
    if (find.isEmpty()) {
        preview.problem = tr("Type the text to find.");
        return preview;
    }
    QRegularExpression pattern;
    if (regularExpression) {
        pattern.setPattern(find);
        if (!pattern.isValid()) {
            preview.problem = tr("Not a regular expression: %1").arg(pattern.errorString());
            return preview;
        }
    }
    QList<StagedValue> values;
    for (qsizetype row : rows) {
        const QString before = session_->value(PointKind::Rover, row, EditField::Name).toString();
        QString after = before;
        if (regularExpression)
            after.replace(pattern, replacement);
        else
            after.replace(find, replacement, Qt::CaseSensitive);
        if (after == before) continue;
        RenameLine line{row, before, after, QString()};
        QVariant pending;
        line.problem = session_->resolveStage(PointKind::Rover, row, EditField::Name, after, &pending);
        if (line.problem.isEmpty()) line.after = after.trimmed();  // as a typed name is taken
        preview.lines << line;
        values.append({row, EditField::Name, after});
    }
    preview.plan = plan(PointKind::Rover, BatchRename, tr("Rename %1 rover(s)").arg(preview.lines.size()),
                        std::move(values));

    // Names every rover of the job would show afterwards; a renamed rover sharing one is asked about.
    QHash<qsizetype, QString> renamed;
    for (const RenameLine& line : preview.lines)
        if (line.problem.isEmpty()) renamed.insert(line.row, line.after);
    if (renamed.isEmpty()) return preview;
    QHash<QString, int> uses;
    for (qsizetype i = 0; i < session_->job().rovers.size(); ++i)
        ++uses[renamed.value(i, session_->value(PointKind::Rover, i, EditField::Name).toString())];
    for (const RenameLine& line : preview.lines)
        if (line.problem.isEmpty() && uses.value(line.after) > 1 && !preview.sharedNames.contains(line.after))
            preview.sharedNames << line.after;
    return preview;
}

qsizetype BatchEdits::apply(const BatchPlan& plan) {
    return session_->stageBatch(plan.kind, plan.values, plan.origin, plan.text);
}
