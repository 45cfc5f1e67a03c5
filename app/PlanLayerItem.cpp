#include "PlanLayerItem.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QStyleOptionGraphicsItem>
#include <algorithm>
#include <cmath>

#include "LabelPlacement.h"

namespace {

QPointF planPosition(double north, double east) { return QPointF(east, -north); }

// Markers and names reach this far (pixels) from their point: beyond the exposed rectangle by as much,
// a point still shows part of them. Names stand to the right of their marker.
constexpr double kMarkerReach = 12;
constexpr double kNameReach = 320;
constexpr double kNameGap = 3;  // between a marker's edge and its name
// At an overview one marker of a kind is drawn per square of this many pixels: more would only cover it.
constexpr int kDedupPixels = 2;
constexpr double kLineGrid = 64;      // cells across the job in the grid of lines
constexpr double kPointsPerCell = 4;  // grid density

const QColor kSelection(0, 110, 255);

bool finite(const QPointF& p) { return std::isfinite(p.x()) && std::isfinite(p.y()); }

// Cells of size metres that cover length metres, 1 to 4096. Points some 1e308 m apart (a raw file's
// numbers are read as they stand) give an infinite length: one cell then holds them all.
int cellsAcross(double length, double size) {
    const double cells = std::ceil(length / size) + 1;
    return cells >= 1 && cells <= 4096 ? static_cast<int>(cells) : (cells > 4096 ? 4096 : 1);
}

// The part of line inside box (Liang-Barsky); false when none is. The painter would clip as well, but
// only after walking every pixel of a line that runs far beyond the view, which zoomed in costs more
// than all the rest of a repaint.
bool clipLine(QLineF& line, const QRectF& box) {
    double t0 = 0, t1 = 1;
    const double dx = line.dx(), dy = line.dy();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {line.x1() - box.left(), box.right() - line.x1(), line.y1() - box.top(),
                         box.bottom() - line.y1()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;  // parallel to this edge and outside it
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const QPointF start = line.pointAt(t0), end = line.pointAt(t1);
    line = QLineF(start, end);
    return true;
}

// Lines of one pixel drawn straight into an image of the area (pixels) with Bresenham's algorithm. The
// painter's own thin lines cost some ten nanoseconds a pixel, and a view of 100 000 base lines has
// millions of them; here one costs a store.
QImage rasterLines(const std::vector<QLineF>& lines, const QRect& area, QRgb colour) {
    QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    auto* bits = reinterpret_cast<QRgb*>(image.bits());
    const qsizetype stride = image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    const int w = area.width(), h = area.height();
    const QRectF bounds = QRectF(area).adjusted(-1, -1, 1, 1);
    for (QLineF line : lines) {
        if (!finite(line.p1()) || !finite(line.p2()) || !clipLine(line, bounds))
            continue;  // the loop below walks every pixel of what is left
        int x0 = static_cast<int>(std::lround(line.x1())) - area.left();
        int y0 = static_cast<int>(std::lround(line.y1())) - area.top();
        const int x1 = static_cast<int>(std::lround(line.x2())) - area.left();
        const int y1 = static_cast<int>(std::lround(line.y2())) - area.top();
        const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
        const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
        int error = dx + dy;
        for (;;) {
            if (x0 >= 0 && y0 >= 0 && x0 < w && y0 < h) bits[y0 * stride + x0] = colour;
            if (x0 == x1 && y0 == y1) break;
            const int twice = 2 * error;
            if (twice >= dy) error += dy, x0 += sx;
            if (twice <= dx) error += dx, y0 += sy;
        }
    }
    return image;
}

}  // namespace

PlanLayerItem::PlanLayerItem(const Marks& marks, const QFont& font) : marks_(marks), font_(font) {
    setFlag(QGraphicsItem::ItemUsesExtendedStyleOption);  // paint is told which part is exposed
}

void PlanLayerItem::setPoints(const QList<BaseStation>& bases, const QList<RoverPoint>& rovers) {
    prepareGeometryChange();
    baseCount_ = bases.size();
    points_.clear();
    lines_.clear();
    points_.reserve(static_cast<std::size_t>(bases.size() + rovers.size()));
    lines_.reserve(static_cast<std::size_t>(rovers.size()));
    for (const BaseStation& b : bases) points_.push_back({planPosition(b.north, b.east), b.name, true, true});
    for (const RoverPoint& r : rovers) {
        points_.push_back({planPosition(r.north, r.east), r.name, false, hasFixedSolution(r)});
        lines_.emplace_back(planPosition(r.baseNorth, r.baseEast), planPosition(r.north, r.east));
    }
    selected_.assign(points_.size(), 0);
    nameWidths_.assign(points_.size(), -1.0f);
    buildGrid();
    update();
}

void PlanLayerItem::buildGrid() {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    bool first = true;
    auto widen = [&](const QPointF& p) {
        if (!finite(p)) return;
        if (first) {
            minX = maxX = p.x(), minY = maxY = p.y(), first = false;
            return;
        }
        minX = std::min(minX, p.x()), maxX = std::max(maxX, p.x());
        minY = std::min(minY, p.y()), maxY = std::max(maxY, p.y());
    };
    for (const PlanPoint& p : points_) widen(p.at);
    for (const QLineF& l : lines_) widen(l.p1());
    extent_ = first ? QRectF() : QRectF(QPointF(minX, minY), QPointF(maxX, maxY));
    // Markers and names lie outside the points by some pixels, at every zoom: the item claims a wide
    // margin so that the view never leaves them out.
    const double reach = std::max({extent_.width(), extent_.height(), 1000.0});
    bounds_ = first ? QRectF() : extent_.adjusted(-reach, -reach, reach, reach);

    const double area = std::max(extent_.width(), 1e-9) * std::max(extent_.height(), 1e-9);
    const double cells = std::max(1.0, static_cast<double>(points_.size()) / kPointsPerCell);
    cellSize_ = std::max({std::sqrt(area / cells), extent_.width() / 2048, extent_.height() / 2048, 1e-6});
    columns_ = cellsAcross(extent_.width(), cellSize_);
    rows_ = cellsAcross(extent_.height(), cellSize_);

    const std::size_t cellCount = static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_);
    auto cellOf = [this](const QPointF& p) {
        const CellRange r = cellsOf(QRectF(p, p));
        return static_cast<std::size_t>(r.r0) * static_cast<std::size_t>(columns_) +
               static_cast<std::size_t>(r.c0);
    };
    // Counting sort into the cells: two passes, no per-cell allocation.
    pointStart_.assign(cellCount + 1, 0);
    for (const PlanPoint& p : points_)
        if (finite(p.at)) ++pointStart_[cellOf(p.at) + 1];
    for (std::size_t k = 0; k < cellCount; ++k) pointStart_[k + 1] += pointStart_[k];
    pointItems_.assign(static_cast<std::size_t>(pointStart_[cellCount]), 0);
    std::vector<int> fill(pointStart_.begin(), pointStart_.end() - 1);
    for (std::size_t i = 0; i < points_.size(); ++i)
        if (finite(points_[i].at))
            pointItems_[static_cast<std::size_t>(fill[cellOf(points_[i].at)]++)] = static_cast<int>(i);

