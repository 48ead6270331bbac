#include "cadsim/sheet_shapes.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace cadsim {

namespace {

constexpr double kFlatness = 0.25;  // largest gap between a curve and its chords, in pixels

class Stroker {
public:
    Stroker(Rasterizer& raster, const PageLayout& page) : raster_(raster), page_(page) {}

    // Device width of a line: never under one pixel.
    void setWidth(double millimetres) { half_ = std::max(millimetres * page_.scale, 1.0) / 2; }

    // A straight stroke with square ends, so the corners of frames close.
    void segment(double x1, double y1, double x2, double y2)
    {
        Point a{page_.x(x1), page_.y(y1)};
        Point b{page_.x(x2), page_.y(y2)};
        double dx = b.x - a.x;
        double dy = b.y - a.y;
        double length = std::hypot(dx, dy);
        if (length < 1e-9) {
            dx = 1;
            dy = 0;
        } else {
            dx /= length;
            dy /= length;
        }
        const double ex = dx * half_, ey = dy * half_;  // along
        const double nx = -ey, ny = ex;                 // across
        shape({{a.x - ex + nx, a.y - ey + ny},
               {b.x + ex + nx, b.y + ey + ny},
               {b.x + ex - nx, b.y + ey - ny},
               {a.x - ex - nx, a.y - ey - ny}});
    }

    void circle(double cx, double cy, double r)
    {
        const Point c{page_.x(cx), page_.y(cy)};
        const double radius = r * page_.scale;
        const double outer = radius + half_;
        const double inner = radius - half_;
        const int n = steps(outer, 2 * std::numbers::pi);
        raster_.beginShape();
        raster_.addContour(ring(c, outer, 0, 2 * std::numbers::pi, n));
        if (inner > 0) {
            std::vector<Point> hole = ring(c, inner, 0, 2 * std::numbers::pi, n);
            std::reverse(hole.begin(), hole.end());
            raster_.addContour(hole);
        }
        raster_.endShape();
    }

    // Angles counter-clockwise on the sheet, in degrees.
    void arc(double cx, double cy, double r, double startDegrees, double sweepDegrees)
    {
        sweepDegrees = std::clamp(sweepDegrees, -360.0, 360.0);
        if (std::abs(sweepDegrees) >= 360) {
            circle(cx, cy, r);
            return;
        }
        const Point c{page_.x(cx), page_.y(cy)};
        const double radius = r * page_.scale;
        // The page's y runs down, so sheet angles turn the other way round.
        const double start = -startDegrees * std::numbers::pi / 180;
        const double sweep = -sweepDegrees * std::numbers::pi / 180;
        const double outer = radius + half_;
        const double inner = std::max(radius - half_, 0.0);
        const int n = steps(outer, std::abs(sweep));
        std::vector<Point> outline = ring(c, outer, start, sweep, n, Span::Arc);
        std::vector<Point> back = ring(c, inner, start, sweep, n, Span::Arc);
        outline.insert(outline.end(), back.rbegin(), back.rend());
        shape(outline);
    }

    void text(double x, double y, double height, const std::string& text)
    {
        static const QFont font = [] {
            QFont f(QStringLiteral("DejaVu Sans"));
            f.setStyleHint(QFont::SansSerif);
            f.setPixelSize(100);
            return f;
        }();
        static const double capHeight = [] {
            double h = QFontMetricsF(font).capHeight();
            return h > 0 ? h : 72.0;
        }();
        QPainterPath path;
        path.addText(0, 0, font, QString::fromStdString(text));
        const double k = height / capHeight * page_.scale;
        const QTransform toPage(k, 0, 0, k, page_.x(x), page_.y(y));
        raster_.beginShape();
        for (const QPolygonF& polygon : path.toSubpathPolygons(toPage)) {
            std::vector<Point> contour;
            contour.reserve(polygon.size());
            for (const QPointF& p : polygon)
                contour.push_back({p.x(), p.y()});
            raster_.addContour(contour);
        }
        raster_.endShape();
    }

private:
    void shape(const std::vector<Point>& contour)
    {
        raster_.beginShape();
        raster_.addContour(contour);
        raster_.endShape();
    }

    static int steps(double radius, double angle)
    {
        double step = 2 * std::acos(std::max(1 - kFlatness / std::max(radius, kFlatness), -1.0));
        if (!(step > 1e-6))
            step = 1e-6;
        return std::clamp(static_cast<int>(std::ceil(angle / step)), 8, 8192);
    }

    // A circle's n points end before its start; an arc's n steps end on its end point.
    enum class Span { Circle, Arc };

    static std::vector<Point> ring(Point c, double radius, double start, double sweep, int n,
                                   Span span = Span::Circle)
    {
        std::vector<Point> points;
        const int count = span == Span::Arc ? n + 1 : n;
        points.reserve(count);
        for (int i = 0; i < count; ++i) {
            const double a = start + sweep * i / n;
            points.push_back({c.x + radius * std::cos(a), c.y + radius * std::sin(a)});
        }
        return points;
    }

    Rasterizer& raster_;
    const PageLayout& page_;
    double half_ = 0.5;
};

}  // namespace

void addSheetShapes(Rasterizer& raster, const Sheet& sheet, const PageLayout& page)
{
    Stroker stroke(raster, page);
    for (const Entity& e : sheet.entities) {
        const std::vector<double>& v = e.values;
        stroke.setWidth(e.width);
        switch (e.kind) {
        case Entity::Kind::Line:
            stroke.segment(v[0], v[1], v[2], v[3]);
            break;
        case Entity::Kind::Polyline:
            for (size_t i = 0; i + 3 < v.size(); i += 2)
                stroke.segment(v[i], v[i + 1], v[i + 2], v[i + 3]);
            break;
        case Entity::Kind::Rect:
            stroke.segment(v[0], v[1], v[0] + v[2], v[1]);
            stroke.segment(v[0] + v[2], v[1], v[0] + v[2], v[1] + v[3]);
            stroke.segment(v[0] + v[2], v[1] + v[3], v[0], v[1] + v[3]);
            stroke.segment(v[0], v[1] + v[3], v[0], v[1]);
            break;
        case Entity::Kind::Circle:
            stroke.circle(v[0], v[1], v[2]);
            break;
        case Entity::Kind::Arc:
            stroke.arc(v[0], v[1], v[2], v[3], v[4]);
            break;
        case Entity::Kind::Text:
            stroke.text(v[0], v[1], v[2], e.text);
            break;
        }
    }
}

}  // namespace cadsim
