#include "PlanGeometry.h"

#include <algorithm>
#include <cmath>

PlanFit fitPlan(const QRectF& extent, const QSizeF& viewport, const QMarginsF& margins) {
    PlanFit fit;
    // Half the viewport at most goes to the margins; the rest holds the job.
    const double across = margins.left() + margins.right(), down = margins.top() + margins.bottom();
    const double shrink = std::min({1.0, across > 0 ? viewport.width() / 2 / across : 1.0,
                                    down > 0 ? viewport.height() / 2 / down : 1.0});
    const QMarginsF m = margins * std::max(0.0, shrink);
    const double width = std::max(1.0, viewport.width() - m.left() - m.right());
    const double height = std::max(1.0, viewport.height() - m.top() - m.bottom());
    // A job of one point (or points on one line) has no width or height: show 4 m across instead.
    const double metresAcross = std::max(extent.width(), 4.0);
    const double metresDown = std::max(extent.height(), 4.0);
    fit.pixelsPerMetre = std::min(width / metresAcross, height / metresDown);
    // Coordinates too large to show (a raw file's numbers are read as they stand): a zoom the view can use.
    if (!(fit.pixelsPerMetre > 1e-300) || !std::isfinite(fit.pixelsPerMetre)) fit.pixelsPerMetre = 1e-300;
    // The job sits in the middle of what the margins leave free.
    fit.centre = extent.center() +
                 QPointF((m.right() - m.left()) / 2, (m.bottom() - m.top()) / 2) / fit.pixelsPerMetre;
    if (!std::isfinite(fit.centre.x()) || !std::isfinite(fit.centre.y())) fit.centre = QPointF();
    return fit;
}

QRectF shownRect(const PlanFit& fit, const QSizeF& viewport) {
    const double w = viewport.width() / fit.pixelsPerMetre, h = viewport.height() / fit.pixelsPerMetre;
    return QRectF(fit.centre.x() - w / 2, fit.centre.y() - h / 2, w, h);
}

double scaleBarMetres(double pixelsPerMetre, double maxPixels) {
    if (!(pixelsPerMetre > 0) || !std::isfinite(pixelsPerMetre) || !(maxPixels > 0)) return 0;
    const double longest = maxPixels / pixelsPerMetre;
    double power = std::pow(10.0, std::floor(std::log10(longest)));
    for (double step : {5.0, 2.0, 1.0})
        if (step * power <= longest * (1 + 1e-12)) return step * power;
    return power / 2;  // rounding put longest just below the power of ten
}
