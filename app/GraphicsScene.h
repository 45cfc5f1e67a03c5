#pragma once

#include <QGraphicsScene>
#include <QList>
#include <QPixmap>
#include <QRectF>

#include "rawfile/JobModel.h"

class PointMarkerItem;
class QGraphicsPathItem;

// The plan of a job in local grid metres: a point with north N and east E lies at scene position (E, -N),
// so east is to the right and north is up.
class GraphicsScene : public QGraphicsScene {
    Q_OBJECT

  public:
    explicit GraphicsScene(QObject* parent);

    // Empties the plan and draws the job: for every rover a red line from its own copy of its base to the
    // rover and a PointMarkerItem (marker and name), then a PointMarkerItem for every base station. Markers
    // and names keep their pixel size at every zoom.
    void drawPoints(const QList<BaseStation>& bases, const QList<RoverPoint>& rovers);

    // Moves and renames the markers and redraws the lines of a plan drawn from lists of the same lengths
    // (after a Calculate, or its undo). Returns false, changing nothing, when the plan holds other points.
    bool updatePoints(const QList<BaseStation>& bases, const QList<RoverPoint>& rovers);

    // Names are drawn when points lie at least this far apart on screen on average, in pixels: at an
    // overview of thousands of points they would only cover each other.
    static constexpr double kLabelSpacing = 12.0;
    // Average distance between neighbouring points of the plan (metres), from its extent and point count.
    double typicalSpacing() const { return typicalSpacing_; }

    QPixmap basePixmap;   // base station marker, centred on the point
    QPixmap roverPixmap;  // rover point marker, centred on the point

  private:
    QList<PointMarkerItem*> roverItems_;
    QList<PointMarkerItem*> baseItems_;
    QGraphicsPathItem* lines_ = nullptr;
    double typicalSpacing_ = 0.0;
};

// The scene rectangle that shows every rover and base (not the rovers' base copies) with a margin of 2 m
// on each side; (-3, -3, 6, 6) for a job without points.
QRectF mapBounds(const QList<BaseStation>& bases, const QList<RoverPoint>& rovers);
