#include "GraphicsScene.h"

#include <QFont>
#include <QGraphicsPathItem>
#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "PointMarkerItem.h"

namespace {

QPointF planPosition(double north, double east) { return QPointF(east, -north); }

QPainterPath baseLines(const QList<RoverPoint>& rovers) {
    QPainterPath lines;
    for (const RoverPoint& rover : rovers) {
        lines.moveTo(planPosition(rover.baseNorth, rover.baseEast));
        lines.lineTo(planPosition(rover.north, rover.east));
    }
    return lines;
}

}  // namespace

GraphicsScene::GraphicsScene(QObject* parent)
    : QGraphicsScene(parent),
      basePixmap(QStringLiteral(":/icon/base.png")),
      roverPixmap(QStringLiteral(":/icon/rover.png")) {
    // The plan is rebuilt as a whole and mostly shown whole: keeping a search tree of 100 000 points up to
    // date costs seconds, for hit tests the plan does not need.
    setItemIndexMethod(QGraphicsScene::NoIndex);
}

void GraphicsScene::drawPoints(const QList<BaseStation>& bases, const QList<RoverPoint>& rovers) {
    clear();
    roverItems_.clear();
    baseItems_.clear();
    lines_ = nullptr;
    QFont labelFont = font();
    labelFont.setPixelSize(15);
    auto addMarker = [this, &labelFont](const QPixmap& pixmap, const QPointF& at, const QString& name) {
        auto* marker = new PointMarkerItem(pixmap, name, labelFont);
        marker->setPos(at);
        addItem(marker);
        return marker;
    };

    roverItems_.reserve(rovers.size());
    for (const RoverPoint& rover : rovers)
        roverItems_ << addMarker(roverPixmap, planPosition(rover.north, rover.east), rover.name);
    if (!rovers.isEmpty()) {  // a job without rovers has no lines, and an empty plan no items at all
        QPen red(Qt::red);
        red.setCosmetic(true);  // one pixel wide at every zoom
        lines_ = addPath(baseLines(rovers), red, Qt::NoBrush);
    }
    for (const BaseStation& base : bases)
        baseItems_ << addMarker(basePixmap, planPosition(base.north, base.east), base.name);

    const QRectF extent = mapBounds(bases, rovers);
    const qsizetype points = std::max<qsizetype>(1, bases.size() + rovers.size());
    typicalSpacing_ = std::sqrt(extent.width() * extent.height() / static_cast<double>(points));
}

bool GraphicsScene::updatePoints(const QList<BaseStation>& bases, const QList<RoverPoint>& rovers) {
    if (roverItems_.size() != rovers.size() || baseItems_.size() != bases.size() ||
        (lines_ == nullptr) != rovers.isEmpty())
        return false;
    auto update = [](PointMarkerItem* item, double north, double east, const QString& name) {
        const QPointF at = planPosition(north, east);
        if (item->pos() != at) item->setPos(at);
        if (item->name() != name) item->setName(name);
    };
    for (qsizetype i = 0; i < rovers.size(); ++i)
        update(roverItems_[i], rovers[i].north, rovers[i].east, rovers[i].name);
    for (qsizetype i = 0; i < bases.size(); ++i)
        update(baseItems_[i], bases[i].north, bases[i].east, bases[i].name);
    if (lines_) lines_->setPath(baseLines(rovers));
    return true;
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
