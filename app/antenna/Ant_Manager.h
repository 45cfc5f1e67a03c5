#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class Prompter;
namespace Ui {
class Ant_Manager;
}

// The antenna catalogue dialog: shows the entries of the catalogue file, adds, edits and deletes entries
// and can switch to another catalogue file. The catalogue is "./Antenna.ini" when the working directory
// has one, otherwise the file last opened here (remembered across runs).
// The main window reads antennaNames (for its antenna-type combo boxes) and antennaEntries (for the
// phase-centre offsets); both are in catalogue order and stay parallel. Every change of the entries is
// written to the file first and reaches these lists only once the file holds it.
class Ant_Manager : public QDialog {
    Q_OBJECT

  public:
    explicit Ant_Manager(QWidget* parent = nullptr);
    ~Ant_Manager() override;

    // Chooses the catalogue file as at start and reads it, replacing the entries. A missing or unreadable
    // file leaves the catalogue empty and is described by catalogueProblem().
    void loadCatalogue();
    // Reads the catalogue file at path instead of the current one and remembers it for the next start.
    // A file that cannot be read is reported through the prompter and the current catalogue stays.
    bool openCatalogue(const QString& path);

    // Why the catalogue could not be read (every antenna offset is then 0); empty once it was read.
    QString catalogueProblem() const { return problem_; }
    // The catalogue file that is shown and written to.
    QString cataloguePath() const { return path_; }

    // Where warnings and questions go (nullptr: real message boxes). Not owned.
    void setPrompter(Prompter* prompter);

    QStringList antennaNames;           // antenna names, catalogue order
    QList<QStringList> antennaEntries;  // (name, Bottom, Top, Middle), parallel to antennaNames

  signals:
    // The entries changed: added, edited, deleted, or another catalogue file was read.
    void catalogueChanged();

  private slots:
    void on_comboBox_ant_type_search_currentIndexChanged(int index);
    void on_pushButton_add_clicked();
    void on_pushButton_cancel_clicked();
    void writeback_anntype();
    void on_pushButton_open_clicked();
    void on_pushButton_edit_clicked();
    void on_pushButton_delete_clicked();

  private:
    Prompter& prompter() const;
    bool appendLastEntry();
    bool rewrite(const QList<QStringList>& entries);
    void reportWriteFailure(const QString& reason);
    void setCatalogue(const QString& path, const QStringList& names, const QList<QStringList>& entries,
                      const QString& problem);
    void showEntries(int current);
    void leaveEditMode();

    Ui::Ant_Manager* ui;
    Prompter* prompter_;
    QString path_;
    QString problem_;
    int editing_ = -1;  // entry shown in the "Ant Add" group for editing, or -1 while adding
};