    // Lines run from a rover to its base, often across many point cells: they get a coarser grid of
    // their own (at most kLineGrid cells across), and each line is filed in the cells it crosses.
    const double across = std::max(extent_.width(), extent_.height());
    lineCellSize_ = std::max({cellSize_, across / kLineGrid, 1e-6});
    lineColumns_ = cellsAcross(extent_.width(), lineCellSize_);
    lineRows_ = cellsAcross(extent_.height(), lineCellSize_);
    const std::size_t lineCells =
        static_cast<std::size_t>(lineColumns_) * static_cast<std::size_t>(lineRows_);
    lineStart_.assign(lineCells + 1, 0);
    for (std::size_t i = 0; i < lines_.size(); ++i)
        forLineCells(lines_[i], [this](std::size_t k) { ++lineStart_[k + 1]; });
    for (std::size_t k = 0; k < lineCells; ++k) lineStart_[k + 1] += lineStart_[k];
    lineItems_.assign(static_cast<std::size_t>(lineStart_[lineCells]), 0);
    fill.assign(lineStart_.begin(), lineStart_.end() - 1);
    for (std::size_t i = 0; i < lines_.size(); ++i)
        forLineCells(lines_[i], [&](std::size_t k) {
            lineItems_[static_cast<std::size_t>(fill[k]++)] = static_cast<int>(i);
        });
}

