#include "tests/support/fake_cad.h"

#include "cad/number_text.h"
#include "cad/size_tables.h"
#include "cad/tiff_preferences.h"
#include "tests/support/preferences.h"

#include <algorithm>
#include <stdexcept>

namespace fake {

namespace {

// Arguments as the journal shows them: type tag, value; "&" for by reference.
const auto i2 = [](int16_t v) { return "i2:" + std::to_string(v); };
const auto i4 = [](int32_t v) { return "i4:" + std::to_string(v); };
const auto b = [](bool v) { return std::string("b:") + (v ? "true" : "false"); };
const auto r8 = [](double v) { return "r8:" + cad::numberText(v, "."); };
const auto s = [](const std::string& v) { return "s:" + v; };
const auto byRef = [](const std::string& arg) { return "&" + arg; };

// Journals the call; its failure value when a fault refuses it, else the answer.
template <class T, class Answer>
T reply(Cad& cad, const std::string& member, const std::vector<std::string>& args, T failed, Answer answer)
{
    if (cad.call(member, args))
        return failed;
    return answer();
}

class FakeSheet : public cad::Sheet {
public:
    FakeSheet(Cad& cad, int index) : cad_(cad), index_(index) {}

    std::string GetName() override { return cad_.call("GetName", {}) ? "" : sheet().name; }
    std::string GetTemplateName() override
    {
        return cad_.call("GetTemplateName", {}) ? "" : sheet().templatePath;
    }
    std::vector<double> GetProperties() override
    {
        return cad_.call("GetProperties", {}) ? std::vector<double>() : sheet().properties;
    }

private:
    fake::Sheet& sheet()
    {
        auto& sheets = cad_.activeDocument().sheets;
        if (index_ < 0 || index_ >= static_cast<int>(sheets.size()))
            throw cad::AutomationError("Blatt existiert nicht mehr");
        return sheets[index_];
    }
    Cad& cad_;
    int index_;
};

class FakeDocument : public cad::Document {
public:
    explicit FakeDocument(Cad& cad) : cad_(cad) {}

    int32_t GetType() override { return cad_.call("GetType", {}) ? cad::kDocPart : doc().type; }
    int32_t GetSheetCount() override
    {
        return reply(cad_, "GetSheetCount", {}, 0, [&] {
            return drawing().sheetCountAnswer.value_or(static_cast<int32_t>(doc().sheets.size()));
        });
    }
    std::vector<std::string> GetSheetNames() override
    {
        return reply(cad_, "GetSheetNames", {}, std::vector<std::string>(), [&] {
            std::vector<std::string> names;
            for (const auto& sheet : drawing().sheets)
                names.push_back(sheet.name);
            return doc().sheetNamesAnswer.value_or(names);
        });
    }
    std::unique_ptr<cad::Sheet> GetCurrentSheet() override
    {
        return reply(
            cad_, "GetCurrentSheet", {}, std::unique_ptr<cad::Sheet>(), [&]() -> std::unique_ptr<cad::Sheet> {
                return drawing().sheets.empty() ? nullptr : std::make_unique<FakeSheet>(cad_, doc().active);
            });
    }
    int32_t ActivateSheet(std::string& name) override
    {
        return reply(cad_, "ActivateSheet", {byRef(s(name))}, cad::kFalse, [&] {
            auto& sheets = drawing().sheets;
            const auto found =
                std::find_if(sheets.begin(), sheets.end(), [&](auto& sheet) { return sheet.name == name; });
            if (found == sheets.end())
                return cad::kFalse;
            doc().active = static_cast<int>(found - sheets.begin());
            return cad::kTrue;
        });
    }
    std::string GetTitle() override
    {
        return reply(cad_, "GetTitle", {}, std::string(), [&] {
            const fake::Document& d = doc();
            const bool sheetShown =
                d.type == cad::kDocDrawing && d.active >= 0 && d.active < int(d.sheets.size());
            return sheetShown ? d.title + " - " + d.sheets[d.active].name : d.title;
        });
    }
    int32_t SaveAsSilent(std::string& fileName, bool& saveFlag) override
    {
        return reply(cad_, "SaveAsSilent", {byRef(s(fileName)), byRef(b(saveFlag))}, 1, [&] {
            cad_.savedFiles.push_back(fileName);
            return 0;
        });
    }

private:
    fake::Document& doc() { return cad_.activeDocument(); }
    fake::Document& drawing()
    {
        if (doc().type != cad::kDocDrawing)
            throw cad::AutomationError("Das Dokument ist keine Zeichnung");
        return doc();
    }
    Cad& cad_;
};

class FakeApplication : public cad::Application {
public:
    explicit FakeApplication(Cad& cad) : cad_(cad) {}

