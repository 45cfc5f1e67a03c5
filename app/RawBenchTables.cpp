// The result tables of the main window: "Base", "Rover" and the five "Coordinate" tables.
#include <QHeaderView>
#include <QTableWidget>

#include "AngleText.h"
#include "Ant_Manager.h"
#include "RawBench.h"
#include "ui_RawBench.h"

namespace {

QString fixed4(double value) { return QStringLiteral("%1").arg(value, 0, 'f', 4); }
QString general(double value) { return QStringLiteral("%1").arg(value, 0, 'g', 6); }

// A cell the user can neither select nor edit. It stays enabled: a disabled item is painted greyed out,
// which makes the coordinates and quality figures hard to read.
QTableWidgetItem* readOnlyItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

QTableWidgetItem* centred(QTableWidgetItem* item) {
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

// Combo boxes of the cells of table, created on its viewport: a combo created without parent and moved
// there later re-resolves the table's font, which costs a hundred times more with thousands of rows. Each
// combo holds its own copy of the short list (cheaper to build than connecting thousands of combos to one
// shared model).
QComboBox* cellCombo(QTableWidget* table, const QStringList& texts, int current) {
    auto* combo = new QComboBox(table->viewport());
    combo->addItems(texts);
    combo->setCurrentIndex(current);
    return combo;
}

// Antenna type combo: the catalogue's names, showing the first name equal to type (the first name when
// none is).
QComboBox* antennaCombo(QTableWidget* table, const QStringList& catalogue, const QString& type) {
    return cellCombo(table, catalogue, std::max<qsizetype>(0, catalogue.indexOf(type)));
}

// Clears the rows of table and sizes it for rows, with painting held back until the caller is done.
void resetRows(QTableWidget* table, int rows) {
    table->clearContents();
    table->setRowCount(0);
    table->setRowCount(rows);
}

// Every cell of the one-row "Coordinate" table starts again from "----", so nothing of a previous job stays.
void resetJobRow(QTableWidget* table) {
    for (int column = 0; column < table->columnCount(); ++column)
        table->item(0, column)->setText(QStringLiteral("----"));
}

void setCells(QTableWidget* table, int firstColumn, const QStringList& texts) {
    for (int i = 0; i < texts.size(); ++i) table->item(0, firstColumn + i)->setText(texts[i]);
}

}  // namespace

void RawBench::fillBaseTable() {
    QTableWidget* table = ui->tableWidget_base;
    baseAntennaCombos_.clear();
    baseMethodCombos_.clear();
    antennaTypeModel_->setStringList(antManager_->antennaNames);
    const QStringList catalogue = antennaTypeModel_->stringList();
    const QStringList methods = methodModel_->stringList();

    table->setUpdatesEnabled(false);
    resetRows(table, job_.bases.size());
    for (int row = 0; row < job_.bases.size(); ++row) {
        const BaseStation& base = job_.bases[row];
        table->setItem(row, 0, centred(readOnlyItem(base.name)));
        table->setItem(row, 1, centred(new QTableWidgetItem(fixed4(base.north))));
        table->setItem(row, 2, centred(new QTableWidgetItem(fixed4(base.east))));
        table->setItem(row, 3, centred(new QTableWidgetItem(fixed4(base.height))));
        QComboBox* type = antennaCombo(table, catalogue, base.antennaType);
        table->setCellWidget(row, 4, type);
        baseAntennaCombos_ << type;
        QComboBox* method = cellCombo(table, methods, base.antennaMethod);
        table->setCellWidget(row, 6, method);
        baseMethodCombos_ << method;
        table->setItem(row, 5, centred(new QTableWidgetItem(fixed4(base.antennaHeight))));
        table->setItem(row, 7, centred(new QTableWidgetItem(QStringLiteral("0"))));
    }
    table->resizeColumnsToContents();
    table->setUpdatesEnabled(true);
}

void RawBench::fillRoverTable() {
    QTableWidget* table = ui->tableWidget_rover;
    roverAntennaCombos_.clear();
    roverMethodCombos_.clear();
    antennaTypeModel_->setStringList(antManager_->antennaNames);
    const QStringList catalogue = antennaTypeModel_->stringList();
    const QStringList methods = methodModel_->stringList();

    // Version "V1.0" files count GPS and GLONASS satellites apart; later ones give one GNSS count.
    const bool separateCounts = job_.header.version == "V1.0";
    table->setHorizontalHeaderItem(15, new QTableWidgetItem(separateCounts ? tr("NGPS") : tr("NGNSS")));
    table->setColumnHidden(16, !separateCounts);

    table->setUpdatesEnabled(false);
    resetRows(table, job_.rovers.size());
    for (int row = 0; row < job_.rovers.size(); ++row) {
        const RoverPoint& rover = job_.rovers[row];
        table->setItem(row, 0, centred(new QTableWidgetItem(rover.name)));
        table->setItem(row, 1, centred(readOnlyItem(rover.baseName)));
        table->setItem(row, 2, centred(readOnlyItem(fixed4(rover.north))));
        table->setItem(row, 3, centred(readOnlyItem(fixed4(rover.east))));
        table->setItem(row, 4, centred(readOnlyItem(fixed4(rover.height))));
        QComboBox* type = antennaCombo(table, catalogue, rover.antennaType);
        table->setCellWidget(row, 5, type);
        roverAntennaCombos_ << type;
        table->setItem(row, 6, centred(new QTableWidgetItem(fixed4(rover.antennaHeight))));
        QComboBox* method = cellCombo(table, methods, rover.antennaMethod);
        table->setCellWidget(row, 7, method);
        roverMethodCombos_ << method;
        table->setItem(row, 8, readOnlyItem(fixed4(rover.hrms)));
        table->setItem(row, 9, readOnlyItem(fixed4(rover.vrms)));
        table->setItem(row, 10, readOnlyItem(fixed4(rover.pdop)));
        table->setItem(row, 11, readOnlyItem(rover.solutionType == 9 ? tr("Fixed") : tr("Unfixed")));
        table->setItem(row, 12, readOnlyItem(rover.time));
        table->setItem(row, 13, readOnlyItem(QString::number(rover.duration)));
        table->setItem(row, 14, readOnlyItem(QString::number(rover.epochs)));
        if (separateCounts) {
            table->setItem(row, 15, readOnlyItem(QString::number(rover.gpsSatellites)));
            table->setItem(row, 16, readOnlyItem(QString::number(rover.glonassSatellites)));
        } else {
            table->setItem(row, 15, readOnlyItem(QString::number(rover.gnssSatellites)));
            table->setItem(row, 16, readOnlyItem(QString()));
        }
        table->setItem(row, 17, readOnlyItem(QStringLiteral("0")));
    }
    table->resizeColumnsToContents();
    table->setUpdatesEnabled(true);
}

void RawBench::fillJobTables() {
    const JobSummary& job = job_.summary;
    for (QTableWidget* table : {ui->tableWidget_job, ui->tableWidget_Projection, ui->tableWidget_Transform,
                                ui->tableWidget_Horadj, ui->tableWidget_Veradj})
        resetJobRow(table);

    setCells(ui->tableWidget_job, 0, {job.jobName, job.jobDate, job.jobTime, job.datumName});

    setCells(ui->tableWidget_Projection, 0,
             {job.projectionType == 32 ? tr("TM") : tr("Not TM"), general(job.falseNorthing),
              general(job.falseEasting), angleText(job.originLatitude).join(QLatin1Char(':')),
              angleText(job.centralMeridian).join(QLatin1Char(':')), general(job.projectionScaleFactor)});

    // Each value stands under the header that names it.
    if (job.transformType == 1) {
        setCells(ui->tableWidget_Transform, 0,
                 {tr("Yes"), QStringLiteral("7"), general(job.translationX), general(job.translationY),
                  general(job.translationZ), general(job.rotationX), general(job.rotationY),
                  general(job.rotationZ), general(job.scalePpm)});
    } else {
        setCells(ui->tableWidget_Transform, 0, {tr("No")});
    }

    if (job.horizontalAdjustInUse) {
        setCells(ui->tableWidget_Horadj, 0,
                 {tr("Yes"), general(job.originNorth), general(job.originEast), general(job.translationNorth),
                  general(job.translationEast), general(job.rotation), general(job.scaleFactor)});
    } else {
        setCells(ui->tableWidget_Horadj, 0, {tr("No")});
    }

    if (job.verticalAdjustInUse) {
        setCells(ui->tableWidget_Veradj, 0, {tr("Yes")});
        setCells(ui->tableWidget_Veradj, 2,
                 {general(job.y0), general(job.a1), general(job.a2), general(job.a0)});
    } else {
        setCells(ui->tableWidget_Veradj, 0, {tr("No")});
    }
    // The rover table's columns were sized to their contents by its own fill, which always runs just
    // before this one.
}
