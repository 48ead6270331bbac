// A dense A0 landscape sheet from a fixed seed: frame, title block with 40
// texts, 2000 lines and 300 circles, written both as a cadsim drawing file and
// as PostScript of the same geometry.
#pragma once

#include <string>
#include <vector>

namespace bench {

struct DenseSheet {
    struct Line {
        double x1, y1, x2, y2;
    };
    struct Circle {
        double cx, cy, r;
    };
    struct Text {
        double x, y, height;
        std::string text;
    };
    double width = 1189;  // millimetres
    double height = 841;
    double lineWidth = 0.35;
    std::vector<Line> lines;  // frame and title block included
    std::vector<Circle> circles;
    std::vector<Text> texts;
};

DenseSheet makeDenseSheet(unsigned seed = 20240611);
std::string drawingJson(const DenseSheet& sheet);
std::string postScript(const DenseSheet& sheet);

}  // namespace bench