template <typename Visit>
void PlanLayerItem::forLineCells(const QLineF& line, Visit visit) const {
    if (!finite(line.p1()) || !finite(line.p2())) return;
    // Row band by row band: the part of the line within the band spans a run of columns.
    const CellRange all = lineCellsOf(QRectF(line.p1(), line.p2()).normalized());
    const double dy = line.dy();
    for (int row = all.r0; row <= all.r1; ++row) {
        int c0 = all.c0, c1 = all.c1;
        if (dy != 0 && all.r0 != all.r1) {
            const double top = extent_.top() + row * lineCellSize_, bottom = top + lineCellSize_;
            const double y0 = std::max(std::min(line.y1(), line.y2()), top);
            const double y1 = std::min(std::max(line.y1(), line.y2()), bottom);
            const double xa = line.x1() + (y0 - line.y1()) / dy * line.dx();
            const double xb = line.x1() + (y1 - line.y1()) / dy * line.dx();
            const CellRange run =
                lineCellsOf(QRectF(QPointF(std::min(xa, xb), top), QPointF(std::max(xa, xb), top)));
            c0 = std::max(all.c0, run.c0 - 1);  // one column of slack against rounding
            c1 = std::min(all.c1, run.c1 + 1);
        }
        for (int c = c0; c <= c1; ++c)
            visit(static_cast<std::size_t>(row) * static_cast<std::size_t>(lineColumns_) +
                  static_cast<std::size_t>(c));
    }
}

PlanLayerItem::CellRange PlanLayerItem::cellsOf(const QRectF& rect, double size, int columns,
                                                int rows) const {
    auto clampTo = [](double v, int last) {
        if (!(v > 0)) return 0;  // also NaN
        return v >= last ? last : static_cast<int>(v);
    };
    return {clampTo((rect.left() - extent_.left()) / size, columns - 1),
            clampTo((rect.right() - extent_.left()) / size, columns - 1),
            clampTo((rect.top() - extent_.top()) / size, rows - 1),
            clampTo((rect.bottom() - extent_.top()) / size, rows - 1)};
}

std::vector<int> PlanLayerItem::pointsIn(const QRectF& rect) const {
    std::vector<int> found;
    if (points_.empty() || !rect.intersects(extent_.adjusted(-1e-9, -1e-9, 1e-9, 1e-9))) return found;
    const CellRange r = cellsOf(rect);
    for (int row = r.r0; row <= r.r1; ++row)
        for (int c = r.c0; c <= r.c1; ++c) {
            const std::size_t k = static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
                                  static_cast<std::size_t>(c);
            for (int j = pointStart_[k]; j < pointStart_[k + 1]; ++j) {
                const int i = pointItems_[static_cast<std::size_t>(j)];
                const QPointF& p = points_[static_cast<std::size_t>(i)].at;
                if (p.x() >= rect.left() && p.x() <= rect.right() && p.y() >= rect.top() &&
                    p.y() <= rect.bottom())
                    found.push_back(i);
            }
        }
    // Back into list order: sorted when few, else by marking (a large view holds most of the job).
    if (found.size() * 16 < points_.size()) {
        std::sort(found.begin(), found.end());
        return found;
    }
    std::vector<char> in(points_.size(), 0);
    for (int i : found) in[static_cast<std::size_t>(i)] = 1;
    found.clear();
    for (std::size_t i = 0; i < in.size(); ++i)
        if (in[i]) found.push_back(static_cast<int>(i));
    return found;
}

void PlanLayerItem::setSelection(const QList<qsizetype>& bases, const QList<qsizetype>& rovers) {
    std::fill(selected_.begin(), selected_.end(), 0);
    for (qsizetype b : bases)
        if (b >= 0 && b < baseCount_) selected_[static_cast<std::size_t>(b)] = 1;
    for (qsizetype r : rovers)
        if (r >= 0 && r < roverCount()) selected_[static_cast<std::size_t>(baseCount_ + r)] = 1;
    update();
}

bool PlanLayerItem::isSelected(bool base, qsizetype index) const {
    const qsizetype i = base ? index : baseCount_ + index;
    return index >= 0 && (base ? index < baseCount_ : index < roverCount()) &&
           selected_[static_cast<std::size_t>(i)];
}

QRectF PlanLayerItem::selectionExtent() const {
    QRectF box;
    for (std::size_t i = 0; i < points_.size(); ++i)
        if (selected_[i] && finite(points_[i].at))
            box = box.united(QRectF(points_[i].at, QSizeF(1e-9, 1e-9)));
    return box;
}

PlanLayerItem::Hit PlanLayerItem::pointNear(const QPointF& scenePos, double radius) const {
    Hit hit;
    double best = radius * radius;
    for (int i : pointsIn(QRectF(scenePos.x() - radius, scenePos.y() - radius, 2 * radius, 2 * radius))) {
        const QPointF d = points_[static_cast<std::size_t>(i)].at - scenePos;
        const double distance = d.x() * d.x() + d.y() * d.y();
        if (distance < best || (distance <= best && hit.index < 0)) {
            best = distance;
            hit.base = i < baseCount_;
            hit.index = hit.base ? i : i - baseCount_;
        }
    }
    return hit;
}

