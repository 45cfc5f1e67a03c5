#pragma once

#include <QFont>
#include <QGraphicsItem>
#include <QLineF>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QTransform>
#include <vector>

#include "rawfile/JobModel.h"

// All points of the plan in one item: the red lines from each rover to its own copy of its base, the
// markers (bases, fixed and unfixed rovers) and the names, in scene metres (a point with north N and east
// E at (E, -N)). Markers and names keep their pixel size at every zoom. A paint draws only what lies in the
// exposed part of the view, found through a uniform grid over the job, so that a job of 100 000 points pans
// and zooms as quickly as a small one; names are placed with placeLabels() so that none covers another.
class PlanLayerItem : public QGraphicsItem {
  public:
    struct Marks {
        QPixmap base;
        QPixmap fixedRover;
        QPixmap unfixedRover;
    };
    // A point of the plan: index into the job's bases or rovers.
    struct Hit {
        bool base = false;
        qsizetype index = -1;  // -1: no point
    };

    PlanLayerItem(const Marks& marks, const QFont& font);

    // Takes the job's points anew (positions, names, solutions, lines) and drops the selection.
    void setPoints(const QList<BaseStation>& bases, const QList<RoverPoint>& rovers);
    qsizetype baseCount() const { return baseCount_; }
    qsizetype roverCount() const { return static_cast<qsizetype>(points_.size()) - baseCount_; }
    // Scene position and name of base i or rover i; the line of rover i (from its base copy to it).
    QPointF basePosition(qsizetype i) const { return points_[i].at; }
    QPointF roverPosition(qsizetype i) const { return points_[baseCount_ + i].at; }
    QString roverName(qsizetype i) const { return points_[baseCount_ + i].name; }
    bool roverFixed(qsizetype i) const { return points_[baseCount_ + i].fixed; }
    QLineF roverLine(qsizetype i) const { return lines_[i]; }
    // The rectangle of every point and line end (scene metres); empty for a job without points.
    QRectF extent() const { return extent_; }

    // Highlights these bases and rovers (job rows; rows out of range are ignored).
    void setSelection(const QList<qsizetype>& bases, const QList<qsizetype>& rovers);
    bool isSelected(bool base, qsizetype index) const;
    // The scene rectangle of the selected points; empty without a selection.
    QRectF selectionExtent() const;

    // The point nearest to scenePos within radius (metres); bases win over rovers at equal distance.
    Hit pointNear(const QPointF& scenePos, double radius) const;

    // The names a view with this transformation (scene to pixels) shows in the scene rectangle exposed:
    // indices into bases then rovers (base i is i, rover j is baseCount() + j), each with its box in
    // pixels. Bases are placed first, then rovers in list order; no name covers another, and no rover's
    // name covers a marker.
    struct Label {
        qsizetype point;
        QRectF box;
    };
    std::vector<Label> labels(const QTransform& sceneToPixels, const QRectF& exposed) const;

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    // Above this many points in the exposed part only the bases' names are placed: a crowd of rover
    // names would cover each other anyway, and measuring them all would slow every repaint.
    static constexpr qsizetype kMaxNamedRovers = 20000;

  private:
    struct PlanPoint {
        QPointF at;
        QString name;
        bool base = false;
        bool fixed = true;
    };
    // Cells of a grid (columns x rows cells of size metres from extent_'s top left) that cover rect,
    // clamped to the grid, as column and row ranges; of the point grid, of the line grid.
    struct CellRange {
        int c0, c1, r0, r1;
    };
    CellRange cellsOf(const QRectF& rect, double size, int columns, int rows) const;
    CellRange cellsOf(const QRectF& rect) const { return cellsOf(rect, cellSize_, columns_, rows_); }
    CellRange lineCellsOf(const QRectF& rect) const {
        return cellsOf(rect, lineCellSize_, lineColumns_, lineRows_);
    }
    // The marker drawn for p: base, fixed or unfixed rover.
    const QPixmap& markOf(const PlanPoint& p) const {
        return p.base ? marks_.base : (p.fixed ? marks_.fixedRover : marks_.unfixedRover);
    }
    // Calls visit(cell) for each cell of the line grid that line crosses.
    template <typename Visit>
    void forLineCells(const QLineF& line, Visit visit) const;
    void buildGrid();
    // Indices of the points in rect, ascending (bases before rovers, each in list order).
    std::vector<int> pointsIn(const QRectF& rect) const;
    double nameWidth(int point) const;

    Marks marks_;
    QFont font_;
    qsizetype baseCount_ = 0;
    std::vector<PlanPoint> points_;  // bases, then rovers
    std::vector<QLineF> lines_;      // one per rover
    std::vector<char> selected_;     // parallel to points_
    QRectF extent_;
    QRectF bounds_;

    // The grids: columns_ x rows_ square cells of cellSize_ metres from extent_'s top left; the points of
    // cell k are pointItems_[pointStart_[k] .. pointStart_[k + 1]). The lines likewise, in a coarser grid.
    double cellSize_ = 1;
    int columns_ = 1, rows_ = 1;
    std::vector<int> pointStart_, pointItems_;
    double lineCellSize_ = 1;
    int lineColumns_ = 1, lineRows_ = 1;
    std::vector<int> lineStart_, lineItems_;
    mutable std::vector<float> nameWidths_;  // measured on first use; < 0: not yet
};
