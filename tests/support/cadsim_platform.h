// What differs between the systems where the tests meet cadsim: the options of the tool's backend
// there, and what it says of a failure. Each system's answers are in its fixture file
// (tests/support/bus/cadsim_fixture_bus.cpp, tests/support/com/cadsim_fixture_com.cpp), which the
// build picks.
#pragma once

#ifdef _WIN32
#include "cad/com/com_backend.h"
#else
#include "cad/dbus/dbus_backend.h"
#endif

#include <string>

namespace cadsimtest {

#ifdef _WIN32
using BackendOptions = cad::com::BackendOptions;
#else
using BackendOptions = cad::dbus::BackendOptions;
#endif

// Only a COM server can turn calls away while it is busy.
extern const bool kCadsimCanBeBusy;
// What the tool's backend reports of an error cadsim was told to answer a member with.
std::string injectedError(const std::string& member);
// How what it reports of a call that cadsim ended during begins.
std::string lostDuringCall(const std::string& member);
// How what it reports of a call that got no answer in time begins.
std::string unansweredCall(const std::string& member);

}  // namespace cadsimtest
