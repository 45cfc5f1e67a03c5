// The plan: fitting, name placement, scale bar, the drawn layer, and the plan linked with the tables.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTableView>
#include <QWheelEvent>
#include <cmath>

#include "GraphicsScene.h"
#include "GraphicsView.h"
#include "GuiTestSupport.h"
#include "LabelPlacement.h"
#include "PlanGeometry.h"
#include "PlanLayerItem.h"
#include "RawBench.h"

namespace {

RoverPoint rover(const QString& name, double north, double east, double baseNorth = 0, double baseEast = 0) {
    RoverPoint r;
    r.name = name, r.north = north, r.east = east, r.baseNorth = baseNorth, r.baseEast = baseEast;
    r.solutionType = 9;
    return r;
}

BaseStation base(const QString& name, double north, double east) {
    BaseStation b;
    b.name = name, b.north = north, b.east = east;
    return b;
}

}  // namespace

TEST(MapBounds, CoversEveryPointButNotTheBaseCopiesWithTwoMetresMargin) {
    EXPECT_EQ(mapBounds({}, {}), QRectF(-3, -3, 6, 6));
    EXPECT_EQ(mapBounds({base("B", 100, 200)}, {}), QRectF(198, -102, 4, 4));
    EXPECT_EQ(mapBounds({base("B", 0, 0)}, {rover("R", 10, 20, -500, 900)}), QRectF(-2, -12, 24, 14));
}

TEST(LabelPlacement, DrawnNamesNeverOverlapAndEveryLeftOutNameIsCoveredByAnEarlierOneOrAMarker) {
    // Edge cases first: touching boxes both stay, an empty box never shows, a repeat is left out, a
    // marker keeps a name away.
    EXPECT_EQ(placeLabels({QRectF(0, 0, 10, 5), QRectF(10, 0, 10, 5), QRectF(), QRectF(0, 0, 10, 5),
                           QRectF(30, 0, 10, 5)},
                          {QRectF(35, 2, 1, 1), QRectF(5, 2, 1, 1)}, 1),  // the first name may cover one
              (std::vector<bool>{true, true, false, false, false}));
    QRandomGenerator random(14);
    for (int round = 0; round < 20; ++round) {
        std::vector<QRectF> boxes, markers;
        const double spread = 50 + round * 40;  // from a dense pile to scattered names
        for (int i = 0; i < 400; ++i) {
            boxes.emplace_back(random.bounded(spread), random.bounded(spread), 20 + random.bounded(60.0), 15);
            if (i % 8 == 0) markers.emplace_back(random.bounded(spread), random.bounded(spread), 10, 10);
        }
        const std::vector<bool> drawn = placeLabels(boxes, markers);
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            bool covered = false;
            for (std::size_t j = 0; j < i; ++j) {
                if (!drawn[j] || !boxes[i].intersects(boxes[j])) continue;
                covered = true;
                EXPECT_FALSE(drawn[i]) << "round " << round << ": box " << i << " overlaps drawn box " << j;
            }
            for (const QRectF& marker : markers) covered = covered || boxes[i].intersects(marker);
            EXPECT_EQ(drawn[i], !covered) << "round " << round << ", box " << i;
        }
    }
}

