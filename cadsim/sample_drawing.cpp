#include "cadsim/sample_drawing.h"

#include "cadsim/file_io.h"

#include <nlohmann/json.hpp>

#include <QDir>
#include <QStandardPaths>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace cadsim {

namespace {

using nlohmann::json;

constexpr double kThin = 0.18;
constexpr double kThick = 0.5;

struct SheetBuilder {
    json entities = json::array();

    void line(double x1, double y1, double x2, double y2, double w = 0.35)
    {
        entities.push_back({{"line", {x1, y1, x2, y2}}, {"w", w}});
    }
    void rect(double x, double y, double w, double h, double width = kThick)
    {
        entities.push_back({{"rect", {x, y, w, h}}, {"w", width}});
    }
    void circle(double cx, double cy, double r, double w = kThick)
    {
        entities.push_back({{"circle", {cx, cy, r}}, {"w", w}});
    }
    void arc(double cx, double cy, double r, double start, double sweep, double w = kThick)
    {
        entities.push_back({{"arc", {cx, cy, r, start, sweep}}, {"w", w}});
    }
    void text(double x, double y, double h, const std::string& s, double w = 0.25)
    {
        entities.push_back({{"text", {x, y, h, s}}, {"w", w}});
    }
    // Centre lines as short dashes with gaps, as a plotter draws them.
    void centreLine(double x1, double y1, double x2, double y2)
    {
        const double length = std::hypot(x2 - x1, y2 - y1);
        const double ux = (x2 - x1) / length, uy = (y2 - y1) / length;
        for (double s = 0; s < length; s += 16) {
            const double e = std::min(s + 10, length);
            line(x1 + ux * s, y1 + uy * s, x1 + ux * e, y1 + uy * e, kThin);
            if (e + 4 < length)
                line(x1 + ux * (e + 2), y1 + uy * (e + 2), x1 + ux * (e + 3), y1 + uy * (e + 3), kThin);
        }
    }
    // A horizontal or vertical dimension: extension lines, dimension line with
    // arrow strokes and its value.
    void dimension(double x1, double y1, double x2, double y2, double offset, const std::string& value)
    {
        const bool horizontal = std::abs(y2 - y1) < std::abs(x2 - x1);
        if (horizontal) {
            const double y = std::max(y1, y2) + offset;
            line(x1, y1 + 1, x1, y + 2, kThin);
            line(x2, y2 + 1, x2, y + 2, kThin);
            line(x1, y, x2, y, kThin);
            for (double x : {x1, x2}) {
                const double d = x == x1 ? 3 : -3;
                line(x, y, x + d, y + 1, kThin);
                line(x, y, x + d, y - 1, kThin);
            }
            text((x1 + x2) / 2 - value.size() * 1.2, y + 1, 3.5, value);
        } else {
            const double x = std::max(x1, x2) + offset;
            line(x1 + 1, y1, x + 2, y1, kThin);
            line(x2 + 1, y2, x + 2, y2, kThin);
            line(x, y1, x, y2, kThin);
            for (double y : {y1, y2}) {
                const double d = y == y1 ? 3 : -3;
                line(x, y, x + 1, y + d, kThin);
                line(x, y, x - 1, y + d, kThin);
            }
            text(x + 1.5, (y1 + y2) / 2, 3.5, value);
        }
    }
    // Frame 10 mm in (20 mm filing margin on the left) and the title block
    // in the lower right corner.
    void frameAndTitleBlock(double w, double h, const std::string& sheetName, const std::string& scale,
                            const std::string& format, const std::string& projection)
    {
        rect(20, 10, w - 30, h - 20, 0.7);
        const double x = w - 10 - 180, y = 10;
        rect(x, y, 180, 36, kThick);
        line(x, y + 12, x + 180, y + 12, kThin);
        line(x, y + 24, x + 180, y + 24, kThin);
        line(x + 60, y, x + 60, y + 36, kThin);
        line(x + 120, y, x + 120, y + 24, kThin);
        text(x + 2, y + 28.5, 3, "KUP Maschinenbau");
        text(x + 62, y + 27.5, 4.5, "Flansch DN50 PN16");
        text(x + 2, y + 16.5, 3, "Gezeichnet: M. Keller");
        text(x + 62, y + 16.5, 3, "Werkstoff: S235JR");
        text(x + 122, y + 16.5, 3, "Maßstab " + scale);
        text(x + 2, y + 4.5, 3, "Zeichnungsnr. 4711-020");
        text(x + 62, y + 4.5, 3, format + ", " + projection);
        text(x + 122, y + 4.5, 3, sheetName);
    }
};

// Front view of the flange: outer rim, hub, bore and the bolt circle.
void flangeFront(SheetBuilder& b, double cx, double cy, double k)
{
    b.circle(cx, cy, 82.5 * k);
    b.circle(cx, cy, 45 * k);
    b.circle(cx, cy, 27.5 * k);
    for (int i = 0; i < 4; ++i) {
        const double a = (45 + 90 * i) * 3.14159265358979 / 180;
        b.circle(cx + 62.5 * k * std::cos(a), cy + 62.5 * k * std::sin(a), 9 * k);
    }
    b.arc(cx, cy, 62.5 * k, 0, 360, kThin);
    b.centreLine(cx - 95 * k, cy, cx + 95 * k, cy);
    b.centreLine(cx, cy - 95 * k, cx, cy + 95 * k);
}

// Side view in section: plate and hub, hatch lines between.
void flangeSide(SheetBuilder& b, double x, double cy, double k)
{
    b.rect(x, cy - 82.5 * k, 18 * k, 165 * k);
    b.rect(x + 18 * k, cy - 45 * k, 27 * k, 90 * k);
    b.line(x, cy + 27.5 * k, x + 45 * k, cy + 27.5 * k, kThin);
    b.line(x, cy - 27.5 * k, x + 45 * k, cy - 27.5 * k, kThin);
    for (double t = 0; t < 55 * k; t += 4)
        b.line(x, cy + 27.5 * k + t, x + std::min(18 * k, 55 * k - t),
               cy + 27.5 * k + t + std::min(18 * k, 55 * k - t), kThin);
    b.centreLine(x - 8, cy, x + 55 * k, cy);
}

json sheetJson(const std::string& name, int paper, int templ, double num, double den, bool firstAngle,
               const SheetBuilder& b)
{
    return {{"name", name},
            {"paperSize", paper},
            {"template", templ},
            {"templatePath", templ == 13 ? "" : "C:\\Vorlagen\\kup_" + std::to_string(paper) + ".drt"},
            {"scale", {num, den}},
            {"firstAngle", firstAngle},
            {"entities", b.entities}};
}

}  // namespace