double PlanLayerItem::nameWidth(int point) const {
    float& width = nameWidths_[static_cast<std::size_t>(point)];
    if (width < 0)
        width = static_cast<float>(
            QFontMetricsF(font_).horizontalAdvance(points_[static_cast<std::size_t>(point)].name));
    return width;
}

std::vector<PlanLayerItem::Label> PlanLayerItem::labels(const QTransform& sceneToPixels,
                                                        const QRectF& exposed) const {
    std::vector<Label> candidates;
    const double scale = std::abs(sceneToPixels.m11());
    if (!(scale > 0)) return candidates;
    const QRectF reach = exposed.adjusted(-kNameReach / scale, -kMarkerReach / scale, kMarkerReach / scale,
                                          kMarkerReach / scale);
    // Counted cell by cell first: a crowd of rovers is not even listed.
    const CellRange cells = cellsOf(reach);
    qsizetype nearby = 0;
    for (int row = cells.r0; row <= cells.r1; ++row)
        nearby += pointStart_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
                              static_cast<std::size_t>(cells.c1) + 1] -
                  pointStart_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
                              static_cast<std::size_t>(cells.c0)];
    std::vector<int> shown;
    if (nearby > kMaxNamedRovers + baseCount_) {
        for (int i = 0; i < baseCount_; ++i)
            if (reach.contains(points_[static_cast<std::size_t>(i)].at)) shown.push_back(i);
    } else {
        shown = pointsIn(reach);
    }
    const qsizetype rovers =
        std::count_if(shown.begin(), shown.end(), [this](int i) { return i >= baseCount_; });
    const double height = QFontMetricsF(font_).height();
    for (int i : shown) {  // ascending: bases first, then rovers in list order
        const bool base = i < baseCount_;
        if (!base && rovers > kMaxNamedRovers) break;
        const PlanPoint& p = points_[static_cast<std::size_t>(i)];
        if (p.name.isEmpty()) continue;
        const QPixmap& mark = markOf(p);
        const QPointF at = sceneToPixels.map(p.at);
        candidates.push_back(
            {i, QRectF(at.x() + mark.width() / 2.0 + kNameGap, at.y() - height / 2, nameWidth(i), height)});
    }
    // Names that would merely touch are kept apart by a few pixels as well.
    std::vector<QRectF> boxes;
    boxes.reserve(candidates.size());
    for (const Label& label : candidates) boxes.push_back(label.box.adjusted(-kNameGap, 0, kNameGap, 0));
    // The markers around are obstacles, so that a rover's name never hides a point (not at an overview,
    // where only the bases are named over a crowd of rovers). A base's name is always drawn.
    std::vector<QRectF> markers;
    if (rovers <= kMaxNamedRovers) {
        markers.reserve(shown.size());
        for (int i : shown) {
            const PlanPoint& p = points_[static_cast<std::size_t>(i)];
            const QPixmap& mark = markOf(p);
            const QPointF at = sceneToPixels.map(p.at);
            markers.emplace_back(at.x() - mark.width() / 2.0 + 1, at.y() - mark.height() / 2.0 + 1,
                                 mark.width() - 2, mark.height() - 2);
        }
    }
    const auto bases = static_cast<std::size_t>(
        std::count_if(candidates.begin(), candidates.end(),
                      [this](const Label& label) { return label.point < baseCount_; }));
    const std::vector<bool> drawn = placeLabels(boxes, markers, bases);
    std::vector<Label> result;
    for (std::size_t k = 0; k < candidates.size(); ++k)
        if (drawn[k]) result.push_back(candidates[k]);
    return result;
}

QRectF PlanLayerItem::boundingRect() const { return bounds_; }

