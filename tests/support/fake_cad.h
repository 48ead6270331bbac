// A scripted CAD system for the core tests: documents, sheets and preferences
// set up by the test, a journal of every member call with its argument types,
// and faults on demand.
#pragma once

#include "cad/automation.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fake {

struct Sheet {
    std::string name;
    std::string templatePath;
    std::vector<double> properties;  // as GetProperties answers
};

struct Document {
    int32_t type = cad::kDocDrawing;
    std::string title;  // GetTitle of a drawing appends " - " and the active sheet's name
    std::vector<Sheet> sheets;
    int active = 0;
    // Answers that disagree with the sheets, for drawings that report nonsense.
    std::optional<int32_t> sheetCountAnswer;
    std::optional<std::vector<std::string>> sheetNamesAnswer;
};

// A sheet in a standard format: code, template code, scale, projection, size from
// the paper code in metres.
Sheet makeSheet(const std::string& name, int paperSizeCode, int templateCode = -1, double scaleNumerator = 1,
                double scaleDenominator = 1, bool firstAngle = true);

enum class FaultKind {
    Refuse,    // the member answers its failure value
    Throw,     // the member raises an AutomationError
    Internal,  // the member raises a std::logic_error: a fault of the tool, not of the CAD
};

struct Fault {
    std::string member;
    FaultKind kind = FaultKind::Throw;
    std::optional<std::string> argument;  // only calls with this first argument (as journalled)
    int nthCall = 0;                      // only the n-th matching call (1-based); 0 = every one
};

// A member that answers its failure value: for calls with this first argument only (null: all),
// only the n-th of them (0: every one).
inline Fault refusal(const char* member, const char* argument = nullptr, int nth = 0)
{
    return {member, FaultKind::Refuse, argument ? std::optional<std::string>(argument) : std::nullopt, nth};
}

// The entries of a journal that are calls of this member.
std::vector<std::string> callsOf(const std::vector<std::string>& journal, const std::string& member);

class Cad {
public:
    Cad();
    ~Cad();
    Cad(const Cad&) = delete;
    Cad& operator=(const Cad&) = delete;

    // Makes cad::attach() reach this fake for as long as it lives.
    void install();

    std::optional<Document> document;  // the active document, if any
    bool reachable = true;             // false: attach obtains no application
    std::map<int32_t, int16_t> integerPreferences;
    std::map<int32_t, bool> togglePreferences;
    std::map<int32_t, double> doublePreferences;
    std::vector<std::string> savedFiles;  // names of successful saves, in order

    void addFault(Fault fault) { faults_.push_back(std::move(fault)); }
    // Raise an AutomationError at the k-th call overall (1-based, attaches count).
    void throwAtCall(int k) { throwAtCall_ = k; }
    void clearFaults();

    // One entry per call: "Member(arg, ...)" with typed arguments such as
    // "i2:1", "i4:10", "b:true", "r8:0.42", "s:Blatt1"; "&" marks by reference.
    // Attaching shows as "attach".
    const std::vector<std::string>& journal() const { return journal_; }
    std::vector<std::string> journalOf(const std::string& member) const { return callsOf(journal_, member); }
    void clearJournal() { journal_.clear(); }

    // Used by the fake objects: journals a call and reports which fault applies.
    std::optional<FaultKind> call(const std::string& member, const std::vector<std::string>& args);
    Document& activeDocument();

private:
    std::vector<std::string> journal_;
    std::vector<Fault> faults_;
    std::map<std::size_t, int> matchCounts_;
    int throwAtCall_ = 0;
};

// The store holds kStandardPreferences (preferences.h).
void setDefaultPreferences(Cad& cad);

}  // namespace fake
