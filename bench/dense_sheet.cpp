#include "bench/dense_sheet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <sstream>

namespace bench {

DenseSheet makeDenseSheet(unsigned seed)
{
    DenseSheet s;
    std::mt19937 random(seed);
    // Own mapping from the generator's words, so every library gives the same sheet.
    auto uniform = [&](double lo, double hi) { return lo + (hi - lo) * (random() / 4294967296.0); };

    auto rect = [&](double x, double y, double w, double h) {
        s.lines.push_back({x, y, x + w, y});
        s.lines.push_back({x + w, y, x + w, y + h});
        s.lines.push_back({x + w, y + h, x, y + h});
        s.lines.push_back({x, y + h, x, y});
    };
    rect(20, 10, s.width - 30, s.height - 20);
    const double tx = s.width - 10 - 180, ty = 10;
    rect(tx, ty, 180, 80);
    for (int row = 1; row < 10; ++row)
        s.lines.push_back({tx, ty + row * 8, tx + 180, ty + row * 8});
    s.lines.push_back({tx + 60, ty, tx + 60, ty + 80});
    s.lines.push_back({tx + 120, ty, tx + 120, ty + 80});
    for (int i = 0; i < 40; ++i) {
        const int row = i / 4, column = i % 4;
        s.texts.push_back(
            {tx + 2 + column * 45, ty + 2 + row * 8, 3.5, "Feld " + std::to_string(i + 1) + " Wert"});
    }
    while (s.lines.size() < 2000) {
        const double x = uniform(25, s.width - 15), y = uniform(15, s.height - 15);
        const double length = uniform(5, 250), angle = uniform(0, 6.283185307179586);
        double x2 = x + length * std::cos(angle), y2 = y + length * std::sin(angle);
        x2 = std::clamp(x2, 25.0, s.width - 15);
        y2 = std::clamp(y2, 15.0, s.height - 15);
        s.lines.push_back({x, y, x2, y2});
    }
    for (int i = 0; i < 300; ++i) {
        const double r = uniform(2, 60);
        s.circles.push_back({uniform(25 + r, s.width - 15 - r), uniform(15 + r, s.height - 15 - r), r});
    }
    return s;
}

std::string drawingJson(const DenseSheet& s)
{
    std::ostringstream out;
    out.precision(10);
    out << R"({"type": "drawing", "title": "Dicht", "sheets": [{"name": "A0", "paperSize": 11, "template": 11,)"
        << R"( "templatePath": "", "scale": [1, 1], "firstAngle": true, "entities": [)";
    const char* separator = "";
    for (const auto& l : s.lines) {
        out << separator << R"({"line": [)" << l.x1 << ", " << l.y1 << ", " << l.x2 << ", " << l.y2 << "]}";
        separator = ", ";
    }
    for (const auto& c : s.circles)
        out << separator << R"({"circle": [)" << c.cx << ", " << c.cy << ", " << c.r << "]}";
    for (const auto& t : s.texts)
        out << separator << R"({"text": [)" << t.x << ", " << t.y << ", " << t.height << ", \"" << t.text
            << "\"]}";
    out << "]}]}\n";
    return out.str();
}

std::string postScript(const DenseSheet& s)
{
    std::ostringstream out;
    out.precision(10);
    const double pt = 72 / 25.4;
    out << "%!PS-Adobe-3.0\n"
        << "<< /PageSize [" << s.width * pt << " " << s.height * pt << "] >> setpagedevice\n"
        << pt << " " << pt << " scale\n"  // millimetres from here on
        << s.lineWidth << " setlinewidth 2 setlinecap 0 setgray\n"
        << "/L { newpath moveto lineto stroke } bind def\n"
        << "/C { newpath 0 360 arc closepath stroke } bind def\n"
        << "/T { moveto show } bind def\n";
    for (const auto& l : s.lines)
        out << l.x2 << " " << l.y2 << " " << l.x1 << " " << l.y1 << " L\n";
    for (const auto& c : s.circles)
        out << c.cx << " " << c.cy << " " << c.r << " C\n";
    out << "/Helvetica findfont 3.5 scalefont setfont\n";
    for (const auto& t : s.texts)
        out << "(" << t.text << ") " << t.x << " " << t.y << " T\n";
    out << "showpage\n";
    return out.str();
}

}  // namespace bench
