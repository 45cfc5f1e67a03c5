// The editing commands of the main window: Calculate, Export, Delete_Base, Delete_Rover and About.
// The slots read the widgets and hand the work to the plain functions of Recalculation.h, CsvExport.h and
// PointDeletion.h.
#include <QDir>
#include <QTableWidget>

#include "Ant_Manager.h"
#include "CsvExport.h"
#include "Dialog_Help.h"
#include "PointDeletion.h"
#include "Prompter.h"
#include "RawBench.h"
#include "Recalculation.h"
#include "ui_RawBench.h"

namespace {

const QString kMarked = QStringLiteral("1");

QString cellText(const QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QString();
}

// The "Edit" marks of a table: a row is marked when its cell reads exactly "1".
QList<bool> editMarks(const QTableWidget* table, int column) {
    QList<bool> marks;
    for (int row = 0; row < table->rowCount(); ++row) marks << (cellText(table, row, column) == kMarked);
    return marks;
}

void setEditMarks(QTableWidget* table, int column, const QList<bool>& marks) {
    for (int row = 0; row < marks.size() && row < table->rowCount(); ++row) {
        if (!marks[row]) continue;
        if (QTableWidgetItem* item = table->item(row, column))
            item->setText(kMarked);
        else
            table->setItem(row, column, new QTableWidgetItem(kMarked));
    }
}

QString comboText(const QList<QComboBox*>& combos, int row) {
    return row < combos.size() ? combos[row]->currentText() : QString();
}

int comboIndex(const QList<QComboBox*>& combos, int row) {
    return row < combos.size() ? combos[row]->currentIndex() : -1;
}

template <typename T>
void removeIfPresent(QList<T>& list, qsizetype index) {
    if (index >= 0 && index < list.size()) list.removeAt(index);
}

}  // namespace

void RawBench::recalculateRovers() {
    QTableWidget* table = ui->tableWidget_rover;
    QList<RoverRow> rows;
    for (int row = 0; row < table->rowCount(); ++row)
        rows << RoverRow{cellText(table, row, 0), comboText(roverAntennaCombos_, row),
                         comboIndex(roverAntennaCombos_, row), cellText(table, row, 6),
                         comboIndex(roverMethodCombos_, row)};
    QList<bool> marks = editMarks(table, 17);
    // The marks are only read here; they are written to the table so that it shows what was recalculated
    // until the refill resets them.
    ::recalculateRovers(job_.rovers, rows, marks, {antManager_->antennaNames, antManager_->antennaEntries});
    setEditMarks(table, 17, marks);
}

void RawBench::recalculateBases() {
    QTableWidget* table = ui->tableWidget_base;
    QList<BaseRow> rows;
    for (int row = 0; row < table->rowCount(); ++row)
        rows << BaseRow{cellText(table, row, 1),
                        cellText(table, row, 2),
                        cellText(table, row, 3),
                        comboText(baseAntennaCombos_, row),
                        comboIndex(baseAntennaCombos_, row),
                        cellText(table, row, 5),
                        comboIndex(baseMethodCombos_, row)};
    QList<bool> marks = editMarks(table, 7);
    ::recalculateBases(job_.bases, job_.rovers, rows, marks,
                       {antManager_->antennaNames, antManager_->antennaEntries});
    setEditMarks(table, 7, marks);

    fillBaseTable();
    fillRoverTable();
    fillJobTables();
    redrawMap();
}

void RawBench::on_action_Calculate_triggered() {
    recalculateRovers();
    recalculateBases();
    fillBaseTable();
    fillRoverTable();
    fillJobTables();
    redrawMap();
    prompter().askMessage(QMessageBox::Warning, this, tr("Warning"), tr("Finished"));
}

void RawBench::on_action_Export_triggered() {
    const QString path = prompter().askSaveFileName(this, tr("export"), QString(), tr("eport(*.csv)"));
    if (path.isNull()) return;  // cancelled
    QString reason;
    if (!writeRoversCsv(path, job_, &reason))
        prompter().askMessage(QMessageBox::Warning, this, tr("Warning"),
                              tr("Cannot export to %1: %2").arg(QDir::toNativeSeparators(path), reason));
}

void RawBench::removeRoverRow(qsizetype row) {
    ui->tableWidget_rover->removeRow(static_cast<int>(row));
    removeIfPresent(roverAntennaCombos_, row);
    removeIfPresent(roverMethodCombos_, row);
}

void RawBench::on_action_Delete_Base_triggered() {
    QTableWidget* table = ui->tableWidget_base;
    if (ui->tabWidget->currentIndex() != 0 || !table->currentItem() || table->rowCount() < 1) return;
    if (prompter().askMessage(QMessageBox::NoIcon, nullptr, QString(),
                              tr("Do you want to delete this base point?"),
                              QMessageBox::Ok | QMessageBox::No) == QMessageBox::No)
        return;

    const int row = table->currentRow();
    const QString name = cellText(table, row, 0);
    deleteRoversOfBase(job_, name, [this](qsizetype i) { removeRoverRow(i); });
    deleteBase(job_, row);
    removeIfPresent(baseAntennaCombos_, row);
    removeIfPresent(baseMethodCombos_, row);
    table->removeRow(row);
    // The tables lose just the removed rows; the plan is drawn again so it no longer shows them.
    redrawMap();
}

void RawBench::on_action_Delete_Rover_triggered() {
    QTableWidget* table = ui->tableWidget_rover;
    if (ui->tabWidget->currentIndex() != 1 || !table->currentItem()) return;
    if (prompter().askMessage(QMessageBox::NoIcon, nullptr, QString(),
                              tr("Do you want to delete this rover point?"),
                              QMessageBox::Ok | QMessageBox::No) == QMessageBox::No)
        return;
    const int row = table->currentRow();
    deleteRover(job_, row);
    removeRoverRow(row);
    redrawMap();
}

void RawBench::on_action_About_triggered() { help_->show(); }