std::string sampleDrawingJson()
{
    SheetBuilder a3;  // A3 landscape, 1:2, first angle
    a3.frameAndTitleBlock(420, 297, "Blatt 1 von 3", "1:2", "A3", "Projektion 1");
    flangeFront(a3, 130, 170, 0.5);
    flangeSide(a3, 230, 170, 0.5);
    a3.dimension(130 - 41.25, 170 - 60, 130 + 41.25, 170 - 60, -5, "Ø165");
    a3.dimension(230, 170 + 41.25, 239, 170 + 41.25, 6, "18");
    a3.text(30, 270, 5, "Ansicht A");
    a3.text(225, 270, 5, "Schnitt B-B");

    SheetBuilder a4;  // A4 portrait, 1:1, third angle, no template
    a4.frameAndTitleBlock(210, 297, "Blatt 2 von 3", "1:1", "A4", "Projektion 3");
    a4.circle(105, 190, 45);
    a4.circle(105, 190, 9);
    a4.centreLine(50, 190, 160, 190);
    a4.centreLine(105, 135, 105, 245);
    a4.dimension(96, 150, 114, 150, -6, "Ø18 H7");
    a4.text(30, 270, 5, "Einzelheit C (Bohrung)");

    SheetBuilder a2;  // A2 landscape, 1:5, first angle
    a2.frameAndTitleBlock(594, 420, "Blatt 3 von 3", "1:5", "A2", "Projektion 1");
    for (int i = 0; i < 3; ++i) {
        flangeFront(a2, 110 + i * 120, 300, 0.4);
        a2.text(85 + i * 120, 250, 5, "Pos. " + std::to_string(i + 1));
    }
    a2.rect(60, 80, 300, 120, 0.5);
    for (int r = 1; r < 6; ++r)
        a2.line(60, 80 + r * 20, 360, 80 + r * 20, kThin);
    const char* rows[] = {"Pos.  Menge  Benennung",      "1      4    Flansch DN50",
                          "2     16    Schraube M16x60", "3     16    Mutter M16",
                          "4      4    Dichtung DN50",   "5      1    Rohr 60,3x2,9"};
    for (int r = 0; r < 6; ++r)
        a2.text(64, 185 - r * 20, 5, rows[r]);

    json root = {{"type", "drawing"},
                 {"title", "Flansch"},
                 {"activeSheet", "Blatt1"},
                 {"sheets",
                  {sheetJson("Blatt1", 8, 8, 1, 2, true, a3), sheetJson("Blatt2", 7, 13, 1, 1, false, a4),
                   sheetJson("Blatt3", 9, 9, 1, 5, true, a2)}}};
    return root.dump(1);
}

std::string ensureSampleDrawing(const std::string& folder, std::string& error)
{
    namespace fs = std::filesystem;
    const fs::path path = file_io::pathFromUtf8(folder) / "Flansch.json";
    std::error_code ec;
    if (fs::exists(path, ec))
        return file_io::utf8FromPath(path);
    fs::create_directories(path.parent_path(), ec);
    std::ofstream out(path);
    out << sampleDrawingJson() << '\n';
    if (!out) {
        error = "Beispielzeichnung nicht anzulegen: " + file_io::utf8FromPath(path);
        return {};
    }
    return file_io::utf8FromPath(path);
}

std::string defaultSampleFolder()
{
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        documents = QDir::homePath() + QStringLiteral("/Documents");
    return (documents + QStringLiteral("/cadsim")).toStdString();
}

}  // namespace cadsim
