// Wine 8 reads COM classes from the machine's HKLM\Software\Classes only and never merges the
// user's HKCU\Software\Classes in, as Windows does. cadsim.exe registers for the user; so that the
// registration is seen under wine as on Windows, and /UnregServer takes it away again, the
// machine's keys are made links to the user's ones.
#pragma once

#include <string>

namespace cadsim::wine {

bool runsOnWine();

// Links the keys /RegServer wrote for the user into the machine's registry; false with a line
// naming the key that could not be linked appended to output.
bool linkMachineClassesToUser(std::string& output);
// Those links removed; the user's keys stay as they are.
void unlinkMachineClasses();

}  // namespace cadsim::wine
