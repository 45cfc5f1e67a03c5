#include "RawBench.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QStatusBar>

#include "Ant_Manager.h"
#include "Dialog_Help.h"
#include "GraphicsScene.h"
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
    // Without a catalogue every antenna offset is 0: say so in the status bar, and take the words back
    // once another catalogue file is read or the missing one is written.
    auto showAntennaProblem = [this, shown = QString()]() mutable {
        const QString problem = antManager_->catalogueProblem();
        if (!problem.isEmpty())
            statusBar()->showMessage(problem);
        else if (!shown.isEmpty() && statusBar()->currentMessage() == shown)
            statusBar()->clearMessage();
        shown = problem;
    };
    showAntennaProblem();
    connect(antManager_.get(), &Ant_Manager::catalogueChanged, this, showAntennaProblem);

    methodModel_ = new QStringListModel(
        {tr("Bottom of Antenna-Vertical"), tr("Antenna Phase Center-Vertical"), tr("Bottom of Notch-Slant")},
        this);
    antennaTypeModel_ = new QStringListModel(antManager_->antennaNames, this);
    help_ = std::make_unique<Dialog_Help>();

    // The "Edit" columns only carry change marks for Calculate.
    ui->tableWidget_base->hideColumn(7);
    ui->tableWidget_rover->hideColumn(17);
    ui->tableWidget_system->setAlternatingRowColors(true);
    ui->tableWidget_base->setAlternatingRowColors(true);
    ui->tableWidget_rover->setAlternatingRowColors(true);
    // Column widths follow the contents of the first 200 rows (and the visible ones), not of every row of
    // a job with tens of thousands of points.
    ui->tableWidget_base->horizontalHeader()->setResizeContentsPrecision(200);
    ui->tableWidget_rover->horizontalHeader()->setResizeContentsPrecision(200);
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

    disable_menu();
}

RawBench::~RawBench() { delete ui; }

void RawBench::setPrompter(Prompter* prompter) {
    prompter_ = prompter;
    antManager_->setPrompter(prompter);
}

Prompter& RawBench::prompter() const { return prompter_ ? *prompter_ : Prompter::standard(); }

bool RawBench::openFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !readRawJob(file, job_)) {
        prompter().askMessage(
            QMessageBox::Warning, this, tr("Warning"),
            tr("Cannot open %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    // Only a job that was read replaces the path that Save as derives its name from.
    job_.path = path;
    setWindowTitle(tr("RawBench   ") + path);
    enable_menu();
    fillBaseTable();
    fillRoverTable();
    fillJobTables();
    redrawMap();
    return true;
}

bool RawBench::saveJobAs(const QString& path) {
    QString reason;
    if (writeRawJob(path, job_, &reason)) return true;
    prompter().askMessage(QMessageBox::Warning, this, tr("Warning"),
                          tr("Cannot save %1: %2").arg(QDir::toNativeSeparators(path), reason));
    return false;
}

void RawBench::on_action_Open_triggered() {
    const QString path =
        prompter().askOpenFileName(this, tr("Open RAW"), QStringLiteral("."), tr("RAW Files (*.raw)"));
    if (path.isEmpty()) return;  // cancelled: the open job and its path stay
    openFile(path);
}

void RawBench::on_actionSave_as_triggered() {
    const QString path =
        prompter().askSaveFileName(this, tr("Save as"), suggestedSaveName(job_.path), tr("raw file(*.Raw)"));
    if (path.isEmpty()) return;
    saveJobAs(path);
}

void RawBench::on_action_Ant_Set_triggered() { antManager_->show(); }

void RawBench::draw_all() {
    fillBaseTable();
    fillRoverTable();
    fillJobTables();
    redrawMap();
}

void RawBench::disable_menu() {
    for (QAction* action : {ui->action_Calculate, ui->action_Delete_Base, ui->action_Delete_Rover,
                            ui->action_Export, ui->actionSave_as})
        action->setEnabled(false);
}

void RawBench::enable_menu() {
    for (QAction* action : {ui->action_Calculate, ui->action_Delete_Base, ui->action_Delete_Rover,
                            ui->action_Export, ui->actionSave_as})
        action->setEnabled(true);
}

QRectF RawBench::mapBounds() const { return ::mapBounds(job_.bases, job_.rovers); }

void RawBench::redrawMap() {
    scene_->clear();
    const QRectF bounds = mapBounds();
    scene_->setSceneRect(bounds);
    scene_->drawPoints(job_.bases, job_.rovers);
    ui->graphicsView->fitInView(bounds, Qt::KeepAspectRatio);
}

bool openFileFromArguments(RawBench& window, const QStringList& arguments) {
    if (arguments.size() < 2) return false;
    // The Open dialog hands over absolute paths; so does the command line, for the title and Save as.
    return window.openFile(QFileInfo(arguments.at(1)).absoluteFilePath());
}
