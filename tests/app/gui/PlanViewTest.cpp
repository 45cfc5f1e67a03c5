// The plan: scene rectangle, items of a job, wheel zoom; and the compiled-in icons it draws.
#include <gtest/gtest.h>

#include <QGraphicsPathItem>
#include <QImage>
#include <QTest>
#include <QWheelEvent>
#include <cmath>

#include "GraphicsScene.h"
#include "GraphicsView.h"
#include "GuiTestSupport.h"
#include "PointMarkerItem.h"
#include "RawBench.h"

namespace {

RoverPoint rover(const QString& name, double north, double east, double baseNorth, double baseEast) {
    RoverPoint r;
    r.name = name;
    r.north = north;
    r.east = east;
    r.baseNorth = baseNorth;
    r.baseEast = baseEast;
    return r;
}

BaseStation base(const QString& name, double north, double east) {
    BaseStation b;
    b.name = name;
    b.north = north;
    b.east = east;
    return b;
}

template <typename Item>
QList<Item*> itemsOf(const QGraphicsScene& scene) {
    QList<Item*> found;
    for (QGraphicsItem* item : scene.items(Qt::AscendingOrder))
        if (auto* typed = dynamic_cast<Item*>(item)) found << typed;
    return found;
}

void turnWheel(QWidget* viewport, int delta) {
    const QPointF at(viewport->width() / 2.0, viewport->height() / 2.0);
    QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &event);
}

}  // namespace

TEST(MapBounds, CoversEveryPointWithTwoMetresMargin) {
    struct Case {
        const char* what;
        QList<BaseStation> bases;
        QList<RoverPoint> rovers;
        QRectF expected;
    };
    const QList<Case> cases = {
        {"empty job", {}, {}, QRectF(-3, -3, 6, 6)},
        {"one base", {base("B", 100, 200)}, {}, QRectF(198, -102, 4, 4)},
        {"rover and base; base copies do not count",
         {base("B", 0, 0)},
         {rover("R", 10, 20, -500, 900)},
         QRectF(-2, -12, 24, 14)},
        {"rovers only widen from the first rover",
         {},
         {rover("R1", -5, -7, 0, 0), rover("R2", 3, 4, 0, 0)},
         QRectF(-9, -5, 15, 12)},
    };
    for (const Case& c : cases) EXPECT_EQ(mapBounds(c.bases, c.rovers), c.expected) << c.what;
}

TEST(GraphicsScene, DrawsLinesFromTheRoversOwnBaseCopyAndFixedSizeMarkers) {
    GraphicsScene scene(nullptr);
    scene.drawPoints({base("B1", 1, 1)}, {rover("R1", 10, 20, 0, 0)});

    const auto paths = itemsOf<QGraphicsPathItem>(scene);
    ASSERT_EQ(paths.size(), 1);
    const QPainterPath& path = paths[0]->path();
    ASSERT_EQ(path.elementCount(), 2);
    EXPECT_EQ(QPointF(path.elementAt(0)), QPointF(0, 0));
    EXPECT_EQ(QPointF(path.elementAt(1)), QPointF(20, -10));
    EXPECT_EQ(paths[0]->pen().color(), QColor(Qt::red));
    EXPECT_TRUE(paths[0]->pen().isCosmetic());
    EXPECT_EQ(paths[0]->brush().style(), Qt::NoBrush);

    const auto markers = itemsOf<PointMarkerItem>(scene);
    ASSERT_EQ(markers.size(), 2);
    EXPECT_EQ(markers[0]->pos(), QPointF(20, -10));
    EXPECT_EQ(markers[0]->name(), "R1");
    EXPECT_EQ(markers[0]->markerRect(), QRectF(-6, -6, 12, 12));
    EXPECT_EQ(markers[0]->font().pixelSize(), 15);
    EXPECT_EQ(markers[1]->pos(), QPointF(1, -1));
    EXPECT_EQ(markers[1]->name(), "B1");
    EXPECT_EQ(markers[1]->markerRect(), QRectF(-9.5, -9.5, 19, 19));
    for (PointMarkerItem* marker : markers)
        EXPECT_TRUE(marker->flags() & QGraphicsItem::ItemIgnoresTransformations);

    // A Calculate moves and renames markers in place; other point counts need a new plan.
    RoverPoint moved = rover("R1b", 12, 21, 0, 0);
    EXPECT_TRUE(scene.updatePoints({base("B1", 1, 1)}, {moved}));
    EXPECT_EQ(markers[0]->pos(), QPointF(21, -12));
    EXPECT_EQ(markers[0]->name(), "R1b");
    EXPECT_EQ(QPointF(paths[0]->path().elementAt(1)), QPointF(21, -12));
    EXPECT_FALSE(scene.updatePoints({}, {moved}));
}