void PlanLayerItem::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget*) {
    if (points_.empty()) return;
    const QTransform toPixels = painter->worldTransform();
    const double scale = std::abs(toPixels.m11());
    if (!(scale > 0)) return;
    const QRectF exposed = option->exposedRect;

    // Lines of the cells in view, each once, in one call.
    std::vector<QLineF> lines;
    {
        std::vector<char> taken(lines_.size(), 0);
        const double slack = 2 / scale;  // pixels, so that clipped ends stay out of sight
        const QRectF clip = exposed.adjusted(-slack, -slack, slack, slack);
        const CellRange r = lineCellsOf(exposed);
        // Most of the grid in view: walking its cells would visit each line many times.
        const double cellsInView = double(r.c1 - r.c0 + 1) * double(r.r1 - r.r0 + 1);
        const bool mostInView = cellsInView * 2 > double(lineColumns_) * double(lineRows_);
        if (clip.contains(extent_)) {  // the whole job in view: every line, none to clip
            lines.reserve(lines_.size());
            for (const QLineF& line : lines_) lines.push_back(toPixels.map(line));
        } else if (mostInView) {
            for (QLineF line : lines_)
                if (clipLine(line, clip)) lines.push_back(toPixels.map(line));
        } else if (exposed.intersects(
                       extent_.adjusted(-lineCellSize_, -lineCellSize_, lineCellSize_, lineCellSize_)))
            for (int row = r.r0; row <= r.r1; ++row)
                for (int c = r.c0; c <= r.c1; ++c) {
                    const std::size_t k =
                        static_cast<std::size_t>(row) * static_cast<std::size_t>(lineColumns_) +
                        static_cast<std::size_t>(c);
                    for (int j = lineStart_[k]; j < lineStart_[k + 1]; ++j) {
                        const auto i = static_cast<std::size_t>(lineItems_[static_cast<std::size_t>(j)]);
                        if (taken[i]) continue;
                        taken[i] = 1;
                        QLineF line = lines_[i];
                        if (clipLine(line, clip)) lines.push_back(toPixels.map(line));
                    }
                }
    }
    // Lines under everything else, in pixels (clipped to the view above, so no end lies far outside).
    // Never larger than the device: the scene may be rendered whole, far beyond any screen.
    const QRect surface(0, 0, painter->device()->width(), painter->device()->height());
    const QRect area = toPixels.mapRect(exposed).toAlignedRect().adjusted(-2, -2, 2, 2).intersected(surface);
    if (!lines.empty() && !area.isEmpty()) {
        painter->save();
        painter->resetTransform();
        painter->drawImage(area.topLeft(), rasterLines(lines, area, qRgba(255, 0, 0, 255)));
        painter->restore();
    }

    // Markers in pixels: rovers, then bases on top; at an overview a marker of a kind covers the others of
    // its two-pixel square.
    const QRectF reach = exposed.adjusted(-kMarkerReach / scale, -kMarkerReach / scale, kMarkerReach / scale,
                                          kMarkerReach / scale);
    const std::vector<int> shown = pointsIn(reach);
    painter->save();
    painter->resetTransform();
    const QRect device =
        toPixels.mapRect(reach).toAlignedRect().intersected(surface.adjusted(-16, -16, 16, 16));
    const int width = std::max(1, device.width() / kDedupPixels + 1),
              height = std::max(1, device.height() / kDedupPixels + 1);
    std::vector<unsigned char> used(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    auto drawMark = [&](int i) {
        const PlanPoint& p = points_[static_cast<std::size_t>(i)];
        const QPointF at = toPixels.map(p.at);
        const unsigned char kind = p.base ? 1 : (p.fixed ? 2 : 4);
        const long x = (std::lround(at.x()) - device.left()) / kDedupPixels,
                   y = (std::lround(at.y()) - device.top()) / kDedupPixels;
        if (x >= 0 && y >= 0 && x < width && y < height) {
            unsigned char& seen = used[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                       static_cast<std::size_t>(x)];
            if ((seen & kind) && !selected_[static_cast<std::size_t>(i)]) return;
            seen |= kind;
        }
        const QPixmap& mark = markOf(p);
        // Whole pixels: a marker between pixels would be smeared grey.
        painter->drawPixmap(
            QPointF(std::round(at.x() - mark.width() / 2.0), std::round(at.y() - mark.height() / 2.0)), mark);
    };
    for (int i : shown)
        if (i >= baseCount_) drawMark(i);
    for (int i : shown)
        if (i < baseCount_) drawMark(i);

    // Names over the markers (a rover's name is placed clear of them; a base's name stands above any
    // crowd), on a light ground, so that lines under them do not cross the letters.
    painter->setFont(font_);
    for (const Label& label : labels(toPixels, exposed)) {
        const bool chosen = selected_[static_cast<std::size_t>(label.point)];
        painter->fillRect(label.box, chosen ? QColor(215, 232, 255, 230) : QColor(255, 255, 255, 215));
        painter->setPen(chosen ? kSelection.darker(140) : QColor(Qt::black));
        painter->drawText(label.box, Qt::AlignLeft | Qt::AlignVCenter,
                          points_[static_cast<std::size_t>(label.point)].name);
    }
    // Selected points: a blue ring around the marker.
    QPen ring(kSelection, 2.5);
    painter->setPen(ring);
    painter->setBrush(Qt::NoBrush);
    for (int i : shown)
        if (selected_[static_cast<std::size_t>(i)]) {
            const QPointF at = toPixels.map(points_[static_cast<std::size_t>(i)].at);
            const double radius = i < baseCount_ ? 13 : 10;
            painter->drawEllipse(at, radius, radius);
        }

    painter->restore();
}
