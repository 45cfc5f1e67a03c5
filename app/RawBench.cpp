#include "RawBench.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QTreeWidget>

#include "Ant_Manager.h"
#include "ChangeReport.h"
#include "Dialog_Help.h"
#include "GraphicsScene.h"
#include "PointTableDelegate.h"
#include "PointTableModel.h"
#include "Prompter.h"
#include "rawfile/RawJobReader.h"
#include "rawfile/RawJobWriter.h"
#include "ui_RawBench.h"

// The icons are compiled into this static library; register them before the first form uses them.
static void registerIconResources() { Q_INIT_RESOURCE(icons); }

RawBench::RawBench(QWidget* parent) : QMainWindow(parent), ui(new Ui::RawBench) {
    registerIconResources();
    ui->setupUi(this);

    antManager_ = std::make_unique<Ant_Manager>();
    connect(antManager_.get(), &QDialog::accepted, this, &RawBench::draw_all);
    // Without a catalogue every antenna offset is 0: the status bar says so for as long as it holds (a
    // permanent label, which menus passing over the bar do not wipe), until another catalogue file is read
    // or the missing one is written.
    auto* catalogueProblem = new QLabel(this);
    catalogueProblem->setObjectName(QStringLiteral("label_status_catalogue"));
    catalogueProblem->setStyleSheet(QStringLiteral("color: #b00000"));
    statusBar()->addPermanentWidget(catalogueProblem, 1);
    auto showAntennaProblem = [this, catalogueProblem] {
        catalogueProblem->setText(antManager_->catalogueProblem());
        catalogueProblem->setVisible(!catalogueProblem->text().isEmpty());
    };
    showAntennaProblem();
    connect(antManager_.get(), &Ant_Manager::catalogueChanged, this, showAntennaProblem);

    methodNames_ = {tr("Bottom of Antenna-Vertical"), tr("Antenna Phase Center-Vertical"),
                    tr("Bottom of Notch-Slant")};
    help_ = std::make_unique<Dialog_Help>();

    session_ = new JobSession(&antManager_->antennaNames, &antManager_->antennaEntries, this);
    baseModel_ =
        new PointTableModel(session_, PointKind::Base, &antManager_->antennaNames, &methodNames_, this);
    roverModel_ =
        new PointTableModel(session_, PointKind::Rover, &antManager_->antennaNames, &methodNames_, this);
    baseProxy_ = new QSortFilterProxyModel(this);
    roverProxy_ = new QSortFilterProxyModel(this);
    baseDelegate_ = new PointTableDelegate(ui->tableWidget_base);
    roverDelegate_ = new PointTableDelegate(ui->tableWidget_rover);
    setUpPointTable(ui->tableWidget_base, baseModel_, baseProxy_, baseDelegate_);
    setUpPointTable(ui->tableWidget_rover, roverModel_, roverProxy_, roverDelegate_);
    connect(session_, &JobSession::jobReset, this, [this] {
        showJobColumns();
        selectedBases_.clear();  // rows of other points
        selectedRovers_.clear();
        redrawMap();
    });
    connect(session_, &JobSession::positionsChanged, this, &RawBench::updateMap);
    // Another catalogue, or entries added, edited or deleted: the not-in-catalogue marks follow at once.
    connect(antManager_.get(), &Ant_Manager::catalogueChanged, this, [this] {
        baseModel_->refreshAll();
        roverModel_->refreshAll();
    });

    // Undo and redo of cell edits, Calculate and deletions, at the top of the Edit menu.
    QAction* undo = session_->undoStack()->createUndoAction(this, tr("&Undo"));
    undo->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    QAction* redo = session_->undoStack()->createRedoAction(this, tr("&Redo"));
    redo->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    undo->setObjectName(QStringLiteral("action_Undo"));
    redo->setObjectName(QStringLiteral("action_Redo"));
    QAction* first = ui->menu_Edit->actions().value(0);
    ui->menu_Edit->insertAction(first, undo);
    ui->menu_Edit->insertAction(first, redo);
    ui->menu_Edit->insertSeparator(first);
    connect(session_->undoStack(), &QUndoStack::indexChanged, this, [this] {
        updateTitle();
        refreshChangesList();
    });
    connect(session_->undoStack(), &QUndoStack::cleanChanged, this, &RawBench::updateTitle);
    setUpChangesDock();
    setUpBatchCommands();

    ui->tableWidget_system->setAlternatingRowColors(true);
    ui->tableWidget_system->setEditTriggers(QAbstractItemView::NoEditTriggers);

    // Nine columns of 120 pixels do not fit the window: the "Coordinate" columns share the table's width,
    // and the nine transformation columns take what their texts need, so that none is cut off.
    for (QTableWidget* table :
         {ui->tableWidget_job, ui->tableWidget_Projection, ui->tableWidget_Horadj, ui->tableWidget_Veradj})
        table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    ui->tableWidget_Transform->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    // "System" and "Job Properties" are built by the form but not shown.
    ui->tabWidget->removeTab(2);
    ui->tabWidget->removeTab(2);

    scene_ = new GraphicsScene(this);
    ui->graphicsView->setScene(scene_);
    ui->graphicsView->setCacheMode(QGraphicsView::CacheBackground);
    ui->graphicsView->setRenderHint(QPainter::Antialiasing);
    ui->graphicsView->setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    setUpPlan();

    showJobColumns();
    disable_menu();
}

