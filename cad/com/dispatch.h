// Late-bound calls by member name through IDispatch, and the reading of their
// results into the tool's own types. Every failure becomes cad::AutomationError.
#pragma once

#include "cad/com/com_handles.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace cad::com {

// One automation object of the server.
class Dispatch {
public:
    Dispatch(std::shared_ptr<Apartment> apartment, ComPtr<IDispatch> object);

    // Calls a method or reads a property; args in the order the member lists them.
    Variant call(const char* member, std::initializer_list<Variant*> args = {});
    void put(const char* property, Variant& value);

    // Another object of the same server, living in the same apartment.
    Dispatch sibling(ComPtr<IDispatch> object) const { return Dispatch(apartment_, std::move(object)); }

private:
    Variant invoke(const char* member, WORD flags, const std::vector<Variant*>& args);

    std::shared_ptr<Apartment> apartment_;  // outlives object_: members die in reverse order
    ComPtr<IDispatch> object_;
};

// The server's text for a failed call, or the system's text for its code.
std::string hresultText(HRESULT result);

// Results as the members' callers take them; member names the call in errors.
int32_t asInt32(const Variant& result, const char* member);
int16_t asInt16(const Variant& result, const char* member);
bool asBool(const Variant& result, const char* member);
double asDouble(const Variant& result, const char* member);
std::string asString(const Variant& result, const char* member);
// Null for "Nothing" and for an empty answer.
ComPtr<IDispatch> asDispatch(const Variant& result, const char* member);
// One-dimensional arrays, of the element type or of variants holding it.
std::vector<std::string> asStrings(const Variant& result, const char* member);
std::vector<double> asDoubles(const Variant& result, const char* member);

}  // namespace cad::com
