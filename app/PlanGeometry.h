#pragma once
// Geometry of the plan view that does not depend on widgets: how to fit the job into the view and how long
// the scale bar is.
#include <QPointF>
#include <QRectF>
#include <QSizeF>

// The zoom (pixels per metre, the same in both directions) and the scene point at the centre of the view
// that show extent whole in a viewport of the given size (pixels), with at least marginPixels free on every
// side (where markers and names of the outermost points are drawn). A viewport too small for the margins
// still shows extent, with what margin is left.
struct PlanFit {
    double pixelsPerMetre = 1.0;
    QPointF centre;
};
PlanFit fitPlan(const QRectF& extent, const QSizeF& viewport, double marginPixels);

// The scene rectangle a view with that zoom and centre shows.
QRectF shownRect(const PlanFit& fit, const QSizeF& viewport);

// The scale bar: the longest round length (1, 2 or 5 times a power of ten, in metres) that is at most
// maxPixels long at pixelsPerMetre. 0 when the zoom is not a positive finite number.
double scaleBarMetres(double pixelsPerMetre, double maxPixels);
