// The five one-row "Coordinate" tables of the main window: job, projection, datum transformation, plane and
// height adjustment.
#include <QHeaderView>
#include <QTableWidget>

#include "AngleText.h"
#include "CoordinateText.h"
#include "Ant_Manager.h"
#include "RawBench.h"
#include "ui_RawBench.h"

namespace {

// Every cell of the one-row "Coordinate" table starts again from "----", so nothing of a previous job stays.
void resetJobRow(QTableWidget* table) {
    for (int column = 0; column < table->columnCount(); ++column)
        table->item(0, column)->setText(QStringLiteral("----"));
}

void setCells(QTableWidget* table, int firstColumn, const QStringList& texts) {
    for (int i = 0; i < texts.size(); ++i) table->item(0, firstColumn + i)->setText(texts[i]);
}

}  // namespace

// The tables read like the file: grid values in metres to the millimetre (and every further digit stored),
// datum rotations in arc-seconds, the datum scale and the height slopes in ppm and the plane rotation in
// degrees, each exactly as stored; the units stand in the column headers.
void RawBench::fillJobTables() {
    const JobSummary& job = this->job().summary;
    const JobHeader& stored = this->job().header;
    for (QTableWidget* table : {ui->tableWidget_job, ui->tableWidget_Projection, ui->tableWidget_Transform,
                                ui->tableWidget_Horadj, ui->tableWidget_Veradj})
        resetJobRow(table);

    setCells(ui->tableWidget_job, 0, {job.jobName, job.jobDate, job.jobTime, job.datumName});

    setCells(ui->tableWidget_Projection, 0,
             {job.projectionType == 32 ? tr("TM") : tr("Not TM"), metresText(job.falseNorthing),
              metresText(job.falseEasting), angleText(job.originLatitude).join(QLatin1Char(':')),
              angleText(job.centralMeridian).join(QLatin1Char(':')), storedText(job.projectionScaleFactor),
              metresText(stored.projection.ht)});

    if (job.transformType == 1) {
        const DatumRecord& datum = stored.datum;
        setCells(ui->tableWidget_Transform, 0,
                 {tr("Yes"), QStringLiteral("7"), metresText(datum.translationX),
                  metresText(datum.translationY), metresText(datum.translationZ), storedText(datum.rotationX),
                  storedText(datum.rotationY), storedText(datum.rotationZ), storedText(datum.scalePpm)});
    } else {
        setCells(ui->tableWidget_Transform, 0, {tr("No")});
    }

    if (job.horizontalAdjustInUse) {
        const HorizontalAdjustRecord& plane = stored.horizontalAdjust;
        setCells(ui->tableWidget_Horadj, 0,
                 {tr("Yes"), metresText(plane.originNorth), metresText(plane.originEast),
                  metresText(plane.translationNorth), metresText(plane.translationEast),
                  storedText(plane.rotationDegrees), storedText(plane.scaleFactor)});
    } else {
        setCells(ui->tableWidget_Horadj, 0, {tr("No")});
    }

    if (job.verticalAdjustInUse) {
        const VerticalAdjustRecord& height = stored.verticalAdjust;
        setCells(ui->tableWidget_Veradj, 0,
                 {tr("Yes"), metresText(height.x0), metresText(height.y0), storedText(height.a1),
                  storedText(height.a2), metresText(height.a0)});
    } else {
        setCells(ui->tableWidget_Veradj, 0, {tr("No")});
    }
}
