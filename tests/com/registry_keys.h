// Registry changes the runner makes in its test prefix, through the
// system's own reg.exe as a user would, and undone when a case ends.
#pragma once

#include <string>

namespace testkeys {

// The cases that rewrite machine keys run only where the script that set up
// the private prefix says so, never on a machine of someone's own.
bool inTestPrefix();

// Runs reg.exe with the arguments (UTF-8) and throws when it fails.
void reg(const std::string& arguments);

// Runs a program and waits for it; its exit code.
unsigned long run(const std::wstring& commandLine);

// SldWorks.Application unregistered for as long as it lives.
class ProgIdRemoved {
public:
    ProgIdRemoved();
    ~ProgIdRemoved();
    ProgIdRemoved(const ProgIdRemoved&) = delete;
    ProgIdRemoved& operator=(const ProgIdRemoved&) = delete;
};

}  // namespace testkeys
