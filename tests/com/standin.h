// The runner's hold on the stand-in server: the DLL that COM loads for the
// registered class, loaded by the same path so that both share its state.
#pragma once

#include "tests/com/standin/standin_control.h"

#include <string>
#include <vector>

namespace standin {

struct Control {
    StandIn_Reset_t reset;
    StandIn_OpenDocument_t openDocument;
    StandIn_AddSheet_t addSheet;
    StandIn_SetPreference_t setPreference;
    StandIn_Preference_t preference;
    StandIn_Fault_t fault;
    StandIn_Journal_t journalText;
    StandIn_Created_t created;
    StandIn_Living_t living;
    StandIn_RegisterRunning_t registerRunning;
    StandIn_RevokeRunning_t revokeRunning;

    std::vector<std::string> journal() const;
    // The journal lines of one member.
    std::vector<std::string> journalOf(const std::string& member) const;
};

// Loads the registered DLL once; throws when it is not registered or lacks a function.
const Control& control();

// A drawing with the given sheets (name, paper-size code), active, after a reset.
void drawing(const std::string& title, const std::vector<std::pair<std::string, int>>& sheets);

}  // namespace standin
