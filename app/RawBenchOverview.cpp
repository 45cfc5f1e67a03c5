// The plan side of the main window: View > Fit all, File > Export GeoJSON, the cursor's N/E in the status
// bar and the selection linked between the plan and the "Base" and "Rover" tables (through their sorting
// and filtering proxies, so that sorting or filtering never loses it).
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <algorithm>

#include "GeoJsonExport.h"
#include "GraphicsScene.h"
#include "PlanLayerItem.h"
#include "PointTableModel.h"
#include "Prompter.h"
#include "RawBench.h"
#include "ui_RawBench.h"

namespace {

// Four corner brackets around a dot: the whole job in the frame.
QIcon fitAllIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 40, 40), 3, Qt::SolidLine, Qt::SquareCap));
    const int a = 4, b = 28, l = 8;
    painter.drawPolyline(QPolygon({QPoint(a, a + l), QPoint(a, a), QPoint(a + l, a)}));
    painter.drawPolyline(QPolygon({QPoint(b - l, a), QPoint(b, a), QPoint(b, a + l)}));
    painter.drawPolyline(QPolygon({QPoint(a, b - l), QPoint(a, b), QPoint(a + l, b)}));
    painter.drawPolyline(QPolygon({QPoint(b - l, b), QPoint(b, b), QPoint(b, b - l)}));
    painter.setBrush(Qt::red);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(16, 16), 4, 4);
    return QIcon(pixmap);
}

}  // namespace

void RawBench::setUpPlan() {
    fitAllAction_ = new QAction(fitAllIcon(), tr("Fit &all"), this);
    fitAllAction_->setObjectName(QStringLiteral("action_Fit_all"));
    fitAllAction_->setShortcut(QKeySequence(QStringLiteral("Ctrl+0")));
    fitAllAction_->setToolTip(tr("Fit all: show every point of the job (Ctrl+0)"));
    connect(fitAllAction_, &QAction::triggered, this, &RawBench::fitAll);
    auto* viewMenu = new QMenu(tr("&View"), this);
    viewMenu->setObjectName(QStringLiteral("menu_View"));
    viewMenu->addAction(fitAllAction_);
    menuBar()->insertMenu(ui->menuAnt_Set->menuAction(), viewMenu);
    ui->mainToolBar->addSeparator();
    ui->mainToolBar->addAction(fitAllAction_);

    exportGeoJsonAction_ = new QAction(tr("Export &GeoJSON..."), this);
    exportGeoJsonAction_->setObjectName(QStringLiteral("action_Export_GeoJSON"));
    connect(exportGeoJsonAction_, &QAction::triggered, this, [this] {
        if (!commitOpenEditors() || !settlePendingEdits()) return;
        QString suggested = job().path;
        if (!suggested.isEmpty())
            suggested = QFileInfo(suggested).dir().filePath(QFileInfo(suggested).completeBaseName() +
                                                            QStringLiteral(".geojson"));
        const QString path = prompter().askSaveFileName(this, tr("Export GeoJSON"), suggested,
                                                        tr("GeoJSON (*.geojson *.json)"));
        if (!path.isEmpty()) exportGeoJsonTo(path);
    });
    ui->menu_File->insertAction(ui->actionSave_as, exportGeoJsonAction_);

    cursorLabel_ = new QLabel(this);
    cursorLabel_->setObjectName(QStringLiteral("label_status_cursor"));
    statusBar()->addPermanentWidget(cursorLabel_);
    connect(ui->graphicsView, &GraphicsView::cursorMoved, this, [this](const QPointF& at) {
        cursorLabel_->setText(tr("N %1   E %2").arg(-at.y(), 0, 'f', 3).arg(at.x(), 0, 'f', 3));
    });
    connect(ui->graphicsView, &GraphicsView::clicked, this, &RawBench::selectPointAt);
    connect(ui->tableWidget_base->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { tableSelectionChanged(PointKind::Base); });
    connect(ui->tableWidget_rover->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { tableSelectionChanged(PointKind::Rover); });
}

void RawBench::fitAll() { ui->graphicsView->fitPlan(mapBounds()); }

