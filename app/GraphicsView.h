#pragma once

#include <QGraphicsView>

// The plan view: drag with the left button to pan, turn the wheel to zoom about the point under the mouse.
class GraphicsView : public QGraphicsView {
    Q_OBJECT

  public:
    explicit GraphicsView(QWidget* parent);

    // Scales the view's transformation by factor in both directions.
    void zoomBy(double factor);

  protected:
    // One notch (120) away from the user zooms out by 1/sqrt(2), towards the user zooms in by sqrt(2):
    // factor = 2^(-delta / 240). The event is consumed, so the wheel never scrolls the plan.
    void wheelEvent(QWheelEvent* event) override;
};
