#pragma once

#include <QDialog>
#include <array>
#include <optional>

#include "BatchEdits.h"

namespace Ui {
class ShiftBaseDialog;
}

// Edit → Shift base…: moves a base station by ΔN, ΔE, ΔH (metres) from the coordinates it shows, or to new
// coordinates. The preview gives the new coordinates and how many rovers follow, and by how much; OK stages
// the new coordinates as if typed (one undoable step), pending until Calculate.
class ShiftBaseDialog : public QDialog {
    Q_OBJECT

  public:
    ShiftBaseDialog(JobSession* session, qsizetype baseRow, QWidget* parent = nullptr);
    ~ShiftBaseDialog() override;

    // What OK stages: the preview shown.
    const BaseShiftPreview& preview() const { return preview_; }

  public slots:
    void accept() override;

  private:
    // Fills the "to coordinates" fields with what the chosen base shows.
    void showBaseCoordinates();
    void updatePreview();

    Ui::ShiftBaseDialog* ui;
    JobSession* session_;
    BatchEdits batch_;
    BaseShiftPreview preview_;
    // What showBaseCoordinates wrote in the "to coordinates" fields (4 decimals) and the values behind it: a
    // field the user leaves as it was keeps the exact value, not its rounded text.
    std::array<QString, 3> shownTexts_;
    std::array<double, 3> shownValues_{};
};
