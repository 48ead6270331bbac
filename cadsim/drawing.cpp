#include "cadsim/drawing.h"

#include "cad/size_tables.h"
#include "cadsim/file_io.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace cadsim {

namespace {

using nlohmann::json;

// Walks the document and remembers where it is, so every complaint can say
// "sheets[1].entities[4].circle".
class Reader {
public:
    explicit Reader(std::string file) : file_(std::move(file)) {}

    [[noreturn]] void fail(const std::string& where, const std::string& what) const
    {
        throw DrawingError(file_ + ": " + (where.empty() ? "" : where + ": ") + what);
    }

    const json& member(const json& object, const std::string& where, const char* key) const
    {
        auto it = object.find(key);
        if (it == object.end())
            fail(where, std::string("Feld \"") + key + "\" fehlt");
        return *it;
    }

    std::string string(const json& value, const std::string& where) const
    {
        if (!value.is_string())
            fail(where, "Text erwartet");
        return value.get<std::string>();
    }

    double number(const json& value, const std::string& where) const
    {
        if (!value.is_number())
            fail(where, "Zahl erwartet");
        double number = value.get<double>();
        if (!std::isfinite(number))
            fail(where, "endliche Zahl erwartet");
        return number;
    }

    double positive(const json& value, const std::string& where) const
    {
        double n = number(value, where);
        if (n <= 0)
            fail(where, "positive Zahl erwartet");
        return n;
    }

    int code(const json& value, const std::string& where, int last) const
    {
        if (!value.is_number_integer())
            fail(where, "ganze Zahl erwartet");
        long long n = value.get<long long>();
        if (n < 0 || n > last)
            fail(where, "Code von 0 bis " + std::to_string(last) + " erwartet");
        return static_cast<int>(n);
    }

    bool boolean(const json& value, const std::string& where) const
    {
        if (!value.is_boolean())
            fail(where, "true oder false erwartet");
        return value.get<bool>();
    }

    const json& array(const json& value, const std::string& where) const
    {
        if (!value.is_array())
            fail(where, "Liste erwartet");
        return value;
    }