bool RawBench::exportGeoJsonTo(const QString& path) {
    QString reason;
    if (!writeGeoJson(path, job(), methodNames_, &reason)) {
        prompter().askMessage(QMessageBox::Warning, this, tr("Warning"),
                              tr("Cannot export to %1: %2").arg(QDir::toNativeSeparators(path), reason));
        return false;
    }
    statusBar()->showMessage(tr("%1 base(s) and %2 rover(s) exported to %3")
                                 .arg(job().bases.size())
                                 .arg(job().rovers.size())
                                 .arg(QDir::toNativeSeparators(path)),
                             8000);
    return true;
}

void RawBench::tableSelectionChanged(PointKind kind) {
    if (syncingSelection_) return;
    if (kind == PointKind::Base)
        selectedBases_ = selectedSourceRows(ui->tableWidget_base, baseProxy_, selectedBases_);
    else
        selectedRovers_ = selectedSourceRows(ui->tableWidget_rover, roverProxy_, selectedRovers_);
    showSelectionOnPlan(true);
}

void RawBench::followTableSelection() {
    selectedBases_ = selectedSourceRows(ui->tableWidget_base, baseProxy_, selectedBases_);
    selectedRovers_ = selectedSourceRows(ui->tableWidget_rover, roverProxy_, selectedRovers_);
    showSelectionOnPlan(false);
}

void RawBench::showSelectionOnPlan(bool bringIntoView) {
    PlanLayerItem* layer = scene_->layer();
    if (!layer) return;
    layer->setSelection(selectedBases_, selectedRovers_);
    if (bringIntoView) ui->graphicsView->bringIntoView(layer->selectionExtent());
}

void RawBench::selectTableRows(PointKind kind, const QList<qsizetype>& rows) {
    const bool bases = kind == PointKind::Base;
    QTableView* view = bases ? ui->tableWidget_base : ui->tableWidget_rover;
    QSortFilterProxyModel* proxy = bases ? baseProxy_ : roverProxy_;
    PointTableModel* model = bases ? baseModel_ : roverModel_;
    QItemSelection selection;
    QModelIndex last;
    for (qsizetype row : rows) {
        const QModelIndex index = proxy->mapFromSource(model->index(static_cast<int>(row), 0));
        if (!index.isValid()) continue;  // hidden by the filter: stays selected on the plan
        selection.select(index, index);
        last = index;
    }
    syncingSelection_ = true;
    view->selectionModel()->select(selection,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (last.isValid()) {
        view->selectionModel()->setCurrentIndex(last, QItemSelectionModel::NoUpdate);
        view->scrollTo(last);
    }
    syncingSelection_ = false;
}

void RawBench::selectPointAt(const QPointF& scenePos, Qt::KeyboardModifiers modifiers) {
    PlanLayerItem* layer = scene_->layer();
    if (!layer) return;
    // A click within a marker's reach (10 pixels) picks the point.
    const PlanLayerItem::Hit hit = layer->pointNear(scenePos, 10 / ui->graphicsView->pixelsPerMetre());
    const bool adding = modifiers & Qt::ControlModifier;
    if (hit.index < 0) {
        if (adding) return;
        selectedBases_.clear();
        selectedRovers_.clear();
        selectTableRows(PointKind::Base, {});
        selectTableRows(PointKind::Rover, {});
        showSelectionOnPlan(false);
        return;
    }
    QList<qsizetype>& rows = hit.base ? selectedBases_ : selectedRovers_;
    if (!adding) {
        selectedBases_.clear();
        selectedRovers_.clear();
        selectTableRows(hit.base ? PointKind::Rover : PointKind::Base, {});
    }
    if (adding && rows.contains(hit.index))
        rows.removeAll(hit.index);
    else
        rows << hit.index;
    std::sort(rows.begin(), rows.end());
    ui->tabWidget->setCurrentIndex(hit.base ? 0 : 1);
    const PointKind kind = hit.base ? PointKind::Base : PointKind::Rover;
    selectTableRows(kind, rows);
    if (!hit.base && !rows.isEmpty() &&
        !roverProxy_->mapFromSource(roverModel_->index(static_cast<int>(hit.index), 0)).isValid())
        statusBar()->showMessage(tr("%1 is hidden by the rover filter").arg(layer->roverName(hit.index)),
                                 8000);
    showSelectionOnPlan(false);
}
