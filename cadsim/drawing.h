// The documents cadsim keeps open: drawings with sheets and their geometry,
// parts and assemblies (no sheets), loaded from JSON description files.
#pragma once

#include "cad/automation.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace cadsim {

// Sheet geometry in millimetres, origin at the sheet's lower-left corner.
struct Entity {
    enum class Kind { Line, Polyline, Rect, Circle, Arc, Text };
    Kind kind = Kind::Line;
    std::vector<double> values;  // the numbers of the entity, in file order
    std::string text;            // Text only
    double width = 0.35;         // line width in millimetres
};

struct Sheet {
    std::string name;
    int paperSize = 8;
    int templateCode = 8;
    std::string templatePath;
    double scaleNumerator = 1;
    double scaleDenominator = 1;
    bool firstAngle = true;
    double width = 0.42;    // metres
    double height = 0.297;  // metres
    std::vector<Entity> entities;
};

struct Drawing {
    cad::DocumentType type = cad::kDocDrawing;
    std::string title;
    std::string path;    // the file it was loaded from
    std::string folder;  // where bare file names are saved
    std::vector<Sheet> sheets;
    int activeSheet = 0;  // index into sheets; meaningless without sheets
};

// A drawing file that cannot be used; the text names the file and the place.
class DrawingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// fileName is only used for the title default and in error texts.
Drawing parseDrawing(const std::string& jsonText, const std::string& fileName);
Drawing loadDrawingFile(const std::string& path);

}  // namespace cadsim
