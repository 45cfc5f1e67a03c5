// The plan: scene rectangle, items of a job, following a Calculate, wheel zoom, fitting after a redraw.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGraphicsPathItem>
#include <QWheelEvent>
#include <cmath>

#include "GraphicsScene.h"
#include "GraphicsView.h"
#include "GuiTestSupport.h"
#include "PointMarkerItem.h"
#include "RawBench.h"

namespace {

RoverPoint rover(const QString& name, double north, double east, double baseNorth = 0, double baseEast = 0) {
    RoverPoint r;
    r.name = name, r.north = north, r.east = east, r.baseNorth = baseNorth, r.baseEast = baseEast;
    return r;
}

BaseStation base(const QString& name, double north, double east) {
    BaseStation b;
    b.name = name, b.north = north, b.east = east;
    return b;
}

template <typename Item>
QList<Item*> itemsOf(const QGraphicsScene& scene) {
    QList<Item*> found;
    for (QGraphicsItem* item : scene.items(Qt::AscendingOrder))
        if (auto* typed = dynamic_cast<Item*>(item)) found << typed;
    return found;
}

}  // namespace

TEST(MapBounds, CoversEveryPointButNotTheBaseCopiesWithTwoMetresMargin) {
    EXPECT_EQ(mapBounds({}, {}), QRectF(-3, -3, 6, 6));
    EXPECT_EQ(mapBounds({base("B", 100, 200)}, {}), QRectF(198, -102, 4, 4));
    EXPECT_EQ(mapBounds({base("B", 0, 0)}, {rover("R", 10, 20, -500, 900)}), QRectF(-2, -12, 24, 14));
    EXPECT_EQ(mapBounds({}, {rover("R1", -5, -7), rover("R2", 3, 4)}), QRectF(-9, -5, 15, 12));
}

TEST(GraphicsScene, DrawsLinesFromTheRoversOwnBaseCopyAndFixedSizeMarkersAndFollowsMoves) {
    GraphicsScene scene(nullptr);
    scene.drawPoints({}, {});
    EXPECT_TRUE(scene.items().isEmpty());
    scene.drawPoints({base("B1", 1, 1)}, {rover("R1", 10, 20)});
    const auto paths = itemsOf<QGraphicsPathItem>(scene);
    ASSERT_EQ(paths.size(), 1);
    ASSERT_EQ(paths[0]->path().elementCount(), 2);
    EXPECT_EQ(QPointF(paths[0]->path().elementAt(0)), QPointF(0, 0));
    EXPECT_EQ(QPointF(paths[0]->path().elementAt(1)), QPointF(20, -10));
    EXPECT_EQ(paths[0]->pen().color(), QColor(Qt::red));
    EXPECT_TRUE(paths[0]->pen().isCosmetic());

    const auto markers = itemsOf<PointMarkerItem>(scene);  // rovers first, then the lines, then bases
    ASSERT_EQ(markers.size(), 2);
    EXPECT_EQ(markers[0]->pos(), QPointF(20, -10));
    EXPECT_EQ(markers[0]->name(), "R1");
    EXPECT_EQ(markers[0]->markerRect(), QRectF(-6, -6, 12, 12));  // the 12-pixel rover dot, centred
    EXPECT_EQ(markers[0]->font().pixelSize(), 15);
    EXPECT_EQ(markers[1]->pos(), QPointF(1, -1));
    EXPECT_EQ(markers[1]->markerRect(), QRectF(-9.5, -9.5, 19, 19));  // the 19-pixel base triangle
    for (PointMarkerItem* marker : markers) EXPECT_TRUE(marker->flags() & QGraphicsItem::ItemIgnoresTransformations);

    // A Calculate moves and renames markers in place; other point counts need a new plan.
    EXPECT_TRUE(scene.updatePoints({base("B1", 1, 1)}, {rover("R1b", 12, 21)}));
    EXPECT_EQ(markers[0]->pos(), QPointF(21, -12));
    EXPECT_EQ(markers[0]->name(), "R1b");
    EXPECT_EQ(QPointF(paths[0]->path().elementAt(1)), QPointF(21, -12));
    EXPECT_FALSE(scene.updatePoints({}, {rover("R1b", 12, 21)}));
}

TEST(RawBenchPlan, WheelZoomsByPowersOfTwoAndARedrawFitsTheWholeJob) {
    ScratchDir scratch;
    RawBench window;
    window.show();
    writeFile("one.raw", rawHeader() + rawGroup(RawPoint{"R", 10, 20, 7, "B", 0, 0, 5}));
    ASSERT_TRUE(window.openFile(scratch.path("one.raw")));
    EXPECT_EQ(window.planScene()->sceneRect(), QRectF(-2, -12, 24, 14));
    EXPECT_EQ(itemsOf<PointMarkerItem>(*window.planScene()).size(), 2);

    auto* view = window.findChild<GraphicsView*>("graphicsView");
    EXPECT_EQ(view->dragMode(), QGraphicsView::ScrollHandDrag);
    view->resetTransform();
    auto turn = [view](int delta) {
        const QPointF at(view->viewport()->width() / 2.0, view->viewport()->height() / 2.0);
        QWheelEvent event(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &event);
    };
    turn(120);
    EXPECT_NEAR(view->transform().m11(), 1 / std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(view->transform().m22(), 1 / std::sqrt(2.0), 1e-12);
    turn(120), turn(-120), turn(-120);
    EXPECT_NEAR(view->transform().m11(), 1.0, 1e-12);
    turn(-240);
    EXPECT_NEAR(view->transform().m11(), 2.0, 1e-12);

    view->zoomBy(8);
    window.draw_all();
    const QRectF shown = view->mapToScene(view->viewport()->rect()).boundingRect();
    EXPECT_TRUE(shown.contains(window.planScene()->sceneRect().adjusted(0.5, 0.5, -0.5, -0.5)));
}
