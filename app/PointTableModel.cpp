#include "PointTableModel.h"

#include <QBrush>
#include <QColor>
#include <QFont>

namespace {

const QColor kPendingColour(255, 236, 153);  // amber: typed or chosen, not yet calculated
const QColor kChangedColour(204, 238, 204);  // green: changed by a Calculate of this session
const QColor kUnknownColour(170, 0, 0);      // dark red text: not in the catalogue
const QColor kRefusedColour(255, 200, 200);  // pink: the text typed here last was refused

enum BaseColumn { B_Name, B_N, B_E, B_H, B_Type, B_AntHeight, B_Method, B_Edit, B_Count };
enum RoverColumn {
    R_Name,
    R_Base,
    R_N,
    R_E,
    R_H,
    R_Type,
    R_AntHeight,
    R_Method,
    R_Hrms,
    R_Vrms,
    R_Pdop,
    R_Dif,
    R_Time,
    R_Duration,
    R_Epoch,
    R_Sat1,
    R_Sat2,
    R_Edit,
    R_Count
};

}  // namespace

PointTableModel::PointTableModel(JobSession* session, PointKind kind, const QStringList* catalogueNames,
                                 const QStringList* methodNames, QObject* parent)
    : QAbstractTableModel(parent),
      session_(session),
      kind_(kind),
      catalogue_(catalogueNames),
      methods_(methodNames) {
    connect(session, &JobSession::jobReset, this, [this] {
        beginResetModel();
        refusals_.clear();
        endResetModel();
    });
    connect(session, &JobSession::pointsChanged, this,
            [this](PointKind kind, qsizetype first, qsizetype last) {
                if (kind != kind_ || last < first) return;
                emit dataChanged(index(int(first), 0), index(int(last), columnCount() - 1));
            });
}

int PointTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    const RawJob& job = session_->job();
    return int(kind_ == PointKind::Rover ? job.rovers.size() : job.bases.size());
}

int PointTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : (kind_ == PointKind::Rover ? int(R_Count) : int(B_Count));
}

std::optional<EditField> PointTableModel::editField(int column) const {
    if (kind_ == PointKind::Rover) {
        switch (column) {
            case R_Name:
                return EditField::Name;
            case R_Type:
                return EditField::AntennaType;
            case R_AntHeight:
                return EditField::AntennaHeight;
            case R_Method:
                return EditField::Method;
            default:
                return std::nullopt;
        }
    }
    switch (column) {
        case B_N:
            return EditField::North;
        case B_E:
            return EditField::East;
        case B_H:
            return EditField::Height;
        case B_Type:
            return EditField::AntennaType;
        case B_AntHeight:
            return EditField::AntennaHeight;
        case B_Method:
            return EditField::Method;
        default:
            return std::nullopt;
    }
}

bool PointTableModel::isComboColumn(int column) const {
    const std::optional<EditField> field = editField(column);
    return field && (*field == EditField::AntennaType || *field == EditField::Method);
}

bool PointTableModel::separateSatelliteCounts() const { return session_->job().header.version == "V1.0"; }

