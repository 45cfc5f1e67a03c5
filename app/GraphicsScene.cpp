#include "GraphicsScene.h"

#include <QFont>
#include <QGraphicsPixmapItem>
#include <QGraphicsSimpleTextItem>
#include <QPainterPath>
#include <QPen>
#include <algorithm>

namespace {

QPointF planPosition(double north, double east) { return QPointF(east, -north); }

}  // namespace

GraphicsScene::GraphicsScene(QObject* parent)
    : QGraphicsScene(parent),
      basePixmap(QStringLiteral(":/icon/base.png")),
      roverPixmap(QStringLiteral(":/icon/rover.png")) {}

void GraphicsScene::drawPoints(const QList<BaseStation>& bases, const QList<RoverPoint>& rovers) {
    QPainterPath lines;
    QFont labelFont = font();
    labelFont.setPixelSize(15);

    auto addMarker = [this, &labelFont](const QPixmap& pixmap, const QPointF& at, const QString& name) {
        QGraphicsPixmapItem* marker = addPixmap(pixmap);
        marker->setPos(at);
        marker->setOffset(-pixmap.width() / 2.0, -pixmap.height() / 2.0);
        marker->setFlag(QGraphicsItem::ItemIgnoresTransformations);
        QGraphicsSimpleTextItem* label = addSimpleText(name, font());
        label->setFont(labelFont);
        label->setPos(at);
        label->setFlag(QGraphicsItem::ItemIgnoresTransformations);
    };

    for (const RoverPoint& rover : rovers) {
        const QPointF at = planPosition(rover.north, rover.east);
        lines.moveTo(planPosition(rover.baseNorth, rover.baseEast));
        lines.lineTo(at);
        addMarker(roverPixmap, at, rover.name);
    }
    if (!rovers.isEmpty()) {  // a job without rovers has no lines, and an empty plan no items at all
        QPen red(Qt::red);
        red.setCosmetic(true);  // one pixel wide at every zoom
        addPath(lines, red, Qt::NoBrush);
    }
    for (const BaseStation& base : bases)
        addMarker(basePixmap, planPosition(base.north, base.east), base.name);
}

QRectF mapBounds(const QList<BaseStation>& bases, const QList<RoverPoint>& rovers) {
    double minX = -1, minY = -1, maxX = 1, maxY = 1;
    bool first = true;
    auto widen = [&](double north, double east) {
        const double x = east, y = -north;
        if (first) {
            minX = maxX = x;
            minY = maxY = y;
            first = false;
            return;
        }
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    };
    for (const RoverPoint& rover : rovers) widen(rover.north, rover.east);
    for (const BaseStation& base : bases) widen(base.north, base.east);
    return QRectF(minX - 2, minY - 2, (maxX - minX) + 4, (maxY - minY) + 4);
}
