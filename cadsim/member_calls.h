// What a call of one of the CAD's members answers, whatever carries it: the bus service on
// Linux and the COM objects on Windows only translate arguments and answers, so both front ends
// refuse, fail, save and report alike.
#pragma once

#include "cad/members.h"
#include "cadsim/cad_session.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace cadsim {

using MemberId = cad::members::Id;

// An object in an answer; id 0 (document) or index -1 (sheet) is "none".
struct DocumentRef {
    int id = 0;
};
struct SheetRef {
    int document = 0;
    int index = -1;
};

using Value = std::variant<std::monostate, int16_t, int32_t, bool, double, std::string,
                           std::vector<std::string>, std::vector<double>, DocumentRef, SheetRef>;

// Arguments in call order, already of the types the member takes.
using Argument = std::variant<int32_t, bool, double, std::string>;

struct Answer {
    Value value;
    // A failed call: the error's name (as the bus knows it) and its text.
    std::string failure;
    std::string text;
    // An injected hang: no answer for as long as the fault stays.
    bool hang = false;
    bool failed() const { return !failure.empty(); }
};

// The object a call goes to: a document, or a sheet of it; the application and the control
// object need neither.
struct Target {
    int document = 0;
    int sheet = -1;
};

// The fault a test injected applies first (never to the control members), then the member.
Answer answerCall(CadSession& session, MemberId member, const Target& target,
                  const std::vector<Argument>& args);
// Whether a hang fault still holds this call, once the faults have changed.
bool stillHung(const CadSession& session, MemberId member, const std::vector<Argument>& args);

// A property read and written; only an "error" fault applies, and only to writing.
Answer readProperty(CadSession& session, MemberId property);
Answer writeProperty(CadSession& session, MemberId property, const Argument& value);

// How the faults see an argument: "true", "12", "0.5", the text.
std::string argumentText(const Argument& argument);

}  // namespace cadsim
