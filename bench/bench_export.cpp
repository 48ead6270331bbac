// The tool's own cost per sheet of an export: a CAD system whose members cost
// nothing (no journal, no strings built), a drawing of 500 sheets, own paper
// format on. Prints time and members per sheet, and the time per sheet of the
// first and the last hundred sheets, which must not drift apart.
#include "bench/export_sinks.h"
#include "cad/automation.h"
#include "export/sheet_export.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Counters {
    long calls = 0;
    std::vector<Clock::time_point> savedAt;
};

struct FreeState {
    std::vector<std::string> names;
    int active = 0;
    Counters counters;
};

class FreeSheet : public cad::Sheet {
public:
    explicit FreeSheet(FreeState& s) : s_(s) {}
    std::string GetName() override { return ++s_.counters.calls, s_.names[s_.active]; }
    std::string GetTemplateName() override { return ++s_.counters.calls, std::string(); }
    std::vector<double> GetProperties() override
    {
        ++s_.counters.calls;
        return {8, 8, 1, 1, -1, 0.42, 0.297};
    }

private:
    FreeState& s_;
};

class FreeDocument : public cad::Document {
public:
    explicit FreeDocument(FreeState& s) : s_(s) {}
    int32_t GetType() override { return ++s_.counters.calls, cad::kDocDrawing; }
    int32_t GetSheetCount() override { return ++s_.counters.calls, static_cast<int32_t>(s_.names.size()); }
    std::vector<std::string> GetSheetNames() override { return ++s_.counters.calls, s_.names; }
    std::unique_ptr<cad::Sheet> GetCurrentSheet() override
    {
        ++s_.counters.calls;
        return std::make_unique<FreeSheet>(s_);
    }
    int32_t ActivateSheet(std::string& name) override
    {
        ++s_.counters.calls;
        s_.active = std::stoi(name.substr(5));
        return cad::kTrue;
    }
    std::string GetTitle() override { return ++s_.counters.calls, "Bench - " + s_.names[s_.active]; }
    int32_t SaveAsSilent(std::string&, bool&) override
    {
        ++s_.counters.calls;
        s_.counters.savedAt.push_back(Clock::now());
        return 0;
    }

private:
    FreeState& s_;
};

class FreeApplication : public cad::Application {
public:
    explicit FreeApplication(FreeState& s) : s_(s) {}
    void Visible(bool) override { ++s_.counters.calls; }
    std::unique_ptr<cad::Document> ActiveDoc() override
    {
        ++s_.counters.calls;
        return std::make_unique<FreeDocument>(s_);
    }
    int16_t GetUserPreferenceIntegerValue(int32_t) override { return ++s_.counters.calls, int16_t{1}; }
    bool GetUserPreferenceToggle(int32_t) override { return ++s_.counters.calls, true; }
    double GetUserPreferenceDoubleValue(int32_t) override { return ++s_.counters.calls, 0.42; }
    int16_t SetUserPreferenceIntegerValue(int32_t, int16_t) override
    {
        return ++s_.counters.calls, int16_t{1};
    }
    int16_t SetUserPreferenceIntegerValue(int32_t, int32_t) override
    {
        return ++s_.counters.calls, int16_t{1};
    }
    void SetUserPreferenceToggle(int32_t, bool) override { ++s_.counters.calls; }
    void SetUserPreferenceToggle(int32_t, int16_t) override { ++s_.counters.calls; }
    int16_t SetUserPreferenceDoubleValue(int32_t, double&) override
    {
        return ++s_.counters.calls, int16_t{1};
    }

private:
    FreeState& s_;
};

}  // namespace

int main(int argc, char** argv)
{
    const int sheets = argc > 1 ? std::stoi(argv[1]) : 500;
    const int rounds = 20;
    FreeState state;
    for (int i = 0; i < sheets; ++i)
        state.names.push_back("Blatt" + std::to_string(i));
    cad::setBackend([&] { return std::make_unique<FreeApplication>(state); });

    double best = 1e9, firstHundred = 0, lastHundred = 0;
    long calls = 0;
    for (int round = 0; round < rounds; ++round) {
        state.counters = {};
        bench::AppendLog log;
        bench::NullBoxes boxes;
        const auto start = Clock::now();
        const kup::ExportOutcome outcome = kup::KupTools_SaveSheetsAsTIFF(kup::ExportSettings{}, log, boxes);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (outcome.saved != sheets)
            return 1;
        if (seconds < best) {
            best = seconds;
            calls = state.counters.calls;
            const auto& at = state.counters.savedAt;
            const int n = std::min(100, sheets / 2);
            firstHundred = std::chrono::duration<double>(at[n] - at[0]).count() / n;
            lastHundred = std::chrono::duration<double>(at[sheets - 1] - at[sheets - 1 - n]).count() / n;
        }
    }
    std::printf("Export von %d Blättern (eigenes Format, Titelnamen), bester von %d Läufen:\n", sheets,
                rounds);
    std::printf("  gesamt            %.3f ms\n", best * 1e3);
    std::printf("  je Blatt          %.2f µs\n", best * 1e6 / sheets);
    std::printf("  Aufrufe je Blatt  %.2f (gesamt %ld)\n", double(calls) / sheets, calls);
    std::printf("  je Blatt, erste 100 / letzte 100: %.2f µs / %.2f µs\n", firstHundred * 1e6,
                lastHundred * 1e6);
    return 0;
}
