#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>
#include <optional>

#include "BatchEdits.h"

namespace Ui {
class SetAntennaDialog;
}

// Edit → Set antenna…: one antenna set-up (type, height, method, each kept or new) for the rovers selected
// in the table, all rovers of a base, or all rovers showing one antenna type, height or method. The preview
// says how many rovers change and by how much Calculate will change their heights; OK stages the edits as
// one undoable step.
class SetAntennaDialog : public QDialog {
    Q_OBJECT

  public:
    // selectedRows: rovers selected in the table (job rows). The lists are read while the dialog is built.
    SetAntennaDialog(JobSession* session, const QList<qsizetype>& selectedRows,
                     const QStringList& antennaNames, const QStringList& methodNames,
                     QWidget* parent = nullptr);
    ~SetAntennaDialog() override;

    // What OK stages: the preview shown.
    const AntennaPreview& preview() const { return preview_; }

  public slots:
    void accept() override;

  private:
    QList<qsizetype> chosenRows() const;
    // The set-up the fields ask for, or nullopt with why (a height that is not a number).
    std::optional<AntennaSetUp> setUp(QString* problem) const;
    void fillFilterValues();
    void updatePreview();

    Ui::SetAntennaDialog* ui;
    BatchEdits batch_;
    QList<qsizetype> selected_;
    QStringList methodNames_;
    AntennaPreview preview_;
};