TEST(PlanGeometry, FitShowsTheWholeExtentWithItsMarginAndUsesTheViewport) {
    const struct {
        QRectF extent;
        QSizeF viewport;
    } cases[] = {{QRectF(514000, -3526000, 5000, 7000), QSizeF(780, 250)},  // tall job, wide view
                 {QRectF(-2, -12, 24, 14), QSizeF(300, 900)},               // wide job, tall view
                 {QRectF(198, -102, 4, 4), QSizeF(1600, 1000)},             // one point
                 {QRectF(0, 0, 1e6, 1), QSizeF(80, 60)}};                   // a line, a tiny view
    const QMarginsF margins(28, 20, 100, 28);
    for (const auto& c : cases) {
        const PlanFit fit = fitPlan(c.extent, c.viewport, margins);
        const QRectF shown = shownRect(fit, c.viewport);
        const double shrink = std::min({1.0, c.viewport.width() / 2 / 128, c.viewport.height() / 2 / 48});
        const QMarginsF m = margins * shrink / fit.pixelsPerMetre * (1 - 1e-9);
        EXPECT_TRUE(shown.contains(c.extent.marginsAdded(m))) << c.viewport.width();
        // Not smaller than it needs to be: the job fills the view across or down, less the margins.
        const double across = std::max(c.extent.width(), 4.0) * fit.pixelsPerMetre + 128 * shrink;
        const double down = std::max(c.extent.height(), 4.0) * fit.pixelsPerMetre + 48 * shrink;
        EXPECT_TRUE(std::abs(across - c.viewport.width()) < 1e-6 ||
                    std::abs(down - c.viewport.height()) < 1e-6);
    }
    // Scale bar: the longest 1-2-5 length within 140 pixels.
    const double bars[][2] = {{1, 100}, {0.5, 200}, {0.013, 10000}, {3, 20}, {140, 1}, {0, 0}, {-1, 0}};
    for (const auto& bar : bars) EXPECT_DOUBLE_EQ(scaleBarMetres(bar[0], 140), bar[1]) << bar[0];
}

TEST(GraphicsScene, DrawsLinesFromTheRoversOwnBaseCopyFindsPointsAndNamesOnlyWhereTheyFit) {
    GraphicsScene scene(nullptr);
    RoverPoint unfixed = rover("R2", 10, 20.5, 0, 0);
    unfixed.solutionType = 4;
    scene.drawPoints({base("B1", -100, 1)}, {rover("R1", 10, 20, -5, 3), unfixed});
    PlanLayerItem* layer = scene.layer();
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->roverLine(0), QLineF(3, 5, 20, -10));  // from the base copy, not from B1
    EXPECT_EQ(layer->basePosition(0), QPointF(1, 100));
    EXPECT_TRUE(layer->roverFixed(0));
    EXPECT_FALSE(layer->roverFixed(1));
    EXPECT_EQ(layer->pointNear(QPointF(20.1, -10), 1).index, 0);
    EXPECT_EQ(layer->pointNear(QPointF(20.4, -10), 1).index, 1);
    EXPECT_TRUE(layer->pointNear(QPointF(1, 100.5), 1).base);
    EXPECT_EQ(layer->pointNear(QPointF(50, 50), 1).index, -1);

    // At 1 pixel per metre R1 and R2 lie half a pixel apart: R1's name only; at 200 both.
    auto names = [layer](double pixelsPerMetre) {
        QStringList shown;
        for (const PlanLayerItem::Label& label :
             layer->labels(QTransform::fromScale(pixelsPerMetre, pixelsPerMetre), layer->extent()))
            shown << (label.point == 0 ? QStringLiteral("B1") : layer->roverName(label.point - 1));
        return shown;
    };
    EXPECT_EQ(names(1), (QStringList{"B1", "R1"}));
    EXPECT_EQ(names(200), (QStringList{"B1", "R1", "R2"}));

    // A Calculate moves points in place and keeps the selection; other point counts need a new plan.
    layer->setSelection({}, {1});
    EXPECT_TRUE(scene.updatePoints({base("B1", -100, 1)}, {rover("R1b", 12, 21, 2, 3), unfixed}));
    EXPECT_EQ(layer->roverLine(0), QLineF(3, -2, 21, -12));
    EXPECT_EQ(layer->roverName(0), "R1b");
    EXPECT_TRUE(layer->isSelected(false, 1));
    EXPECT_FALSE(scene.updatePoints({}, {rover("R1b", 12, 21)}));

    // Numbers as large as a raw file may hold still give a plan whose points are found.
    scene.drawPoints({base("far", 1e308, -1e308)}, {rover("R", -1e308, 1e308, 1e308, -1e308)});
    EXPECT_EQ(scene.layer()->pointNear(QPointF(1e308, 1e308), 1e300).index, 0);
}

