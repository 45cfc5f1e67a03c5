#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class Prompter;
namespace Ui {
class Ant_Manager;
}

// The antenna catalogue dialog: shows the entries of "./Antenna.ini" and appends new ones to it.
// The main window reads antennaNames (for its antenna-type combo boxes) and antennaEntries (for the
// phase-centre offsets); both only grow, in catalogue order, and stay parallel.
class Ant_Manager : public QDialog {
    Q_OBJECT

  public:
    explicit Ant_Manager(QWidget* parent = nullptr);
    ~Ant_Manager() override;

    // Reads the catalogue file; a missing or unreadable file leaves the catalogue empty.
    void loadCatalogue();

    // Where warnings go (nullptr: real message boxes). Not owned.
    void setPrompter(Prompter* prompter);

    QStringList antennaNames;           // antenna names, catalogue order
    QList<QStringList> antennaEntries;  // (name, Bottom, Top, Middle), parallel to antennaNames

  private slots:
    void on_comboBox_ant_type_search_currentIndexChanged(int index);
    void on_pushButton_add_clicked();
    void on_pushButton_cancel_clicked();
    void writeback_anntype();

  private:
    Ui::Ant_Manager* ui;
    Prompter* prompter_;
};
