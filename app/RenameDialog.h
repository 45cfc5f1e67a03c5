#pragma once

#include <QDialog>
#include <QList>

#include "BatchEdits.h"

class Prompter;
namespace Ui {
class RenameDialog;
}

// Edit → Rename rovers…: find and replace in the names of the selected rovers, as plain text or as a
// regular expression, with a live preview of every new name (a name holding a comma or a line break, or
// an empty one, is refused and shown so). A rename that would give two rovers of the job one name is asked
// about first. OK stages the new names as if typed (one undoable step), pending until Calculate.
class RenameDialog : public QDialog {
    Q_OBJECT

  public:
    // rows: the rovers selected in the table (job rows). Questions go to prompter.
    RenameDialog(JobSession* session, const QList<qsizetype>& rows, Prompter& prompter,
                 QWidget* parent = nullptr);
    ~RenameDialog() override;

    // What OK stages: the preview shown.
    const RenamePreview& preview() const { return preview_; }

  public slots:
    void accept() override;

  private:
    void updatePreview();

    Ui::RenameDialog* ui;
    JobSession* session_;
    BatchEdits batch_;
    QList<qsizetype> rows_;
    Prompter& prompter_;
    RenamePreview preview_;
};