void PointTableModel::refreshAll() {
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

bool PointTableModel::inCatalogue(const QString& type) const { return catalogue_->contains(type); }

QString PointTableModel::methodText(int method) const {
    if (method >= 0 && method < methods_->size()) return methods_->at(method);
    return tr("Method %1 (unknown)").arg(method);
}

QString PointTableModel::displayText(int row, int column) const {
    if (const std::optional<EditField> field = editField(column)) {
        const QVariant value = session_->value(kind_, row, *field);
        switch (*field) {
            case EditField::Name:
                return value.toString();
            case EditField::AntennaType: {
                const QString type = value.toString();
                return inCatalogue(type) ? type : tr("%1 (not in catalogue)").arg(type);
            }
            case EditField::Method:
                return methodText(value.toInt());
            default:
                return fixed4(value.toDouble());
        }
    }
    if (kind_ == PointKind::Base) {
        const BaseStation& b = session_->job().bases[row];
        switch (column) {
            case B_Name:
                return b.name;
            case B_Edit:
                return session_->isChanged(kind_, row) ? QStringLiteral("1") : QStringLiteral("0");
            default:
                return QString();
        }
    }
    const RoverPoint& r = session_->job().rovers[row];
    const bool separate = separateSatelliteCounts();
    switch (column) {
        case R_Base:
            return r.baseName;
        case R_N:
            return fixed4(r.north);
        case R_E:
            return fixed4(r.east);
        case R_H:
            return fixed4(r.height);
        case R_Hrms:
            return fixed4(r.hrms);
        case R_Vrms:
            return fixed4(r.vrms);
        case R_Pdop:
            return fixed4(r.pdop);
        case R_Dif:
            return hasFixedSolution(r) ? tr("Fixed") : tr("Unfixed");
        case R_Time:
            return r.time;
        case R_Duration:
            return QString::number(r.duration);
        case R_Epoch:
            return QString::number(r.epochs);
        case R_Sat1:
            return QString::number(separate ? r.gpsSatellites : r.gnssSatellites);
        case R_Sat2:
            return separate ? QString::number(r.glonassSatellites) : QString();
        case R_Edit:
            return session_->isChanged(kind_, row) ? QStringLiteral("1") : QStringLiteral("0");
        default:
            return QString();
    }
}

QVariant PointTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const int row = index.row();
    const int column = index.column();
    const std::optional<EditField> field = editField(column);
    const bool pending = field && session_->isPending(kind_, row, *field);

    switch (role) {
        case Qt::DisplayRole:
            return displayText(row, column);
        case Qt::EditRole:
            if (!field) return displayText(row, column);
            if (*field == EditField::AntennaType || *field == EditField::Method || *field == EditField::Name)
                return session_->value(kind_, row, *field);
            return fixed4(session_->value(kind_, row, *field).toDouble());
        case SortRole: {
            if (field && *field != EditField::AntennaType && *field != EditField::Name)
                return session_->value(kind_, row, *field);
            if (kind_ == PointKind::Rover) {
                const RoverPoint& r = session_->job().rovers[row];
                switch (column) {
                    case R_N:
                        return r.north;
                    case R_E:
                        return r.east;
                    case R_H:
                        return r.height;
                    case R_Hrms:
                        return r.hrms;
                    case R_Vrms:
                        return r.vrms;
                    case R_Pdop:
                        return r.pdop;
                    case R_Duration:
                        return r.duration;
                    case R_Epoch:
                        return r.epochs;
                    default:
                        break;
                }
            }
            return displayText(row, column);
        }
        case Qt::TextAlignmentRole: {
            const bool centred = kind_ == PointKind::Base ? !isComboColumn(column)
                                                          : (column <= R_Method && !isComboColumn(column));
            return centred ? QVariant(Qt::AlignCenter) : QVariant();
        }
        case Qt::BackgroundRole:
            if (refusals_.contains({row, column})) return QBrush(kRefusedColour);
            if (pending) return QBrush(kPendingColour);
            if (session_->isChanged(kind_, row)) return QBrush(kChangedColour);
            return {};
        case Qt::ForegroundRole:
            if (field && *field == EditField::AntennaType &&
                !inCatalogue(session_->value(kind_, row, *field).toString()))
                return QBrush(kUnknownColour);
            if (field && *field == EditField::Method) {
                const int method = session_->value(kind_, row, *field).toInt();
                if (method < 0 || method >= methods_->size()) return QBrush(kUnknownColour);
            }
            return {};
        case Qt::FontRole:
            if (pending) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        case Qt::ToolTipRole: {
            QStringList tips;
            if (refusals_.contains({row, column})) tips << refusals_.value({row, column});
            if (pending) {
                const QVariant stored = session_->storedValue(kind_, row, *field);
                QString storedText;
                if (*field == EditField::Method)
                    storedText = methodText(stored.toInt());
                else if (*field == EditField::AntennaType || *field == EditField::Name)
                    storedText = stored.toString();
                else
                    storedText = fixed4(stored.toDouble());
                tips << tr("Pending until Calculate; stored: %1").arg(storedText);
            }
            if (field && *field == EditField::AntennaType &&
                !inCatalogue(session_->value(kind_, row, *field).toString()))
                tips << tr(
                    "Not in the antenna catalogue: its offset counts as 0. It stays until you choose "
                    "another.");
            if (session_->isChanged(kind_, row)) tips << tr("Changed by Calculate (see Process > Changes)");
            return tips.isEmpty() ? QVariant() : QVariant(tips.join(QLatin1Char('\n')));
        }
        case ChoiceTextsRole:
        case ChoiceValuesRole: {
            if (!isComboColumn(column)) return {};
            QStringList texts;
            QVariantList values;
            const QVariant current = session_->value(kind_, row, *field);
            const QVariant stored = session_->storedValue(kind_, row, *field);
            if (*field == EditField::AntennaType) {
                // The stored type stays choosable even when the catalogue lacks it.
                for (const QVariant& own : {stored, current}) {
                    const QString type = own.toString();
                    if (!inCatalogue(type) && !values.contains(type)) {
                        texts << tr("%1 (not in catalogue)").arg(type);
                        values << type;
                    }
                }
                for (const QString& name : *catalogue_) {
                    texts << name;
                    values << name;
                }
            } else {
                for (int m = 0; m < methods_->size(); ++m) {
                    texts << methods_->at(m);
                    values << m;
                }
                const int own = stored.toInt();
                if (own < 0 || own >= methods_->size()) {
                    texts << methodText(own);
                    values << own;
                }
            }
            return role == ChoiceTextsRole ? QVariant(texts) : QVariant(values);
        }
        default:
            return {};
    }
}

QVariant PointTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (kind_ == PointKind::Base) {
        static const char* const kHeaders[] = {"Name",     "N",          "E",          "H",
                                               "Ant Type", "Ant Height", "Ant Method", "Edit"};
        return section >= 0 && section < B_Count ? tr(kHeaders[section]) : QVariant();
    }
    static const char* const kHeaders[] = {
        "Name", "Base", "N",   "E",    "H",        "Ant Type", "Ant Height", "Ant Method", "HRMS",
        "VRMS", "PDOP", "DIF", "TIME", "Duration", "Epoch",    "NGPS",       "NGLONASS",   "Edit"};
    if (section == R_Sat1 && !separateSatelliteCounts()) return tr("NGNSS");
    return section >= 0 && section < R_Count ? tr(kHeaders[section]) : QVariant();
}

Qt::ItemFlags PointTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editField(index.column())) flags |= Qt::ItemIsEditable;
    return flags;
}

bool PointTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    const std::optional<EditField> field = editField(index.column());
    if (!field) return false;
    // A number committed as the text the cell showed is no edit (the cell shows 4 decimals).
    if (!isComboColumn(index.column()) && *field != EditField::Name &&
        value.toString().trimmed() == fixed4(session_->value(kind_, index.row(), *field).toDouble()))
        return true;
    const QString why = session_->stage(kind_, index.row(), *field, value);
    const QPair<int, int> cell(index.row(), index.column());
    if (!why.isEmpty()) {
        refusals_.insert(cell, why);
        emit dataChanged(index, index);
        emit editRejected(why, index);
        return false;
    }
    if (refusals_.remove(cell) > 0) emit dataChanged(index, index);
    return true;
}
