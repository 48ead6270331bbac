// The CAD system's automation objects as the tool sees them. One member per
// automation member the tool calls, with the widths the server expects, so that
// every backend (COM, D-Bus, the test fake) can be checked call by call.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace cad {

// A failing automation call. Carries the server's own description.
class AutomationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// How long the tool waits for the CAD system's answer, on every transport
// (README: "Bounds on every call into the CAD").
inline constexpr int kCallTimeoutMs = 5000;
// Rendering a large sheet at high resolution takes a while.
inline constexpr int kSaveTimeoutMs = 120000;
// A save still at work is waited for no longer than this: a CAD that is busy so long is stuck.
inline constexpr int kLongestSaveMs = 10 * 60 * 1000;

// Booleans cross the automation boundary as -1 (true) and 0 (false).
constexpr int32_t kTrue = -1;
constexpr int32_t kFalse = 0;
// The one place that decides whether a value the server handed back means "true".
inline bool isTrue(int32_t automationValue)
{
    return automationValue == kTrue;
}

// Document types answered by GetType.
enum DocumentType : int32_t {
    kDocPart = 1,
    kDocAssembly = 2,
    kDocDrawing = 3,
};

class Sheet {
public:
    virtual ~Sheet() = default;
    virtual std::string GetName() = 0;
    virtual std::string GetTemplateName() = 0;
    // Paper-size code, template code, scale numerator, scale denominator,
    // first-angle flag (-1 = first angle), paper width, paper height (metres).
    virtual std::vector<double> GetProperties() = 0;
};

class Document {
public:
    virtual ~Document() = default;
    virtual int32_t GetType() = 0;
    virtual int32_t GetSheetCount() = 0;
    virtual std::vector<std::string> GetSheetNames() = 0;
    // Null when the server names no sheet.
    virtual std::unique_ptr<Sheet> GetCurrentSheet() = 0;
    // The server's answer as received: kTrue when the sheet is now active.
    virtual int32_t ActivateSheet(std::string& name) = 0;
    virtual std::string GetTitle() = 0;
    // 0 = saved.
    virtual int32_t SaveAsSilent(std::string& fileName, bool& saveFlag) = 0;
};

class Application {
public:
    virtual ~Application() = default;
    virtual void Visible(bool visible) = 0;
    // Null when no document is open.
    virtual std::unique_ptr<Document> ActiveDoc() = 0;

    virtual int16_t GetUserPreferenceIntegerValue(int32_t preference) = 0;
    virtual bool GetUserPreferenceToggle(int32_t preference) = 0;
    virtual double GetUserPreferenceDoubleValue(int32_t preference) = 0;

    // The 16-bit value is the rule; one write of the preference transfer sends 32 bits.
    virtual int16_t SetUserPreferenceIntegerValue(int32_t preference, int16_t value) = 0;
    virtual int16_t SetUserPreferenceIntegerValue(int32_t preference, int32_t value) = 0;
    // The toggle goes out as a boolean, or as the 16-bit integer 1.
    virtual void SetUserPreferenceToggle(int32_t preference, bool value) = 0;
    virtual void SetUserPreferenceToggle(int32_t preference, int16_t value) = 0;
    virtual int16_t SetUserPreferenceDoubleValue(int32_t preference, double& value) = 0;
};

// Create-or-attach: null when no application object can be obtained.
using Backend = std::function<std::unique_ptr<Application>()>;

// Chosen once at start-up (COM on Windows, D-Bus elsewhere, the fake in tests).
void setBackend(Backend backend);

// Attaches afresh through the installed backend and makes the application
// visible. Null when none can be obtained (or no backend is installed).
std::unique_ptr<Application> attach();

// attach() for the procedures that report in text: null with the German
// "not running" message in message when no application object can be had.
std::unique_ptr<Application> attachOrSay(std::string& message);

// What a user reads when the CAD system failed an operation: what it cut short, then on a line of
// its own the CAD system's words ("Der Export wurde abgebrochen, Solidworks meldet ...").
std::string failureText(const std::string& cutShort, const AutomationError& error);

// The active sheet of a document; a server that names none is an automation fault.
std::unique_ptr<Sheet> currentSheetOf(Document& document);

}  // namespace cad