TEST(GraphicsScene, MarkersAreTheDrawnIcons) {
    GraphicsScene scene(nullptr);
    const QImage baseImage = scene.basePixmap.toImage();
    const QImage roverImage = scene.roverPixmap.toImage();
    ASSERT_EQ(baseImage.size(), QSize(19, 19));
    ASSERT_EQ(roverImage.size(), QSize(12, 12));
    EXPECT_EQ(qAlpha(baseImage.pixel(0, 0)), 0);  // transparent around the triangle
    EXPECT_EQ(baseImage.pixelColor(9, 10).rgb(), QColor(98, 98, 98).rgb());  // the centre dot
    EXPECT_EQ(roverImage.pixelColor(0, 0), QColor(Qt::white));               // white square
    EXPECT_EQ(roverImage.pixelColor(6, 6), QColor(Qt::black));               // black disc
    for (const char* name : {"export", "close", "exit", "copy", "cut", "deletebase", "save", "config",
                             "paste", "saveas", "setting", "deleterover", "recalculate", "open"})
        EXPECT_FALSE(QPixmap(QStringLiteral(":/icon/%1.png").arg(QLatin1String(name))).isNull()) << name;
}

TEST(GraphicsView, WheelZoomsByPowersOfTwoAndUndoes) {
    ScratchDir scratch;
    RawBench window;
    auto* view = window.findChild<GraphicsView*>("graphicsView");
    ASSERT_NE(view, nullptr);
    view->resetTransform();
    turnWheel(view->viewport(), 120);
    EXPECT_NEAR(view->transform().m11(), 1 / std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(view->transform().m22(), 1 / std::sqrt(2.0), 1e-12);
    turnWheel(view->viewport(), 120);
    turnWheel(view->viewport(), -120);
    turnWheel(view->viewport(), -120);
    EXPECT_NEAR(view->transform().m11(), 1.0, 1e-12);
    turnWheel(view->viewport(), -240);
    EXPECT_NEAR(view->transform().m11(), 2.0, 1e-12);
    EXPECT_EQ(view->dragMode(), QGraphicsView::ScrollHandDrag);
}

TEST(RawBenchPlan, OpenRedrawsTheWholeJobAndFitsIt) {
    ScratchDir scratch;
    ScriptedPrompter prompter;
    RawBench window;
    window.setPrompter(&prompter);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    writeFile("empty.raw", rawHeader());
    prompter.openAnswers.push_back(scratch.path("empty.raw"));
    window.findChild<QAction*>("action_Open")->trigger();
    EXPECT_EQ(window.planScene()->sceneRect(), QRectF(-3, -3, 6, 6));
    EXPECT_TRUE(window.planScene()->items().isEmpty());

    RawPoint p{"R", 10, 20, 7, "B", 0, 0, 5};
    writeFile("one.raw", rawHeader() + rawGroup(p));
    prompter.openAnswers.push_back(scratch.path("one.raw"));
    window.findChild<QAction*>("action_Open")->trigger();
    EXPECT_EQ(window.planScene()->sceneRect(), QRectF(-2, -12, 24, 14));
    EXPECT_EQ(itemsOf<PointMarkerItem>(*window.planScene()).size(), 2);
    EXPECT_EQ(itemsOf<QGraphicsPathItem>(*window.planScene()).size(), 1);

    // The view shows the whole rectangle after a redraw, whatever the zoom was.
    auto* view = window.findChild<GraphicsView*>("graphicsView");
    view->zoomBy(8);
    window.draw_all();
    const QRectF shown = view->mapToScene(view->viewport()->rect()).boundingRect();
    EXPECT_TRUE(shown.contains(window.planScene()->sceneRect().adjusted(0.5, 0.5, -0.5, -0.5)))
        << shown.x() << " " << shown.y() << " " << shown.width() << " " << shown.height() << " view "
        << view->viewport()->width() << "x" << view->viewport()->height();
}
