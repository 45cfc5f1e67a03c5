#pragma once

#include <QFont>
#include <QGraphicsItem>
#include <QPixmap>
#include <QString>

// One point of the plan: its marker image centred on the point and its name with the name's top-left
// corner at the point, both at their pixel size whatever the zoom. One item instead of a pixmap item and a
// text item keeps a plan of 100 000 points small and quick to build.
class PointMarkerItem : public QGraphicsItem {
  public:
    // pixmap and font are shared (implicitly) with the other markers of the plan.
    PointMarkerItem(const QPixmap& pixmap, const QString& name, const QFont& font);

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    const QPixmap& pixmap() const { return pixmap_; }
    const QString& name() const { return name_; }
    void setName(const QString& name);
    const QFont& font() const { return font_; }
    // The marker's rectangle, centred on the point (item coordinates, pixels).
    QRectF markerRect() const;

  private:
    void measure();

    QPixmap pixmap_;
    QString name_;
    QFont font_;
    QRectF bounds_;
};
