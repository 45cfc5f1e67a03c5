// The editing commands of the main window: Calculate, Export, Delete_Base, Delete_Rover and About. The
// slots commit an open cell editor, then hand the work to the JobSession (Calculate, deletion) or to the
// plain functions of CsvExport.h; the tables and the plan follow the session's signals.
#include <QDir>
#include <QDockWidget>
#include <QItemSelectionModel>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QTableView>
#include <algorithm>

#include "ChangeReport.h"
#include "CsvExport.h"
#include "Dialog_Help.h"
#include "Prompter.h"
#include "RawBench.h"
#include "ui_RawBench.h"

namespace {

// At most this many names are listed in a deletion question; the rest are counted.
constexpr qsizetype kNamesListed = 12;

QString listedNames(const QStringList& names) {
    QString text = names.mid(0, kNamesListed).join(QStringLiteral(", "));
    if (names.size() > kNamesListed)
        text += QCoreApplication::translate("RawBench", " and %1 more").arg(names.size() - kNamesListed);
    return text;
}

}  // namespace

void RawBench::on_action_Calculate_triggered() {
    if (!commitOpenEditors()) return;
    const QList<PointChange> changes = session_->calculate();
    if (!changes.isEmpty() && !changesDock_->isVisible()) {
        changesDock_->show();
        resizeDocks({changesDock_}, {fontMetrics().height() * 8}, Qt::Vertical);  // the plan keeps its room
    }
    prompter().askMessage(QMessageBox::Warning, this, tr("Warning"),
                          tr("Finished") + QLatin1Char('\n') + changeCountText(changes));
}

void RawBench::on_action_Export_triggered() {
    if (!commitOpenEditors() || !settlePendingEdits()) return;
    const QString path = prompter().askSaveFileName(this, tr("export"), QString(), tr("eport(*.csv)"));
    if (path.isNull()) return;  // cancelled
    QString reason;
    if (!writeRoversCsv(path, job(), &reason))
        prompter().askMessage(QMessageBox::Warning, this, tr("Warning"),
                              tr("Cannot export to %1: %2").arg(QDir::toNativeSeparators(path), reason));
}

QList<qsizetype> RawBench::selectedSourceRows(const QTableView* view, const QSortFilterProxyModel* proxy,
                                              const QList<qsizetype>& previous) {
    QList<qsizetype> rows;
    // Row by row of each selected range, not cell by cell: whole rows of a large job are millions of cells.
    for (const QItemSelectionRange& range : view->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows << proxy->mapToSource(proxy->index(row, 0)).row();
    const QAbstractItemModel* source = proxy->sourceModel();
    for (qsizetype row : previous)
        if (row < source->rowCount() &&
            !proxy->mapFromSource(source->index(static_cast<int>(row), 0)).isValid())
            rows << row;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

QList<qsizetype> RawBench::selectedJobRows(QTableView* view, QSortFilterProxyModel* proxy) const {
    QList<qsizetype> rows = selectedSourceRows(view, proxy, {});
    if (rows.isEmpty() && view->currentIndex().isValid())
        rows << proxy->mapToSource(view->currentIndex()).row();
    return rows;
}

void RawBench::deleteSelected(PointKind kind) {
    const bool bases = kind == PointKind::Base;
    if (ui->tabWidget->currentIndex() != (bases ? 0 : 1) || !commitOpenEditors()) return;
    const QList<qsizetype> rows = bases ? selectedJobRows(ui->tableWidget_base, baseProxy_)
                                        : selectedJobRows(ui->tableWidget_rover, roverProxy_);
    if (rows.isEmpty()) return;
    QStringList names;
    for (qsizetype row : rows) names << (bases ? job().bases[row].name : job().rovers[row].name);

    QString question =
        bases ? (rows.size() == 1 ? tr("Do you want to delete this base point?")
                                  : tr("Do you want to delete these %1 base points?").arg(rows.size()))
              : (rows.size() == 1 ? tr("Do you want to delete this rover point?")
                                  : tr("Do you want to delete these %1 rover points?").arg(rows.size()));
    question += QStringLiteral("\n\n") + listedNames(names);
    if (bases) {
        const qsizetype rovers = session_->roversOfBases(rows);
        if (rovers > 0)
            question += QLatin1Char('\n') + tr("with the %1 rover point(s) measured from them").arg(rovers);
    }
    if (prompter().askMessage(QMessageBox::NoIcon, nullptr, QString(), question,
                              QMessageBox::Ok | QMessageBox::No) == QMessageBox::No)
        return;
    const qsizetype removed = session_->deletePoints(kind, rows);
    statusBar()->showMessage(tr("%1 point(s) deleted (Edit > Undo brings them back).").arg(removed), 8000);
}

void RawBench::on_action_Delete_Base_triggered() { deleteSelected(PointKind::Base); }

void RawBench::on_action_Delete_Rover_triggered() { deleteSelected(PointKind::Rover); }

void RawBench::on_action_About_triggered() { help_->show(); }
