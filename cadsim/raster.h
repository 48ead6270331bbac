// Scanline filling of closed outlines into 1-bit rows (MSB first, 1 = black),
// band by band: a page of any size is filled with one band buffer, so memory
// follows the width of the page, never its area.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace cadsim {

struct Point {
    double x;
    double y;
};

class Rasterizer {
public:
    Rasterizer(int width, int height) : width_(width), height_(height) {}

    int width() const { return width_; }
    int height() const { return height_; }

    // A shape is one or more closed contours filled with the non-zero rule.
    // Its orientation is made positive as a whole, so shapes never cancel
    // each other where they overlap.
    void beginShape();
    void addContour(const std::vector<Point>& points);
    void endShape();

    // Fills rows [firstRow, firstRow + rows) into bits (one row per stride
    // bytes), which the caller has cleared. Bands must come in top-down order.
    void fillBand(int firstRow, int rows, uint8_t* bits, size_t stride);

    size_t edgeCount() const { return edges_.size(); }

private:
    struct Edge {
        double yTop;     // smaller y
        double yBottom;  // larger y
        double xAtTop;
        double slope;  // dx per dy
        int direction;
    };
    struct Crossing {
        double x;
        int direction;
    };

    void prepare();
    void fillRow(int row, uint8_t* line);

    int width_;
    int height_;
    std::vector<Edge> edges_;
    size_t shapeStart_ = 0;
    double shapeArea_ = 0;
    bool prepared_ = false;
    size_t nextEdge_ = 0;
    int nextRow_ = 0;
    std::vector<size_t> active_;
    std::vector<Crossing> crossings_;
};

// Sets the bits of pixels [from, to) in one MSB-first row.
void setSpan(uint8_t* line, int from, int to);

}  // namespace cadsim
