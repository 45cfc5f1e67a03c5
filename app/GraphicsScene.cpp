#include "GraphicsScene.h"

#include <QFont>
#include <QPainter>
#include <algorithm>

#include "PlanLayerItem.h"

namespace {

// 12 pixels like the fixed rover's dot, but a thick orange ring on white: it stands out among black dots.
QPixmap unfixedMarker() {
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(230, 110, 0), 3));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    return pixmap;
}

}  // namespace

GraphicsScene::GraphicsScene(QObject* parent)
    : QGraphicsScene(parent),
      basePixmap(QStringLiteral(":/icon/base.png")),
      roverPixmap(QStringLiteral(":/icon/rover.png")),
      unfixedPixmap(unfixedMarker()) {
    // One item draws the whole job and finds what is in view through its own grid: the scene's index
    // would only hold that item.
    setItemIndexMethod(QGraphicsScene::NoIndex);
}

void GraphicsScene::drawPoints(const QList<BaseStation>& bases, const QList<RoverPoint>& rovers) {
    clear();
    QFont labelFont = font();
    labelFont.setPixelSize(15);
    layer_ = new PlanLayerItem({basePixmap, roverPixmap, unfixedPixmap}, labelFont);
    layer_->setPoints(bases, rovers);
    addItem(layer_);
}

bool GraphicsScene::updatePoints(const QList<BaseStation>& bases, const QList<RoverPoint>& rovers) {
    if (!layer_ || layer_->roverCount() != rovers.size() || layer_->baseCount() != bases.size()) return false;
    QList<qsizetype> chosenBases, chosenRovers;
    for (qsizetype i = 0; i < bases.size(); ++i)
        if (layer_->isSelected(true, i)) chosenBases << i;
    for (qsizetype i = 0; i < rovers.size(); ++i)
        if (layer_->isSelected(false, i)) chosenRovers << i;
    layer_->setPoints(bases, rovers);
    layer_->setSelection(chosenBases, chosenRovers);
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
