#pragma once

#include <QDialog>

namespace Ui {
class Dialog_Help;
}

// The About box: program version and build date, closed by OK. The main window keeps one and shows it
// non-modally.
class Dialog_Help : public QDialog {
    Q_OBJECT

  public:
    explicit Dialog_Help(QWidget* parent = nullptr);
    ~Dialog_Help() override;

  private:
    Ui::Dialog_Help* ui;
};
