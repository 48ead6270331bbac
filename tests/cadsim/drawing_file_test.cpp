#include "cadsim/drawing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace {

using cadsim::DrawingError;
using cadsim::parseDrawing;

// What only the file holds: the sheet fields the sheet queries show are
// checked through the bus.
TEST(DrawingFile, ReadsEveryFieldAndFillsTheDefaults)
{
    const cadsim::Drawing d = parseDrawing(R"({"type": "drawing", "comment": "unknown keys are ignored",
      "sheets": [{"name": "Blatt1", "paperSize": 8, "template": 8, "templatePath": "", "scale": [1, 2.5],
        "firstAngle": true, "entities": [{"line": [0, 0, 10, 10]}, {"polyline": [0, 0, 5, 5, 10, 0], "w": 0.7},
          {"arc": [50, 50, 20, 0, 90]}, {"text": [10, 10, 5, "Flansch"], "colour": "red"}]}]})",
                                           "/tmp/Flansch.json");
    EXPECT_EQ(d.title, "Flansch");  // from the file name
    const cadsim::Sheet& a3 = d.sheets.at(0);
    EXPECT_DOUBLE_EQ(a3.width, 0.42);  // from the paper-size code
    EXPECT_DOUBLE_EQ(a3.height, 0.297);
    EXPECT_DOUBLE_EQ(a3.scaleDenominator, 2.5);
    ASSERT_EQ(a3.entities.size(), 4u);
    EXPECT_DOUBLE_EQ(a3.entities[0].width, 0.35);
    EXPECT_DOUBLE_EQ(a3.entities[1].width, 0.7);
    EXPECT_EQ(a3.entities[1].values.size(), 6u);
    EXPECT_EQ(a3.entities[2].kind, cadsim::Entity::Kind::Arc);
    EXPECT_EQ(a3.entities[3].text, "Flansch");
    EXPECT_EQ(a3.entities[3].values, (std::vector<double>{10, 10, 5}));
}

// A sheet "B1": its fields, with these changed or added, and these entities.
std::string sheet(const std::string& entities,
                  const std::string& fields = R"("paperSize": 8, "scale": [1, 1])")
{
    return R"({"name": "B1", "template": 8, "templatePath": "", "firstAngle": true, )" + fields +
           R"(, "entities": [)" + entities + "]}";
}
std::string one(const std::string& entities, const std::string& fields = R"("paperSize": 8, "scale": [1, 1])")
{
    return R"({"type": "drawing", "sheets": [)" + sheet(entities, fields) + "]}";
}

TEST(DrawingFile, ComplainsOnceNamingTheFileAndThePlaceAndAMissingFileByItsName)
{
    // A drawing and what the complaint must contain, after the file name.
    const std::pair<std::string, const char*> cases[] = {
        {"{\"type\": \"drawing\",", "kein gültiges JSON"},
        {"[1, 2]", "Objekt erwartet"},
        {R"({"sheets": []})", "Feld \"type\" fehlt"},
        {R"({"type": "sketch"})", "type: \"drawing\", \"part\" oder \"assembly\" erwartet"},
        {R"({"type": "drawing"})", "Feld \"sheets\" fehlt"},
        {R"({"type": "drawing", "sheets": {}})", "sheets: Liste erwartet"},
        {R"({"type": "drawing", "title": 5, "sheets": []})", "title: Text erwartet"},
        {R"({"type": "drawing", "sheets": [{"paperSize": 8}]})", "sheets[0]: Feld \"name\" fehlt"},
        {R"({"type": "drawing", "sheets": [{"name": "B1", "paperSize": 13}]})",
         "sheets[0].paperSize: Code von 0 bis 12 erwartet"},
        {one("", R"("paperSize": 12, "scale": [1, 1], "height": 0.1)"), "sheets[0]: Feld \"width\" fehlt"},
        {one("", R"("paperSize": 8, "scale": [1, 0])"), "sheets[0].scale[1]: positive Zahl erwartet"},
        {R"({"type": "drawing", "sheets": [)" + sheet("") + ", " + sheet("") + "]}",
         "sheets[1].name: Blattname \"B1\" doppelt"},
        {R"({"type": "drawing", "activeSheet": "B9", "sheets": []})", "activeSheet: kein Blatt heißt \"B9\""},
        {one(R"({"line": [0, 0, 1, 1]}, {"circle": [1, 2]})"),
         "sheets[0].entities[1].circle: 3 Werte erwartet"},
        {one(R"({"text": [1, 2, 3, 4]})"), "sheets[0].entities[0].text[3]: Text erwartet"},
        {one(R"({"line": [0, 0, 1, 1], "circle": [1, 1, 1]})"),
         "sheets[0].entities[0]: nur eine Form je Element erlaubt"},
        {one(R"({"w": 1})"), "sheets[0].entities[0]: eine Form erwartet"},
        {one(R"({"line": [0, 0, 1, 1], "w": -1})"), "sheets[0].entities[0].w: positive Zahl erwartet"},
        {one(R"({"polyline": [0, 0, 1, 1, 2]})"), "sheets[0].entities[0].polyline: mindestens zwei Punkte"},
        {one(R"({"rect": [0, "0", 1, 1]})"), "sheets[0].entities[0].rect[1]: Zahl erwartet"},
        {one(R"({"line": [1e309, 0, 0, 1]})"), "kein gültiges JSON (parse error at line 1, column"},
        {"{\"type\": \"drawing\",\n \"x\": 1e400, \"sheets\": []}",
         "kein gültiges JSON (parse error at line 2, column 11: number overflow parsing '1e400')"},
    };
    using namespace testing;
    for (const auto& [json, message] : cases)
        EXPECT_THAT([&] { parseDrawing(json, "zeichnung.json"); },
                    ThrowsMessage<DrawingError>(
                        AllOf(StartsWith("zeichnung.json: "), HasSubstr(message), Not(HasSubstr("\n")))))
            << json;
    EXPECT_THAT([] { cadsim::loadDrawingFile("/nonexistent/z.json"); },
                ThrowsMessage<DrawingError>(StartsWith("/nonexistent/z.json")));
}

}  // namespace
