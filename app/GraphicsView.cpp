#include "GraphicsView.h"

#include <QWheelEvent>
#include <cmath>

GraphicsView::GraphicsView(QWidget* parent) : QGraphicsView(parent) {
    setDragMode(QGraphicsView::ScrollHandDrag);
}

void GraphicsView::zoomBy(double factor) { scale(factor, factor); }

void GraphicsView::wheelEvent(QWheelEvent* event) {
    zoomBy(std::pow(2.0, -event->angleDelta().y() / 240.0));
    event->accept();
}
