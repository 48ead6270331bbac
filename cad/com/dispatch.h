// Late-bound calls by member name through IDispatch, and the reading of their
// results into the tool's own types. Every failure becomes cad::AutomationError.
#pragma once

#include "cad/automation.h"
#include "cad/com/apartment.h"
#include "cad/members.h"
#include "platform/com_handles.h"

#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace cad::com {

using win::ComPtr;
using win::Variant;

// How long the server's answers are waited for.
struct Bounds {
    std::chrono::milliseconds call{cad::kCallTimeoutMs};
    std::chrono::milliseconds save{cad::kLongestSaveMs};
};
enum class Wait { Call, Save };

// What a call answered, with the member's name for the errors of reading it.
struct Reply {
    Variant value;
    const char* member;
};

// One automation object of the server.
class Dispatch {
public:
    Dispatch(std::shared_ptr<Apartment> apartment, ComPtr<IDispatch> object, Bounds bounds = {});
    Dispatch(Dispatch&&) = default;
    // Letting go of the object is a call into the server too, bounded as the others.
    ~Dispatch();

    // Calls a method or reads a property; args in the order the member lists them.
    Reply call(const char* member, std::initializer_list<Variant*> args = {}, Wait wait = Wait::Call);
    Reply call(members::Id member, std::initializer_list<Variant*> args = {}, Wait wait = Wait::Call)
    {
        return call(members::nameOf(member), args, wait);
    }
    void put(members::Id property, Variant& value);

    // Another object of the same server, living in the same apartment.
    Dispatch sibling(ComPtr<IDispatch> object) const
    {
        return Dispatch(apartment_, std::move(object), bounds_);
    }
    const Bounds& bounds() const { return bounds_; }

private:
    Variant invoke(const char* member, WORD flags, const std::vector<Variant*>& args,
                   std::chrono::milliseconds bound);

    std::shared_ptr<Apartment> apartment_;  // outlives object_: members die in reverse order
    ComPtr<IDispatch> object_;
    Bounds bounds_;
};

// The server's text for a failed call, or the system's text for its code.
std::string hresultText(HRESULT result);

// Results as the members' callers take them; an error names the member.
int32_t asInt32(const Reply& reply);
int16_t asInt16(const Reply& reply);
bool asBool(const Reply& reply);
double asDouble(const Reply& reply);
std::string asString(const Reply& reply);
// Null for "Nothing" and for an empty answer; bound for asking another object for IDispatch.
ComPtr<IDispatch> asDispatch(const Reply& reply, std::chrono::milliseconds bound = Bounds{}.call);
// One-dimensional arrays, of the element type or of variants holding it.
std::vector<std::string> asStrings(const Reply& reply);
std::vector<double> asDoubles(const Reply& reply);

}  // namespace cad::com