    Entity entity(const json& value, const std::string& where) const;
    Sheet sheet(const json& value, const std::string& where) const;

private:
    std::string file_;
};

struct Shape {
    const char* key;
    Entity::Kind kind;
    size_t count;  // numbers expected; 0 = polyline (pairs, at least two points)
};

constexpr Shape kShapes[] = {
    {"line", Entity::Kind::Line, 4}, {"polyline", Entity::Kind::Polyline, 0},
    {"rect", Entity::Kind::Rect, 4}, {"circle", Entity::Kind::Circle, 3},
    {"arc", Entity::Kind::Arc, 5},   {"text", Entity::Kind::Text, 4},
};

Entity Reader::entity(const json& value, const std::string& where) const
{
    if (!value.is_object())
        fail(where, "Objekt erwartet");
    const Shape* found = nullptr;
    for (const Shape& shape : kShapes) {
        if (!value.contains(shape.key))
            continue;
        if (found)
            fail(where, std::string("nur eine Form je Element erlaubt (\"") + found->key + "\" und \"" +
                            shape.key + "\")");
        found = &shape;
    }
    if (!found)
        fail(where, "eine Form erwartet: line, polyline, rect, circle, arc oder text");

    Entity entity;
    entity.kind = found->kind;
    const std::string at = where + "." + found->key;
    const json& numbers = array(value.at(found->key), at);
    if (found->kind == Entity::Kind::Polyline) {
        if (numbers.size() < 4 || numbers.size() % 2 != 0)
            fail(at, "mindestens zwei Punkte (x, y) erwartet");
    } else if (numbers.size() != found->count) {
        fail(at, std::to_string(found->count) + " Werte erwartet");
    }
    for (size_t i = 0; i < numbers.size(); ++i) {
        const std::string item = at + "[" + std::to_string(i) + "]";
        if (found->kind == Entity::Kind::Text && i == 3)
            entity.text = string(numbers[i], item);
        else
            entity.values.push_back(number(numbers[i], item));
    }
    if (found->kind == Entity::Kind::Circle || found->kind == Entity::Kind::Arc)
        positive(numbers[2], at + "[2]");  // radius
    if (found->kind == Entity::Kind::Text)
        positive(numbers[2], at + "[2]");  // height
    if (auto w = value.find("w"); w != value.end())
        entity.width = positive(*w, where + ".w");
    return entity;
}

Sheet Reader::sheet(const json& value, const std::string& where) const
{
    if (!value.is_object())
        fail(where, "Objekt erwartet");
    Sheet sheet;
    sheet.name = string(member(value, where, "name"), where + ".name");
    if (sheet.name.empty())
        fail(where + ".name", "Blattname darf nicht leer sein");
    sheet.paperSize = code(member(value, where, "paperSize"), where + ".paperSize", cad::kPaperSizeCount - 1);
    sheet.templateCode =
        code(member(value, where, "template"), where + ".template", cad::kTemplateSizeCount - 1);
    sheet.templatePath = string(member(value, where, "templatePath"), where + ".templatePath");

    const json& scale = array(member(value, where, "scale"), where + ".scale");
    if (scale.size() != 2)
        fail(where + ".scale", "zwei Zahlen erwartet [Zähler, Nenner]");
    sheet.scaleNumerator = positive(scale[0], where + ".scale[0]");
    sheet.scaleDenominator = positive(scale[1], where + ".scale[1]");
    sheet.firstAngle = boolean(member(value, where, "firstAngle"), where + ".firstAngle");

    const bool userDefined = sheet.paperSize == cad::kPaperUserDefined;
    auto dimension = [&](const char* key, double tableMillimetres) {
        auto it = value.find(key);
        if (it != value.end())
            return positive(*it, where + "." + key);
        if (userDefined)
            fail(where, std::string("Feld \"") + key + "\" fehlt (bei benutzerdefiniertem Format Pflicht)");
        return tableMillimetres / 1000.0;
    };
    sheet.width = dimension("width", cad::PaperSizeWidths[sheet.paperSize]);
    sheet.height = dimension("height", cad::PaperSizeHeights[sheet.paperSize]);

    const json& entities = array(member(value, where, "entities"), where + ".entities");
    sheet.entities.reserve(entities.size());
    for (size_t i = 0; i < entities.size(); ++i)
        sheet.entities.push_back(entity(entities[i], where + ".entities[" + std::to_string(i) + "]"));
    return sheet;
}

// Builds the document as json::parse does, and keeps where parsing stopped.
struct PlaceKeeper : nlohmann::detail::json_sax_dom_parser<json> {
    using json_sax_dom_parser::json_sax_dom_parser;
    template <class Exception>
    bool parse_error(std::size_t position, const std::string& token, const Exception& e)
    {
        failedAt = position;
        return json_sax_dom_parser::parse_error(position, token, e);
    }
    std::size_t failedAt = 0;
};

std::string lineAndColumn(const std::string& text, std::size_t position)
{
    const std::string before = text.substr(0, std::min(position, text.size()));
    const size_t newline = before.rfind('\n');
    const auto line = 1 + std::count(before.begin(), before.end(), '\n');
    const size_t column = newline == std::string::npos ? before.size() : before.size() - newline - 1;
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

}  // namespace

Drawing parseDrawing(const std::string& jsonText, const std::string& fileName)
{
    cad::FillSizeTables();
    Reader reader(fileName);
    json root;
    PlaceKeeper keeper(root);
    try {
        json::sax_parse(jsonText, &keeper);
    } catch (const json::parse_error& e) {
        std::string what = e.what();
        // nlohmann prefixes its own class name; the position is what helps.
        if (auto at = what.find("parse error"); at != std::string::npos)
            what = what.substr(at);
        reader.fail("", "kein gültiges JSON (" + what + ")");
    } catch (const json::exception& e) {
        // A number beyond a double's range: nlohmann names the number but not
        // where it is, so the place is told in the words of its parse errors.
        std::string what = e.what();
        if (auto at = what.find("] "); at != std::string::npos)
            what = what.substr(at + 2);
        reader.fail("", "kein gültiges JSON (parse error at " + lineAndColumn(jsonText, keeper.failedAt) +
                            ": " + what + ")");
    }
    if (!root.is_object())
        reader.fail("", "Objekt erwartet");

    Drawing drawing;
    const std::string type = reader.string(reader.member(root, "", "type"), "type");
    if (type == "drawing")
        drawing.type = cad::kDocDrawing;
    else if (type == "part")
        drawing.type = cad::kDocPart;
    else if (type == "assembly")
        drawing.type = cad::kDocAssembly;
    else
        reader.fail("type", "\"drawing\", \"part\" oder \"assembly\" erwartet, nicht \"" + type + "\"");

    drawing.title = file_io::utf8FromPath(file_io::pathFromUtf8(fileName).stem());
    if (auto title = root.find("title"); title != root.end())
        drawing.title = reader.string(*title, "title");

    if (drawing.type != cad::kDocDrawing)
        return drawing;  // parts and assemblies have no sheets

    const json& sheets = reader.array(reader.member(root, "", "sheets"), "sheets");
    std::set<std::string> names;
    for (size_t i = 0; i < sheets.size(); ++i) {
        const std::string where = "sheets[" + std::to_string(i) + "]";
        drawing.sheets.push_back(reader.sheet(sheets[i], where));
        if (!names.insert(drawing.sheets.back().name).second)
            reader.fail(where + ".name", "Blattname \"" + drawing.sheets.back().name + "\" doppelt");
    }
    if (auto active = root.find("activeSheet"); active != root.end()) {
        const std::string name = reader.string(*active, "activeSheet");
        auto it = std::find_if(drawing.sheets.begin(), drawing.sheets.end(),
                               [&](const Sheet& s) { return s.name == name; });
        if (it == drawing.sheets.end())
            reader.fail("activeSheet", "kein Blatt heißt \"" + name + "\"");
        drawing.activeSheet = static_cast<int>(it - drawing.sheets.begin());
    }
    return drawing;
}

Drawing loadDrawingFile(const std::string& path)
{
    namespace fs = std::filesystem;
    const fs::path file = file_io::pathFromUtf8(path);
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw DrawingError(path + ": Datei lässt sich nicht lesen");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        throw DrawingError(path + ": Datei lässt sich nicht lesen");
    Drawing drawing = parseDrawing(text.str(), path);
    std::error_code ec;
    fs::path absolute = fs::absolute(file, ec);
    if (ec)
        absolute = file;
    drawing.path = file_io::utf8FromPath(absolute.lexically_normal());
    drawing.folder = file_io::utf8FromPath(absolute.lexically_normal().parent_path());
    return drawing;
}

}  // namespace cadsim