TEST(RawBenchPlan, FitsTheJobZoomsWithTheWheelAndLinksItsSelectionWithTheTables) {
    ScratchDir scratch;
    writeFile("Antenna.ini", twoAntennaCatalogue());
    RawBench window;
    window.resize(900, 700);
    auto* view = window.findChild<GraphicsView*>("graphicsView");
    auto shows = [&](const QRectF& rect) {
        return view->mapToScene(view->viewport()->rect()).boundingRect().contains(rect);
    };
    // Opened before the window is shown: the fit waits for the view's real size.
    writeFile("job.raw", editJob());
    ASSERT_TRUE(window.openFile(scratch.path("job.raw")));
    window.show();
    QApplication::processEvents();
    EXPECT_TRUE(shows(window.mapBounds()));
    const double fitted = view->pixelsPerMetre();

    auto turn = [view](int delta) {
        const QPointF at(view->viewport()->width() / 2.0, view->viewport()->height() / 2.0);
        QWheelEvent event(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &event);
    };
    turn(-240), turn(120);
    EXPECT_NEAR(view->pixelsPerMetre(), fitted * std::sqrt(2.0), 1e-9 * fitted);
    turn(-480);
    EXPECT_FALSE(shows(window.mapBounds()));
    window.findChild<QAction*>("action_Fit_all")->trigger();
    EXPECT_NEAR(view->pixelsPerMetre(), fitted, 1e-9 * fitted);

    // A click on P2 (rover 1) selects its row on the "Rover" tab, sorted by name descending.
    auto* tabs = window.findChild<QTabWidget*>("tabWidget");
    auto* rovers = window.findChild<QTableView*>("tableWidget_rover");
    rovers->sortByColumn(0, Qt::DescendingOrder);
    tabs->setCurrentIndex(0);
    window.selectPointAt(QPointF(500100.0 + 0.2, -4000300.0), Qt::NoModifier);
    EXPECT_EQ(tabs->currentIndex(), 1);
    ASSERT_EQ(rovers->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(rovers->selectionModel()->selectedRows()[0].data().toString(), "P2");
    PlanLayerItem* layer = window.planScene()->layer();
    EXPECT_TRUE(layer->isSelected(false, 1));

    // Rows chosen in the table show on the plan and survive sorting and a filter that hides one of them.
    rovers->selectionModel()->select(rovers->model()->index(2, 3),  // a cell of P1, last when descending
                                     QItemSelectionModel::Select);
    EXPECT_EQ(window.selectedRoverRows(), (QList<qsizetype>{0, 1}));
    rovers->sortByColumn(0, Qt::AscendingOrder);
    window.findChild<QLineEdit*>("lineEdit_rover_filter")->setText("P2");
    EXPECT_EQ(window.selectedRoverRows(), (QList<qsizetype>{0, 1}));
    EXPECT_TRUE(layer->isSelected(false, 0));
    window.findChild<QLineEdit*>("lineEdit_rover_filter")->clear();
    EXPECT_EQ(window.selectedRoverRows(), (QList<qsizetype>{0, 1}));
    EXPECT_EQ(rovers->selectionModel()->selectedRows().size(), 2);
    window.draw_all();  // what the catalogue dialog's OK does: the plan is drawn anew, the selection stays
    EXPECT_TRUE(window.planScene()->layer()->isSelected(false, 1));

    // Calculate moves base B1 by 10 m north: the lines of its rovers follow it, and the view fits again.
    view->zoomBy(16);
    window.session()->stage(PointKind::Base, 0, EditField::North, QStringLiteral("4000010.0"));
    window.session()->calculate();
    EXPECT_EQ(window.planScene()->layer()->roverLine(0).p1(), QPointF(500000, -4000010));
    EXPECT_TRUE(shows(window.mapBounds()));
}
