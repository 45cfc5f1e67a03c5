#pragma once
// The "Base" and "Rover" tables as views of the job: one model per kind over a JobSession. Cells show the
// pending value when there is one (highlighted, the stored value in the tool tip), points changed by a
// Calculate are marked, and antenna types or methods that are not in the catalogue are shown as they are,
// marked, never replaced by a guess.
//
// Base columns: Name, N, E, H, Ant Type, Ant Height, Ant Method, Edit (hidden change mark).
// Rover columns: Name, Base, N, E, H, Ant Type, Ant Height, Ant Method, HRMS, VRMS, PDOP, DIF, TIME,
// Duration, Epoch, NGPS (NGNSS unless the job's version is "V1.0"), NGLONASS, Edit (hidden change mark).
#include <QAbstractTableModel>
#include <QHash>
#include <QPair>
#include <QStringList>
#include <optional>

#include "JobSession.h"

class PointTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Role {
        ChoiceTextsRole = Qt::UserRole + 1,  // combo cells: the texts of the choices (QStringList)
        ChoiceValuesRole,                    // combo cells: the value each choice stages (QVariantList)
        SortRole,                            // numbers as numbers, for sorting
    };

    // catalogueNames and methodNames are read at every use (the catalogue may change).
    PointTableModel(JobSession* session, PointKind kind, const QStringList* catalogueNames,
                    const QStringList* methodNames, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Stages the value through the session; a refused value is not taken: the cell is marked with the reason
    // (until it is edited again) and editRejected says why.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    PointKind kind() const { return kind_; }
    // The edited field a column shows, if the column is editable.
    std::optional<EditField> editField(int column) const;
    bool isComboColumn(int column) const;
    // The job's version counts GPS and GLONASS satellites apart ("V1.0").
    bool separateSatelliteCounts() const;
    // Repaints every row (after a change of the catalogue: the not-in-catalogue marks).
    void refreshAll();

  signals:
    void editRejected(const QString& why, const QModelIndex& index);

  private:
    QString displayText(int row, int column) const;
    QString methodText(int method) const;
    bool inCatalogue(const QString& type) const;

    JobSession* session_;
    PointKind kind_;
    const QStringList* catalogue_;
    const QStringList* methods_;
    QHash<QPair<int, int>, QString> refusals_;  // (row, column) → why the last text typed there was refused
};
