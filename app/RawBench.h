#pragma once

#include <QList>
#include <QMainWindow>
#include <QRectF>
#include <QStringList>
#include <memory>

#include "JobSession.h"
#include "geodex/DatumTransformer.h"
#include "rawfile/JobModel.h"

class Ant_Manager;
class Dialog_Help;
class GraphicsScene;
class PointTableDelegate;
class PointTableModel;
class Prompter;
class QDialog;
class QDockWidget;
class QLabel;
class QSortFilterProxyModel;
class QTableView;
class QTreeWidget;
namespace Ui {
class RawBench;
}

// The main window: one open job shown in the "Base", "Rover" and "Coordinate" tables and as a plan.
// The point tables are views of a JobSession: edits typed there stay pending until Calculate, and every
// change can be undone. Every user command is a slot; the slots ask the user through one Prompter (file
// dialogs, message boxes), so tests drive them without modal dialogs.
class RawBench : public QMainWindow {
    Q_OBJECT

  public:
    explicit RawBench(QWidget* parent = nullptr);
    ~RawBench() override;

    // Opens path as if it had been chosen in the Open dialog (unsaved work is not asked about here). On
    // success the job, title, tables, plan and menus show the new file; on failure a warning names the
    // file and the reason, and the open job (including its path) stays as it was.
    bool openFile(const QString& path);
    // Writes the job to path as Save as does once its dialog has answered; a warning tells why it failed.
    bool saveJobAs(const QString& path);

    // Installs where questions go (nullptr: real dialogs). Not owned; also used by the antenna dialog.
    void setPrompter(Prompter* prompter);
    Prompter& prompter() const;

    const RawJob& job() const { return session_->job(); }
    JobSession* session() const { return session_; }
    Ant_Manager* antennaManager() const { return antManager_.get(); }
    GraphicsScene* planScene() const { return scene_; }
    QDockWidget* changesDock() const { return changesDock_; }
    Dialog_Help* aboutDialog() const { return help_.get(); }

    // Commits a cell editor that is still open in either point table (every command does this first).
    // False when its text was refused: the editor stays open and says why.
    bool commitOpenEditors();

    void fillJobTables();
    QRectF mapBounds() const;
    // Draws the whole plan anew and fits it into the view.
    void redrawMap();
    // Follows points that moved or were renamed, then fits the job into the view again (a full redraw
    // when points were added or removed).
    void updateMap();
    // View > Fit all: every point and base in view with a small margin.
    void fitAll();
    // Job rows of the bases and rovers selected in the tables and highlighted on the plan (rows hidden by
    // the rover filter stay selected).
    const QList<qsizetype>& selectedBaseRows() const { return selectedBases_; }
    const QList<qsizetype>& selectedRoverRows() const { return selectedRovers_; }
    // What a click on the plan at scenePos does: the point there (if any) is selected in its table, whose
    // tab is shown; with Ctrl it is added to or taken from the selection.
    void selectPointAt(const QPointF& scenePos, Qt::KeyboardModifiers modifiers);
    // File > Export GeoJSON once its dialog has answered path; a warning tells why it failed.
    bool exportGeoJsonTo(const QString& path);

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
    void on_lineEdit_rover_filter_textChanged(const QString& text);
    void on_action_Set_Antenna_triggered();
    void on_action_Shift_Base_triggered();
    void on_action_Rename_Rovers_triggered();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void setUpPointTable(QTableView* view, PointTableModel* model, QSortFilterProxyModel* proxy,
                         PointTableDelegate* delegate);
    void setUpChangesDock();
    // The plan's commands (View > Fit all, File > Export GeoJSON), the cursor position in the status bar
    // and the selection linked between the plan and the tables.
    void setUpPlan();
    void tableSelectionChanged(PointKind kind);
    // After the plan is drawn anew: it shows the rows the tables have selected (and the rows selected
    // before that the filter hides).
    void followTableSelection();
    // Selects rows (job rows) in the table of kind, through its sorting and filtering proxy.
    void selectTableRows(PointKind kind, const QList<qsizetype>& rows);
    void showSelectionOnPlan(bool bringIntoView);
    void showJobColumns();
    void updateTitle();
    void refreshChangesList();
    void showEditProblem(const QString& why, QTableView* view, const QModelIndex& proxyIndex);
    // Rows of the job selected in view (through its sorting proxy), ascending; the current row when none.
    QList<qsizetype> selectedJobRows(QTableView* view, QSortFilterProxyModel* proxy) const;
    // Job rows of the selected rows of view, ascending (none when none); rows of previous that the proxy
    // hides are kept.
    static QList<qsizetype> selectedSourceRows(const QTableView* view, const QSortFilterProxyModel* proxy,
                                               const QList<qsizetype>& previous);
    void deleteSelected(PointKind kind);
    // The batch corrections of the Edit menu: enabled with Calculate, their dialogs open over the window.
    void setUpBatchCommands();
    void openBatchDialog(QDialog* dialog);
    // Before a command that reads the job (Save as, Export): pending edits are calculated, left pending or
    // the command is cancelled, as the user answers. False to cancel.
    bool settlePendingEdits();
    // Before the job is closed (Open, closing the window): unsaved work is saved, discarded or kept with
    // the command cancelled, as the user answers. False to cancel.
    bool settleUnsavedWork();
    bool saveAsAsked();

    std::unique_ptr<Ant_Manager> antManager_;  // catalogue dialog, top-level window of its own
    // Owned for the window's life; the window does its arithmetic on local grid values and converts nothing.
    Orvale::Geodex::DatumTransformer transformer_;
    QStringList methodNames_;  // the three measuring methods; index = antenna method
    JobSession* session_;
    PointTableModel* baseModel_;
    PointTableModel* roverModel_;
    QSortFilterProxyModel* baseProxy_;
    QSortFilterProxyModel* roverProxy_;
    PointTableDelegate* baseDelegate_;
    PointTableDelegate* roverDelegate_;
    std::unique_ptr<Dialog_Help> help_;  // About box, top-level window of its own
    Ui::RawBench* ui;
    GraphicsScene* scene_;
    QDockWidget* changesDock_;
    QTreeWidget* changesList_;
    Prompter* prompter_ = nullptr;
    QAction* fitAllAction_ = nullptr;
    QAction* exportGeoJsonAction_ = nullptr;
    QLabel* cursorLabel_ = nullptr;
    QList<qsizetype> selectedBases_;
    QList<qsizetype> selectedRovers_;
    bool syncingSelection_ = false;  // the window itself changes the tables' selection
};

// `RawBench FILE`: opens arguments[1] (relative to the working directory) as if chosen in the Open dialog;
// without it nothing happens. Returns whether a file was opened.
bool openFileFromArguments(RawBench& window, const QStringList& arguments);
