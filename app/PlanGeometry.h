#pragma once
// Geometry of the plan view that does not depend on widgets: how to fit the job into the view and how long
// the scale bar is.
#include <QMarginsF>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

// The zoom (pixels per metre, the same in both directions) and the scene point at the centre of the view
// that show extent whole in a viewport of the given size (pixels), with at least the margins (pixels) free
// on each side (where markers and names of the outermost points are drawn). Margins wider than half the
// viewport shrink in proportion; a job of no width or height is shown 4 m across.
struct PlanFit {
    double pixelsPerMetre = 1.0;
    QPointF centre;
};
PlanFit fitPlan(const QRectF& extent, const QSizeF& viewport, const QMarginsF& margins);

// The scene rectangle a view with that zoom and centre shows.
QRectF shownRect(const PlanFit& fit, const QSizeF& viewport);

// The scale bar: the longest round length (1, 2 or 5 times a power of ten, in metres) that is at most
// maxPixels long at pixelsPerMetre. 0 when the zoom is not a positive finite number.
double scaleBarMetres(double pixelsPerMetre, double maxPixels);
