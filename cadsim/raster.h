// Scanline filling of closed outlines, row by row from the top: each row comes
// out as the positions where its colour changes, which both the bit rows and
// the Group 4 coder use. Memory follows the width of the page and the number
// of edges, never the page's area.
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

    // The next row: ascending pixel positions where the colour flips, white
    // first (a black run [a, b) gives a and b). Rows come in order from 0;
    // asking for row 0 again starts over.
    void rowChanges(int row, std::vector<int>& changes);

    // Fills rows [firstRow, firstRow + rows) into bits (MSB first, 1 = black,
    // one row per stride bytes), which the caller has cleared.
    void fillBand(int firstRow, int rows, uint8_t* bits, size_t stride);

private:
    struct Edge {
        double yTop;  // smaller y
        double yBottom;
        double xAtTop;
        double slope;  // dx per dy
        int direction;
    };
    struct Active {
        double x;  // at the current row's centre
        const Edge* edge;
    };

    void restart();

    int width_;
    int height_;
    std::vector<Edge> edges_;
    size_t shapeStart_ = 0;
    double shapeArea_ = 0;
    bool sorted_ = false;
    size_t nextEdge_ = 0;
    int nextRow_ = 0;
    std::vector<Active> active_;
    std::vector<Active> entering_;
    std::vector<Active> merged_;
    std::vector<int> changes_;
};

// Sets the bits of pixels [from, to) in one MSB-first row.
void setSpan(uint8_t* line, int from, int to);

}  // namespace cadsim
