#include "LabelPlacement.h"

#include <QHash>
#include <QList>
#include <algorithm>
#include <cmath>

namespace {

// Drawn boxes are filed in square cells of a uniform grid; a new box is compared only with the boxes of
// the cells it covers.
struct CellGrid {
    double size;
    QHash<quint64, QList<int>> cells;

    static quint64 key(qint64 column, qint64 row) {
        return (static_cast<quint64>(static_cast<quint32>(column)) << 32) | static_cast<quint32>(row);
    }
    qint64 cellOf(double coordinate) const { return static_cast<qint64>(std::floor(coordinate / size)); }

    template <typename Visit>
    bool anyCell(const QRectF& box, Visit visit) const {
        for (qint64 c = cellOf(box.left()); c <= cellOf(box.right()); ++c)
            for (qint64 r = cellOf(box.top()); r <= cellOf(box.bottom()); ++r)
                if (visit(key(c, r))) return true;
        return false;
    }
};

}  // namespace

std::vector<bool> placeLabels(const std::vector<QRectF>& boxes, const std::vector<QRectF>& obstacles,
                              std::size_t leading) {
    std::vector<bool> drawn(boxes.size(), false);
    auto usable = [](const QRectF& box) {
        return !box.isEmpty() && std::isfinite(box.left() + box.top() + box.width() + box.height());
    };
    // Cells about as large as a typical name keep the comparisons per name few.
    double widest = 1;
    for (const QRectF& box : boxes)
        if (usable(box)) widest = std::max({widest, box.width(), box.height()});
    CellGrid grid{std::max(widest, 8.0), {}};
    std::vector<QRectF> filed;  // obstacles and drawn names, by the index the cells hold
    filed.reserve(obstacles.size() + boxes.size());
    auto file = [&](const QRectF& box) {
        const int index = static_cast<int>(filed.size());
        filed.push_back(box);
        grid.anyCell(box, [&](quint64 key) {
            grid.cells[key].append(index);
            return false;
        });
    };
    for (const QRectF& obstacle : obstacles)
        if (usable(obstacle)) file(obstacle);
    const int firstName = static_cast<int>(filed.size());

    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const QRectF& box = boxes[i];
        if (!usable(box)) continue;
        const bool covered = grid.anyCell(box, [&](quint64 key) {
            const auto cell = grid.cells.constFind(key);
            if (cell == grid.cells.cend()) return false;
            const int from = i < leading ? firstName : 0;  // leading names pass over obstacles
            return std::any_of(cell->cbegin(), cell->cend(),
                               [&](int other) { return other >= from && filed[other].intersects(box); });
        });
        if (covered) continue;
        drawn[i] = true;
        file(box);
    }
    return drawn;
}
