#pragma once

#include <QGraphicsScene>
#include <QList>
#include <QPixmap>
#include <QRectF>

#include "rawfile/JobModel.h"

class PlanLayerItem;

// The plan of a job in local grid metres: a point with north N and east E lies at scene position (E, -N),
// so east is to the right and north is up. Every point, name and line is drawn by one PlanLayerItem.
class GraphicsScene : public QGraphicsScene {
    Q_OBJECT

  public:
    explicit GraphicsScene(QObject* parent);

    // Empties the plan and draws the job: for every rover a red line from its own copy of its base to the
    // rover and its marker (fixed and unfixed solutions apart) and name, and every base station's marker and
    // name. Markers and names keep their pixel size at every zoom.
    void drawPoints(const QList<BaseStation>& bases, const QList<RoverPoint>& rovers);

    // Moves and renames the points and redraws the lines of a plan drawn from lists of the same lengths
    // (after a Calculate, or its undo), keeping the selection. Returns false, changing nothing, when the
    // plan holds other points.
    bool updatePoints(const QList<BaseStation>& bases, const QList<RoverPoint>& rovers);

    PlanLayerItem* layer() const { return layer_; }

    QPixmap basePixmap;     // base station marker, centred on the point
    QPixmap roverPixmap;    // marker of a rover with a fixed solution
    QPixmap unfixedPixmap;  // marker of a rover without a fixed solution: an orange ring

  private:
    PlanLayerItem* layer_ = nullptr;
};

// The scene rectangle that shows every rover and base (not the rovers' base copies) with a margin of 2 m
// on each side; (-3, -3, 6, 6) for a job without points.
QRectF mapBounds(const QList<BaseStation>& bases, const QList<RoverPoint>& rovers);
