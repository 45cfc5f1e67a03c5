#include "PointMarkerItem.h"

#include <QFontMetricsF>
#include <QGraphicsView>
#include <QPainter>

#include "GraphicsScene.h"

PointMarkerItem::PointMarkerItem(const QPixmap& pixmap, const QString& name, const QFont& font)
    : pixmap_(pixmap), name_(name), font_(font) {
    setFlag(QGraphicsItem::ItemIgnoresTransformations);
    measure();
}

void PointMarkerItem::setName(const QString& name) {
    prepareGeometryChange();
    name_ = name;
    measure();
}

void PointMarkerItem::measure() {
    const QFontMetricsF metrics(font_);
    bounds_ = markerRect().united(QRectF(0, 0, metrics.horizontalAdvance(name_), metrics.height()));
}

QRectF PointMarkerItem::markerRect() const {
    return QRectF(-pixmap_.width() / 2.0, -pixmap_.height() / 2.0, pixmap_.width(), pixmap_.height());
}

QRectF PointMarkerItem::boundingRect() const { return bounds_; }

void PointMarkerItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget* widget) {
    painter->drawPixmap(markerRect().topLeft(), pixmap_);
    // The view's zoom (pixels per metre) tells whether names would stand apart or cover each other.
    const auto* view = widget ? qobject_cast<const QGraphicsView*>(widget->parentWidget()) : nullptr;
    const auto* plan = qobject_cast<const GraphicsScene*>(scene());
    if (view && plan && view->transform().m11() * plan->typicalSpacing() < GraphicsScene::kLabelSpacing)
        return;
    painter->setFont(font_);
    painter->setPen(Qt::black);
    painter->drawText(QRectF(0, 0, bounds_.right(), bounds_.bottom()), Qt::AlignLeft | Qt::AlignTop, name_);
}