RawBench::~RawBench() {
    // The undo stack still signals while it is destroyed with the session, after this window is gone.
    session_->undoStack()->disconnect();
    delete ui;
}

void RawBench::setPrompter(Prompter* prompter) {
    prompter_ = prompter;
    antManager_->setPrompter(prompter);
}

Prompter& RawBench::prompter() const { return prompter_ ? *prompter_ : Prompter::standard(); }

void RawBench::setUpPointTable(QTableView* view, PointTableModel* model, QSortFilterProxyModel* proxy,
                               PointTableDelegate* delegate) {
    proxy->setSourceModel(model);
    proxy->setSortRole(PointTableModel::SortRole);
    proxy->setFilterKeyColumn(0);
    proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    view->setModel(proxy);
    view->setItemDelegate(delegate);
    view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 12);
    // Column widths follow the contents of the first rows (and the visible ones), not of every row of a
    // job with tens of thousands of points.
    view->horizontalHeader()->setResizeContentsPrecision(200);
    view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    view->setSortingEnabled(true);
    view->setColumnHidden(model->columnCount() - 1, true);  // "Edit": the change mark, shown by colour

    // One click on a combo cell opens its list.
    connect(view, &QAbstractItemView::clicked, this, [view, model, proxy](const QModelIndex& index) {
        if (!model->isComboColumn(proxy->mapToSource(index).column())) return;
        view->edit(index);
        if (auto* combo = qobject_cast<QComboBox*>(view->indexWidget(index))) combo->showPopup();
    });
    connect(model, &PointTableModel::editRejected, this,
            [this, view, proxy](const QString& why, const QModelIndex& index) {
                showEditProblem(why, view, proxy->mapFromSource(index));
            });
}

void RawBench::setUpChangesDock() {
    changesDock_ = new QDockWidget(tr("Changes"), this);
    changesDock_->setObjectName(QStringLiteral("dockWidget_changes"));
    changesList_ = new QTreeWidget(changesDock_);
    changesList_->setObjectName(QStringLiteral("treeWidget_changes"));
    changesList_->setHeaderLabels({tr("Point"), tr("Kind"), tr("Changed"), tr("Why")});
    changesList_->setRootIsDecorated(false);
    changesList_->setAlternatingRowColors(true);
    changesDock_->setWidget(changesList_);
    addDockWidget(Qt::BottomDockWidgetArea, changesDock_);
    changesDock_->hide();
    QAction* show = changesDock_->toggleViewAction();
    show->setText(tr("C&hanges"));
    show->setObjectName(QStringLiteral("action_Changes"));
    ui->menu_Process->addAction(show);
}

void RawBench::refreshChangesList() {
    changesList_->clear();
    QList<QTreeWidgetItem*> items;
    for (const ChangeLine& line : describeChanges(session_->appliedChanges(), methodNames_))
        items << new QTreeWidgetItem(QStringList{line.point, line.kind, line.what, line.why});
    changesList_->addTopLevelItems(items);
    for (int column = 0; column < changesList_->columnCount(); ++column)
        changesList_->resizeColumnToContents(column);
}

void RawBench::showEditProblem(const QString& why, QTableView* view, const QModelIndex& proxyIndex) {
    // The cell itself is marked with the reason (its tool tip); the status bar says it at once.
    statusBar()->showMessage(why, 10000);
    view->scrollTo(proxyIndex);
}

void RawBench::showJobColumns() {
    // Version "V1.0" files count GPS and GLONASS satellites apart; later ones give one GNSS count.
    ui->tableWidget_rover->setColumnHidden(16, !roverModel_->separateSatelliteCounts());
    ui->tableWidget_base->resizeColumnsToContents();
    ui->tableWidget_rover->resizeColumnsToContents();
}

void RawBench::updateTitle() {
    setWindowModified(session_->isModified());
    if (!job().path.isEmpty()) setWindowTitle(tr("RawBench   ") + job().path + QStringLiteral("[*]"));
}

bool RawBench::commitOpenEditors() {
    return baseDelegate_->commitOpenEditor() && roverDelegate_->commitOpenEditor();
}

