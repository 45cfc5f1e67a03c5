#pragma once

#include <QComboBox>
#include <QList>
#include <QMainWindow>
#include <QRectF>
#include <QStringListModel>
#include <memory>

#include "geodex/DatumTransformer.h"
#include "rawfile/JobModel.h"

class Ant_Manager;
class Dialog_Help;
class GraphicsScene;
class Prompter;
namespace Ui {
class RawBench;
}

// The main window: one open job shown in the "Base", "Rover" and "Coordinate" tables and as a plan.
// Every user command is a slot; the slots ask the user through one Prompter (file dialogs, message
// boxes), so tests drive them without modal dialogs.
class RawBench : public QMainWindow {
    Q_OBJECT

  public:
    explicit RawBench(QWidget* parent = nullptr);
    ~RawBench() override;

    // Opens path as if it had been chosen in the Open dialog. On success the job, title, tables, plan and
    // menus show the new file; on failure a warning names the file and the reason, and the open job
    // (including its path) stays as it was.
    bool openFile(const QString& path);
    // Writes the job to path as Save as does once its dialog has answered; a warning tells why it failed.
    bool saveJobAs(const QString& path);

    // Installs where questions go (nullptr: real dialogs). Not owned; also used by the antenna dialog.
    void setPrompter(Prompter* prompter);
    Prompter& prompter() const;

    const RawJob& job() const { return job_; }
    Ant_Manager* antennaManager() const { return antManager_.get(); }
    GraphicsScene* planScene() const { return scene_; }

    // The three table fills and the plan of the open job.
    void fillBaseTable();
    void fillRoverTable();
    void fillJobTables();
    QRectF mapBounds() const;
    void redrawMap();

    // Calculate, in its two steps: carry the edits of the rover table, then of the base table, into the job
    // (RawBenchEditing.cpp; the arithmetic is in Recalculation.h). recalculateBases ends with a refill of
    // the tables and a redraw of the plan.
    void recalculateRovers();
    void recalculateBases();
    Dialog_Help* aboutDialog() const { return help_.get(); }

  public slots:
    void draw_all();
    void disable_menu();
    void enable_menu();

  private slots:
    void on_action_Delete_Base_triggered();
    void on_action_Delete_Rover_triggered();
    void on_actionSave_as_triggered();
    void on_action_Open_triggered();
    void on_action_Calculate_triggered();
    void on_action_Ant_Set_triggered();
    void on_action_Export_triggered();
    void on_action_About_triggered();

  private:
    // Removes row i of the rover table and its two combo-box entries (the rover itself is the caller's).
    void removeRoverRow(qsizetype row);

    std::unique_ptr<Ant_Manager> antManager_;  // catalogue dialog, top-level window of its own
    RawJob job_;
    // Owned for the window's life; the window does its arithmetic on local grid values and converts nothing.
    Orvale::Geodex::DatumTransformer transformer_;
    // One combo box per table row, in row order: antenna type and method of the bases and of the rovers.
    QList<QComboBox*> baseAntennaCombos_;
    QList<QComboBox*> roverAntennaCombos_;
    QList<QComboBox*> baseMethodCombos_;
    QList<QComboBox*> roverMethodCombos_;
    QStringListModel* methodModel_;       // the three measuring methods; index = antenna method
    QStringListModel* antennaTypeModel_;  // the catalogue's antenna names, reloaded by every fill
    std::unique_ptr<Dialog_Help> help_;   // About box, top-level window of its own
    Ui::RawBench* ui;
    GraphicsScene* scene_;
    Prompter* prompter_ = nullptr;
};

// `RawBench FILE`: opens arguments[1] (relative to the working directory) as if chosen in the Open dialog;
// without it nothing happens. Returns whether a file was opened.
bool openFileFromArguments(RawBench& window, const QStringList& arguments);
