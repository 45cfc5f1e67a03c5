#pragma once

#include <QGraphicsView>
#include <QMarginsF>
#include <QPoint>
#include <QRectF>

// The plan view: drag with the left button to pan, turn the wheel to zoom about the point under the mouse.
// It fits a rectangle of the plan into itself once it has its real size (and again when it is resized,
// until the user zooms or pans), draws a legend and a scale bar over the plan, reports the scene position
// under the cursor and clicks that did not pan.
class GraphicsView : public QGraphicsView {
    Q_OBJECT

  public:
    explicit GraphicsView(QWidget* parent);

    // Scales the view's transformation by factor in both directions.
    void zoomBy(double factor);

    // Shows extent (scene metres) whole, centred, with fitMargins() pixels around it. Before the
    // view is shown with its real size the fit waits for it.
    void fitPlan(const QRectF& extent);
    // Brings rect (scene metres) into view: centred at the present zoom when it fits, else fitted.
    void bringIntoView(const QRectF& rect);
    // Pixels per metre of the present zoom.
    double pixelsPerMetre() const { return transform().m11(); }

    static constexpr double kFitMargin = 28;
    // Free pixels around a fitted job: more on the right, where the names of the easternmost points go.
    static QMarginsF fitMargins() { return QMarginsF(kFitMargin, kFitMargin, kFitMargin + 72, kFitMargin); }
    // The scale bar is at most this long, in pixels.
    static constexpr double kScaleBarPixels = 140;

  signals:
    // The scene position (metres, (E, -N)) under the mouse.
    void cursorMoved(const QPointF& scenePos);
    // A click of the left button that did not pan the plan, at scene position scenePos.
    void clicked(const QPointF& scenePos, Qt::KeyboardModifiers modifiers);

  protected:
    // One notch (120) away from the user zooms out by 1/sqrt(2), towards the user zooms in by sqrt(2):
    // factor = 2^(-delta / 240). The event is consumed, so the wheel never scrolls the plan.
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;

  private:
    void applyFit();
    // Zooms and centres the view to show extent (scene metres) whole within fitMargins().
    void showFitted(const QRectF& extent);
    void drawLegend(QPainter* painter);
    void drawScaleBar(QPainter* painter);

    QRectF fitExtent_;
    bool fitFollowsSize_ = false;  // refit on resize: the user has not zoomed or panned since the fit
    QPoint pressedAt_;
    bool pressed_ = false;
};
