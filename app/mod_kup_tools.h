// Start-up and end of the program.
#pragma once

namespace mod_kup_tools {

// Fills the shared size tables and shows the main window; returns at once. The
// program runs on while any of its windows is open.
void Main();

// Ends the program at once, whatever windows are open; nothing is asked or saved.
void EndProgram();

}  // namespace mod_kup_tools
