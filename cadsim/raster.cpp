#include "cadsim/raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace cadsim {

void setSpan(uint8_t* line, int from, int to)
{
    if (from >= to)
        return;
    int firstByte = from >> 3;
    int lastByte = (to - 1) >> 3;
    uint8_t firstMask = static_cast<uint8_t>(0xFFu >> (from & 7));
    uint8_t lastMask = static_cast<uint8_t>(0xFFu << (7 - ((to - 1) & 7)));
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
    prepared_ = false;
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
        if (a.y == b.y || !std::isfinite(a.y + b.y + a.x + b.x))
            continue;  // horizontal edges cross no scanline
        Edge e;
        if (a.y < b.y)
            e = {a.y, b.y, a.x, 0, 1};
        else
            e = {b.y, a.y, b.x, 0, -1};
        e.slope = (b.x - a.x) / (b.y - a.y);
        // Edges wholly above or below the page never matter.
        if (e.yBottom <= 0 || e.yTop >= height_)
            continue;
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

void Rasterizer::prepare()
{
    std::sort(edges_.begin(), edges_.end(),
              [](const Edge& a, const Edge& b) { return a.yTop < b.yTop; });
    nextEdge_ = 0;
    nextRow_ = 0;
    active_.clear();
    prepared_ = true;
}

void Rasterizer::fillBand(int firstRow, int rows, uint8_t* bits, size_t stride)
{
    if (!prepared_ || firstRow < nextRow_)
        prepare();
    const int last = std::min(firstRow + rows, height_);
    nextRow_ = last;
    for (int row = std::max(firstRow, 0); row < last; ++row)
        fillRow(row, bits + static_cast<size_t>(row - firstRow) * stride);
}

void Rasterizer::fillRow(int row, uint8_t* line)
{
    // Pixel centres decide: a pixel is black when its centre lies inside.
    const double y = row + 0.5;
    while (nextEdge_ < edges_.size() && edges_[nextEdge_].yTop <= y) {
        active_.push_back(nextEdge_);
        ++nextEdge_;
    }
    crossings_.clear();
    size_t kept = 0;
    for (size_t index : active_) {
        const Edge& e = edges_[index];
        if (e.yBottom <= y)
            continue;  // done with this edge for good
        active_[kept++] = index;
        if (e.yTop <= y)
            crossings_.push_back({e.xAtTop + (y - e.yTop) * e.slope, e.direction});
    }
    active_.resize(kept);
    if (crossings_.empty())
        return;
    std::sort(crossings_.begin(), crossings_.end(),
              [](const Crossing& a, const Crossing& b) { return a.x < b.x; });

    int winding = 0;
    double spanStart = 0;
    for (const Crossing& c : crossings_) {
        const int before = winding;
        winding += c.direction;
        if (before == 0 && winding != 0) {
            spanStart = c.x;
        } else if (before != 0 && winding == 0) {
            double from = std::ceil(spanStart - 0.5);
            double to = std::ceil(c.x - 0.5);
            from = std::clamp(from, 0.0, static_cast<double>(width_));
            to = std::clamp(to, 0.0, static_cast<double>(width_));
            setSpan(line, static_cast<int>(from), static_cast<int>(to));
        }
    }
}

}  // namespace cadsim