    void Visible(bool visible) override { cad_.call("Visible", {b(visible)}); }
    std::unique_ptr<cad::Document> ActiveDoc() override
    {
        if (cad_.call("ActiveDoc", {}) || !cad_.document)
            return nullptr;
        return std::make_unique<FakeDocument>(cad_);
    }
    int16_t GetUserPreferenceIntegerValue(int32_t p) override
    {
        return get("IntegerValue", p, cad_.integerPreferences);
    }
    bool GetUserPreferenceToggle(int32_t p) override { return get("Toggle", p, cad_.togglePreferences); }
    double GetUserPreferenceDoubleValue(int32_t p) override
    {
        return get("DoubleValue", p, cad_.doublePreferences);
    }
    int16_t SetUserPreferenceIntegerValue(int32_t p, int16_t v) override
    {
        return set("IntegerValue", p, i2(v), cad_.integerPreferences, v);
    }
    int16_t SetUserPreferenceIntegerValue(int32_t p, int32_t v) override
    {
        return set("IntegerValue", p, i4(v), cad_.integerPreferences, static_cast<int16_t>(v));
    }
    void SetUserPreferenceToggle(int32_t p, bool v) override
    {
        set("Toggle", p, b(v), cad_.togglePreferences, v);
    }
    void SetUserPreferenceToggle(int32_t p, int16_t v) override
    {
        set("Toggle", p, i2(v), cad_.togglePreferences, v != 0);
    }
    int16_t SetUserPreferenceDoubleValue(int32_t p, double& v) override
    {
        return set("DoubleValue", p, byRef(r8(v)), cad_.doublePreferences, v);
    }

private:
    template <class T> T get(const std::string& kind, int32_t preference, std::map<int32_t, T>& values)
    {
        return cad_.call("GetUserPreference" + kind, {i4(preference)}) ? T{} : values[preference];
    }
    template <class T>
    int16_t set(const std::string& kind, int32_t preference, const std::string& arg,
                std::map<int32_t, T>& values, T value)
    {
        return reply(cad_, "SetUserPreference" + kind, {i4(preference), arg}, int16_t{0}, [&] {
            values[preference] = value;
            return int16_t{1};
        });
    }
    Cad& cad_;
};

}  // namespace

Sheet makeSheet(const std::string& name, int paperSizeCode, int templateCode, double scaleNumerator,
                double scaleDenominator, bool firstAngle)
{
    // The size tables themselves are pinned by the size table test.
    cad::FillSizeTables();
    const bool known = paperSizeCode >= 0 && paperSizeCode < cad::kPaperSizeCount;
    const double width = known ? cad::PaperSizeWidths[paperSizeCode] / 1000 : 0.1;
    const double height = known ? cad::PaperSizeHeights[paperSizeCode] / 1000 : 0.1;
    return Sheet{name,
                 "C:\\Vorlagen\\" + name + ".drt",
                 {double(paperSizeCode), double(templateCode < 0 ? paperSizeCode : templateCode),
                  scaleNumerator, scaleDenominator, firstAngle ? -1.0 : 0.0, width, height}};
}

Cad::Cad() = default;

Cad::~Cad()
{
    cad::setBackend(nullptr);
}

void Cad::install()
{
    cad::setBackend([this]() -> std::unique_ptr<cad::Application> {
        if (call("attach", {}) || !reachable)
            return nullptr;
        return std::make_unique<FakeApplication>(*this);
    });
}

void Cad::clearFaults()
{
    faults_.clear();
    matchCounts_.clear();
    throwAtCall_ = 0;
}

std::vector<std::string> callsOf(const std::vector<std::string>& journal, const std::string& member)
{
    std::vector<std::string> calls;
    for (const auto& entry : journal)
        if (entry.compare(0, member.size() + 1, member + "(") == 0 || entry == member)
            calls.push_back(entry);
    return calls;
}

std::optional<FaultKind> Cad::call(const std::string& member, const std::vector<std::string>& args)
{
    std::string entry = member;
    if (member != "attach") {
        entry += "(";
        for (std::size_t i = 0; i < args.size(); ++i)
            entry += (i ? ", " : "") + args[i];
        entry += ")";
    }
    journal_.push_back(entry);

    if (throwAtCall_ > 0 && static_cast<int>(journal_.size()) == throwAtCall_)
        throw cad::AutomationError(member + ": simulierter Fehler beim Aufruf " +
                                   std::to_string(throwAtCall_));

    for (std::size_t i = 0; i < faults_.size(); ++i) {
        const Fault& fault = faults_[i];
        if (fault.member != member)
            continue;
        if (fault.argument) {
            // Compare with the bare value, whatever its type tag or reference mark.
            const std::string first = args.empty() ? "" : args[0];
            const std::string bare =
                first.substr(first.find(':') == std::string::npos ? 0 : first.find(':') + 1);
            if (bare != *fault.argument)
                continue;
        }
        const int seen = ++matchCounts_[i];
        if (fault.nthCall != 0 && seen != fault.nthCall)
            continue;
        if (fault.kind == FaultKind::Throw)
            throw cad::AutomationError(member + ": simulierter Fehler");
        if (fault.kind == FaultKind::Internal)
            throw std::logic_error(member + ": simulierter Fehler");
        return FaultKind::Refuse;
    }
    return std::nullopt;
}

Document& Cad::activeDocument()
{
    if (!document)
        throw cad::AutomationError("Das Dokument ist geschlossen");
    return *document;
}

void setDefaultPreferences(Cad& cad)
{
    using namespace cad::pref;
    const kup::TiffOptionSet& v = kStandardPreferences;
    cad.integerPreferences = {{TiffScreenOrPrintCapture, v.TiffScreenOrPrintCapture},
                              {TiffImageType, v.TiffImageType},
                              {TiffCompressionScheme, v.TiffCompressionScheme},
                              {TiffPrintDPI, v.TiffPrintDPI},
                              {TiffPrintPaperSize, v.TiffPrintPaperSize},
                              {TiffPrintScaleFactor, v.TiffPrintScaleFactor}};
    cad.togglePreferences = {{TiffPrintScaleToFit, v.TiffPrintScaleToFit}};
    cad.doublePreferences = {{TiffPrintPaperWidth, v.TiffPrintPaperWidth},
                             {TiffPrintPaperHeight, v.TiffPrintPaperHeight}};
}

}  // namespace fake
