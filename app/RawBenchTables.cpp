// The five one-row "Coordinate" tables of the main window: job, projection, datum transformation, plane and
// height adjustment.
#include <QHeaderView>
#include <QTableWidget>

#include "AngleText.h"
#include "Ant_Manager.h"
#include "RawBench.h"
#include "ui_RawBench.h"

namespace {

QString general(double value) { return QStringLiteral("%1").arg(value, 0, 'g', 6); }

// Every cell of the one-row "Coordinate" table starts again from "----", so nothing of a previous job stays.
void resetJobRow(QTableWidget* table) {
    for (int column = 0; column < table->columnCount(); ++column)
        table->item(0, column)->setText(QStringLiteral("----"));
}

void setCells(QTableWidget* table, int firstColumn, const QStringList& texts) {
    for (int i = 0; i < texts.size(); ++i) table->item(0, firstColumn + i)->setText(texts[i]);
}

}  // namespace

void RawBench::fillJobTables() {
    const JobSummary& job = this->job().summary;
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
}
