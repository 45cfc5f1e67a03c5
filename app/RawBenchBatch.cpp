// The batch corrections of the main window's Edit menu: Set antenna…, Shift base…, Rename rovers…. Each
// slot takes the cell still being edited, then opens its dialog over the window (window-modal, not a
// nested event loop); the dialog stages its edits through BatchEdits, and the tables, the plan and the
// Changes list follow the session's signals.
#include <QDialog>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QTableView>
#include <QUndoStack>

#include "Ant_Manager.h"
#include "RawBench.h"
#include "RenameDialog.h"
#include "SetAntennaDialog.h"
#include "ShiftBaseDialog.h"
#include "ui_RawBench.h"

void RawBench::setUpBatchCommands() {
    // They change a job, as Calculate does: enabled and disabled with it.
    for (QAction* action : {ui->action_Set_Antenna, ui->action_Shift_Base, ui->action_Rename_Rovers})
        connect(ui->action_Calculate, &QAction::enabledChanged, action, &QAction::setEnabled);
}

void RawBench::openBatchDialog(QDialog* dialog) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this] {
        const QString text = tr("%1 edited value(s) pending: Process > Calculate carries them into the job, "
                                "Edit > Undo takes them back.")
                                 .arg(session_->pendingCount());
        statusBar()->showMessage(text, 10000);
        // The count is stale after the next step (Calculate, Undo, another edit): the message goes with it.
        auto* watch = new QObject(this);
        connect(session_->undoStack(), &QUndoStack::indexChanged, watch, [this, text, watch] {
            if (statusBar()->currentMessage() == text) statusBar()->clearMessage();
            watch->deleteLater();
        });
    });
    dialog->open();
}

void RawBench::on_action_Set_Antenna_triggered() {
    if (!commitOpenEditors() || job().rovers.isEmpty()) return;
    ui->tabWidget->setCurrentIndex(1);
    openBatchDialog(new SetAntennaDialog(session_, selectedJobRows(ui->tableWidget_rover, roverProxy_),
                                         antManager_->antennaNames, methodNames_, this));
}

void RawBench::on_action_Shift_Base_triggered() {
    if (!commitOpenEditors() || job().bases.isEmpty()) return;
    const QList<qsizetype> rows = selectedJobRows(ui->tableWidget_base, baseProxy_);
    ui->tabWidget->setCurrentIndex(0);
    openBatchDialog(new ShiftBaseDialog(session_, rows.value(0, 0), this));
}

void RawBench::on_action_Rename_Rovers_triggered() {
    if (!commitOpenEditors()) return;
    const QList<qsizetype> rows = selectedJobRows(ui->tableWidget_rover, roverProxy_);
    if (rows.isEmpty()) {
        statusBar()->showMessage(tr("Select the rovers to rename in the Rover table first."), 8000);
        return;
    }
    ui->tabWidget->setCurrentIndex(1);
    openBatchDialog(new RenameDialog(session_, rows, prompter(), this));
}
