#pragma once
// Which point names of the plan are drawn: names are placed one after the other, in the order given, and
// a name is drawn only where it overlaps no name already drawn and no obstacle (the markers of the points
// around it, which a name must not hide). The plan passes the bases first, then the rovers in list order,
// so a base keeps its name before any rover and the first rovers of a cluster keep theirs.
#include <QRectF>
#include <vector>

// boxes: the rectangle each name would cover, in pixels; obstacles: rectangles no name may cover. Returns
// one flag per box: true when it is drawn. No two drawn boxes overlap (boxes that only touch along an edge
// do not overlap) and none overlaps an obstacle; every box left out overlaps an obstacle or a drawn box
// that comes before it. Empty boxes are never drawn. Linear in the number of boxes and obstacles for
// names of similar size.
// The first `leading` boxes (the bases' names) only avoid each other: they may cover obstacles.
std::vector<bool> placeLabels(const std::vector<QRectF>& boxes, const std::vector<QRectF>& obstacles = {},
                              std::size_t leading = 0);
