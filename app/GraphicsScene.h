#pragma once

#include <QGraphicsScene>
#include <QList>
#include <QPixmap>
#include <QRectF>

#include "rawfile/JobModel.h"

// The plan of a job in local grid metres: a point with north N and east E lies at scene position (E, -N),
// so east is to the right and north is up.
class GraphicsScene : public QGraphicsScene {
    Q_OBJECT

  public:
    explicit GraphicsScene(QObject* parent);

    // Adds, for every rover, a red line from its own copy of its base to the rover, its marker and its name,
    // then a marker and a name for every base station. Markers and names keep their pixel size at every
    // zoom. Does not clear the scene.
    void drawPoints(const QList<BaseStation>& bases, const QList<RoverPoint>& rovers);

    QPixmap basePixmap;   // base station marker, centred on the point
    QPixmap roverPixmap;  // rover point marker, centred on the point
};

// The scene rectangle that shows every rover and base (not the rovers' base copies) with a margin of 2 m
// on each side; (-3, -3, 6, 6) for a job without points.
QRectF mapBounds(const QList<BaseStation>& bases, const QList<RoverPoint>& rovers);