bool RawBench::openFile(const QString& path) {
    QFile file(path);
    RawJob job;
    if (!file.open(QIODevice::ReadOnly) || !readRawJob(file, job)) {
        prompter().askMessage(
            QMessageBox::Warning, this, tr("Warning"),
            tr("Cannot open %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    // Only a job that was read replaces the path that Save as derives its name from.
    job.path = path;
    session_->setJob(std::move(job));
    updateTitle();
    enable_menu();
    fillJobTables();
    return true;
}

bool RawBench::saveJobAs(const QString& path) {
    QString reason;
    if (writeRawJob(path, job(), &reason)) {
        session_->markSaved();
        return true;
    }
    prompter().askMessage(QMessageBox::Warning, this, tr("Warning"),
                          tr("Cannot save %1: %2").arg(QDir::toNativeSeparators(path), reason));
    return false;
}

bool RawBench::settlePendingEdits() {
    const int pending = session_->pendingCount();
    if (pending == 0) return true;
    const QMessageBox::StandardButton answer = prompter().askMessage(
        QMessageBox::Question, this, tr("RawBench"),
        tr("%1 edited value(s) are pending and not yet calculated into the job. Calculate them first?")
            .arg(pending),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::Yes) session_->calculate();
    return true;
}

bool RawBench::saveAsAsked() {
    if (!settlePendingEdits()) return false;
    const QString path =
        prompter().askSaveFileName(this, tr("Save as"), suggestedSaveName(job().path), tr("raw file(*.Raw)"));
    if (path.isEmpty()) return false;
    return saveJobAs(path);
}

bool RawBench::settleUnsavedWork() {
    if (!commitOpenEditors()) return false;
    if (!session_->isModified()) return true;
    const QMessageBox::StandardButton answer = prompter().askMessage(
        QMessageBox::Question, this, tr("RawBench"),
        tr("The job %1 has changes that are not saved. Save them?").arg(QFileInfo(job().path).fileName()),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Save) return saveAsAsked();
    return answer == QMessageBox::Discard;
}

void RawBench::closeEvent(QCloseEvent* event) {
    if (settleUnsavedWork())
        event->accept();
    else
        event->ignore();
}

void RawBench::on_action_Open_triggered() {
    if (!settleUnsavedWork()) return;
    const QString path =
        prompter().askOpenFileName(this, tr("Open RAW"), QStringLiteral("."), tr("RAW Files (*.raw)"));
    if (path.isEmpty()) return;  // cancelled: the open job and its path stay
    openFile(path);
}

void RawBench::on_actionSave_as_triggered() {
    if (commitOpenEditors()) saveAsAsked();
}

void RawBench::on_action_Ant_Set_triggered() {
    commitOpenEditors();
    antManager_->show();
}

void RawBench::on_lineEdit_rover_filter_textChanged(const QString& text) {
    syncingSelection_ = true;  // rows the filter hides stay selected
    roverProxy_->setFilterFixedString(text);
    syncingSelection_ = false;
    selectTableRows(PointKind::Rover, selectedRovers_);
}

void RawBench::draw_all() {
    // The tables are views of the job: refreshing them keeps every pending edit.
    baseModel_->refreshAll();
    roverModel_->refreshAll();
    showJobColumns();
    fillJobTables();
    redrawMap();
}

void RawBench::disable_menu() {
    for (QAction* action : {ui->action_Calculate, ui->action_Delete_Base, ui->action_Delete_Rover,
                            ui->action_Export, ui->actionSave_as, exportGeoJsonAction_})
        action->setEnabled(false);
}

void RawBench::enable_menu() {
    for (QAction* action : {ui->action_Calculate, ui->action_Delete_Base, ui->action_Delete_Rover,
                            ui->action_Export, ui->actionSave_as, exportGeoJsonAction_})
        action->setEnabled(true);
}

QRectF RawBench::mapBounds() const { return ::mapBounds(job().bases, job().rovers); }

void RawBench::redrawMap() {
    scene_->setSceneRect(mapBounds());
    scene_->drawPoints(job().bases, job().rovers);
    followTableSelection();
    fitAll();
}

void RawBench::updateMap() {
    // Points that moved are moved on the plan, the selection stays, and the view shows the whole job.
    if (scene_->updatePoints(job().bases, job().rovers)) {
        scene_->setSceneRect(mapBounds());
        fitAll();
    } else {
        redrawMap();
    }
}

bool openFileFromArguments(RawBench& window, const QStringList& arguments) {
    if (arguments.size() < 2) return false;
    // The Open dialog hands over absolute paths; so does the command line, for the title and Save as.
    return window.openFile(QFileInfo(arguments.at(1)).absoluteFilePath());
}
