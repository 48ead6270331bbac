#include "cadsim/raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace cadsim {

void setSpan(uint8_t* line, int from, int to)
{
    if (from >= to)
        return;
    const int firstByte = from >> 3;
    const int lastByte = (to - 1) >> 3;
    const auto firstMask = static_cast<uint8_t>(0xFFu >> (from & 7));
    const auto lastMask = static_cast<uint8_t>(0xFFu << (7 - ((to - 1) & 7)));
    if (firstByte == lastByte) {
        line[firstByte] |= firstMask & lastMask;
        return;
    }
    line[firstByte] |= firstMask;
    if (lastByte > firstByte + 1)
        std::memset(line + firstByte + 1, 0xFF, static_cast<size_t>(lastByte - firstByte - 1));
    line[lastByte] |= lastMask;
}

void Rasterizer::beginShape()
{
    shapeStart_ = edges_.size();
    shapeArea_ = 0;
    sorted_ = false;
}

void Rasterizer::addContour(const std::vector<Point>& points)
{
    const size_t n = points.size();
    if (n < 3)
        return;
    for (size_t i = 0; i < n; ++i) {
        const Point& a = points[i];
        const Point& b = points[(i + 1) % n];
        shapeArea_ += a.x * b.y - b.x * a.y;
        if (a.y == b.y || !std::isfinite(a.x + a.y + b.x + b.y))
            continue;  // horizontal edges cross no scanline
        Edge e = a.y < b.y ? Edge{a.y, b.y, a.x, 0, 1} : Edge{b.y, a.y, b.x, 0, -1};
        e.slope = (b.x - a.x) / (b.y - a.y);
        if (e.yBottom <= 0 || e.yTop >= height_)
            continue;  // wholly above or below the page
        edges_.push_back(e);
    }
}

void Rasterizer::endShape()
{
    if (shapeArea_ < 0)
        for (size_t i = shapeStart_; i < edges_.size(); ++i)
            edges_[i].direction = -edges_[i].direction;
    shapeStart_ = edges_.size();
    shapeArea_ = 0;
}

void Rasterizer::restart()
{
    if (!sorted_) {
        std::sort(edges_.begin(), edges_.end(), [](const Edge& a, const Edge& b) { return a.yTop < b.yTop; });
        sorted_ = true;
    }
    nextEdge_ = 0;
    nextRow_ = 0;
    active_.clear();
}

void Rasterizer::rowChanges(int row, std::vector<int>& changes)
{
    if (row == 0 || !sorted_ || row < nextRow_)
        restart();
    // Rows skipped by the caller still move the edges along.
    const double y = row + 0.5;  // pixel centres decide
    nextRow_ = row + 1;

    // Move the active edges to this row and drop those that ended; the list
    // stays nearly sorted from the row before, so insertion sort is cheap.
    size_t kept = 0;
    for (Active& a : active_) {
        if (a.edge->yBottom <= y)
            continue;
        a.x = a.edge->xAtTop + (y - a.edge->yTop) * a.edge->slope;
        active_[kept++] = a;
    }
    active_.resize(kept);
    for (size_t i = 1; i < active_.size(); ++i) {
        const Active moving = active_[i];
        size_t j = i;
        while (j > 0 && active_[j - 1].x > moving.x) {
            active_[j] = active_[j - 1];
            --j;
        }
        active_[j] = moving;
    }
    // Edges that start above this row's centre join, merged in by x.
    entering_.clear();
    while (nextEdge_ < edges_.size() && edges_[nextEdge_].yTop <= y) {
        const Edge& e = edges_[nextEdge_++];
        if (e.yBottom > y)
            entering_.push_back({e.xAtTop + (y - e.yTop) * e.slope, &e});
    }
    if (!entering_.empty()) {
        std::sort(entering_.begin(), entering_.end(),
                  [](const Active& a, const Active& b) { return a.x < b.x; });
        merged_.resize(active_.size() + entering_.size());
        std::merge(active_.begin(), active_.end(), entering_.begin(), entering_.end(), merged_.begin(),
                   [](const Active& a, const Active& b) { return a.x < b.x; });
        active_.swap(merged_);
    }

    changes.clear();
    int winding = 0;
    double start = 0;
    for (const Active& a : active_) {
        const int before = winding;
        winding += a.edge->direction;
        if (before == 0 && winding != 0) {
            start = a.x;
        } else if (before != 0 && winding == 0) {
            // Pixel p is black when its centre p + 0.5 lies in [start, x).
            const int from = static_cast<int>(std::clamp(std::ceil(start - 0.5), 0.0, double(width_)));
            const int to = static_cast<int>(std::clamp(std::ceil(a.x - 0.5), 0.0, double(width_)));
            if (from >= to)
                continue;
            if (!changes.empty() && changes.back() == from)
                changes.back() = to;  // touches the run before: one run
            else {
                changes.push_back(from);
                changes.push_back(to);
            }
        }
    }
}

void Rasterizer::fillBand(int firstRow, int rows, uint8_t* bits, size_t stride)
{
    const int last = std::min(firstRow + rows, height_);
    for (int row = std::max(firstRow, 0); row < last; ++row) {
        rowChanges(row, changes_);
        uint8_t* line = bits + static_cast<size_t>(row - firstRow) * stride;
        for (size_t i = 0; i + 1 < changes_.size(); i += 2)
            setSpan(line, changes_[i], changes_[i + 1]);
    }
}

}  // namespace cadsim
