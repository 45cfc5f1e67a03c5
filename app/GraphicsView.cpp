#include "GraphicsView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <cmath>

#include "GraphicsScene.h"
#include "PlanGeometry.h"
#include "PlanLayerItem.h"

namespace {

// A press and release closer than this (pixels) is a click, not a pan.
constexpr int kClickSlop = 4;

QString metresLabel(double metres) {
    return metres >= 1000 ? QStringLiteral("%1 km").arg(metres / 1000, 0, 'g', 6)
                          : QStringLiteral("%1 m").arg(metres, 0, 'g', 6);
}

}  // namespace

GraphicsView::GraphicsView(QWidget* parent) : QGraphicsView(parent) {
    setDragMode(QGraphicsView::ScrollHandDrag);
    // The legend and the scale bar stay put while the plan moves: every repaint draws the whole viewport.
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    viewport()->setMouseTracking(true);
    // The plan is panned by dragging; scroll bars would only take room from it.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void GraphicsView::zoomBy(double factor) {
    fitFollowsSize_ = false;
    scale(factor, factor);
}

void GraphicsView::fitPlan(const QRectF& extent) {
    fitExtent_ = extent;
    fitFollowsSize_ = true;
    // The view may pan well beyond the job, so that names at its edges can be brought to the middle.
    const double room = 4 * std::max({extent.width(), extent.height(), 100.0});
    setSceneRect(extent.adjusted(-room, -room, room, room));
    applyFit();
}

void GraphicsView::applyFit() {
    if (!fitFollowsSize_ || !isVisible() || viewport()->width() < 2 || viewport()->height() < 2) return;
    showFitted(fitExtent_);
}

void GraphicsView::showFitted(const QRectF& extent) {
    const PlanFit fit = ::fitPlan(extent, QSizeF(viewport()->size()), fitMargins());
    setTransform(QTransform::fromScale(fit.pixelsPerMetre, fit.pixelsPerMetre));
    centerOn(fit.centre);
}

void GraphicsView::bringIntoView(const QRectF& rect) {
    if (rect.isNull()) return;  // nothing selected
    const QRectF shown = mapToScene(viewport()->rect()).boundingRect();
    const double margin = kFitMargin / std::max(1e-12, pixelsPerMetre());
    const QRectF wanted = rect.adjusted(-margin, -margin, margin, margin);
    if (shown.contains(wanted)) return;
    fitFollowsSize_ = false;
    if (wanted.width() <= shown.width() && wanted.height() <= shown.height()) {
        centerOn(rect.center());
        return;
    }
    // Zoomed out to show the selection, the rest of the job stays within reach of panning.
    showFitted(rect);
}

void GraphicsView::resizeEvent(QResizeEvent* event) {
    QGraphicsView::resizeEvent(event);
    applyFit();
}

void GraphicsView::showEvent(QShowEvent* event) {
    QGraphicsView::showEvent(event);
    applyFit();
}

void GraphicsView::wheelEvent(QWheelEvent* event) {
    zoomBy(std::pow(2.0, -event->angleDelta().y() / 240.0));
    event->accept();
}

void GraphicsView::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    pressedAt_ = event->position().toPoint();
    QGraphicsView::mousePressEvent(event);
}

void GraphicsView::mouseMoveEvent(QMouseEvent* event) {
    emit cursorMoved(mapToScene(event->position().toPoint()));
    if (pressed_ && (event->position().toPoint() - pressedAt_).manhattanLength() > kClickSlop)
        fitFollowsSize_ = false;  // the user pans
    QGraphicsView::mouseMoveEvent(event);
}

void GraphicsView::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       (event->position().toPoint() - pressedAt_).manhattanLength() <= kClickSlop;
    pressed_ = false;
    QGraphicsView::mouseReleaseEvent(event);
    if (click) emit clicked(mapToScene(event->position().toPoint()), event->modifiers());
}

void GraphicsView::drawForeground(QPainter* painter, const QRectF&) {
    const auto* plan = qobject_cast<const GraphicsScene*>(scene());
    if (!plan || !plan->layer() || plan->layer()->baseCount() + plan->layer()->roverCount() == 0) return;
    painter->save();
    painter->resetTransform();
    painter->setRenderHint(QPainter::Antialiasing);
    QFont font = painter->font();
    font.setPixelSize(12);
    painter->setFont(font);
    drawLegend(painter);
    drawScaleBar(painter);
    painter->restore();
}

void GraphicsView::drawLegend(QPainter* painter) {
    const auto* plan = static_cast<const GraphicsScene*>(scene());
    const struct {
        const QPixmap* mark;
        QString text;
    } rows[] = {{&plan->basePixmap, tr("Base station")},
                {&plan->roverPixmap, tr("Rover, fixed")},
                {&plan->unfixedPixmap, tr("Rover, not fixed")}};
    const QFontMetrics metrics(painter->font());
    const int rowHeight = std::max(20, metrics.height() + 4);
    int textWidth = 0;
    for (const auto& row : rows) textWidth = std::max(textWidth, metrics.horizontalAdvance(row.text));
    const QRect box(8, 8, 20 + 8 + textWidth + 12, rowHeight * 3 + 8);
    painter->setPen(QColor(160, 160, 160));
    painter->setBrush(QColor(255, 255, 255, 220));
    painter->drawRoundedRect(box, 4, 4);
    painter->setPen(Qt::black);
    for (int i = 0; i < 3; ++i) {
        const int y = box.top() + 4 + i * rowHeight;
        const QPixmap& mark = *rows[i].mark;
        painter->drawPixmap(box.left() + 6 + (20 - mark.width()) / 2, y + (rowHeight - mark.height()) / 2,
                            mark);
        painter->drawText(QRect(box.left() + 32, y, textWidth + 8, rowHeight), Qt::AlignVCenter,
                          rows[i].text);
    }
}

void GraphicsView::drawScaleBar(QPainter* painter) {
    const double metres = scaleBarMetres(pixelsPerMetre(), kScaleBarPixels);
    if (metres <= 0) return;
    const double length = metres * pixelsPerMetre();
    const double left = 14, base = viewport()->height() - 14.0;
    const QString text = metresLabel(metres);
    const QFontMetrics metrics(painter->font());
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(255, 255, 255, 200));
    painter->drawRect(QRectF(left - 6, base - metrics.height() - 12,
                             std::max(length, double(metrics.horizontalAdvance(text))) + 12,
                             metrics.height() + 18));
    painter->setPen(QPen(Qt::black, 2));
    painter->drawLine(QPointF(left, base), QPointF(left + length, base));
    painter->drawLine(QPointF(left, base - 5), QPointF(left, base));
    painter->drawLine(QPointF(left + length, base - 5), QPointF(left + length, base));
    painter->drawText(QPointF(left, base - 8), text);
}
