// A live window described as a user meets it, line by line, and compared with a
// reviewed reference file in tests/data/windows: title, client size, placement
// and border; the menus; every control of the window's table with its kind,
// container, caption or content once loaded, position and size, font and state;
// the entries of the lists; the tab order from where the focus is on opening.
//
// A reference file has one line per item, fields between "|" (see frmMain.txt).
// Positions and sizes are twips, compared at the screen's resolution as the
// window rounds them; an empty font means "MS Sans Serif" 8.25 point regular; a
// field "*" stands for whatever the machine shows.
#pragma once

#include <string>

namespace ui {
class Form;
}

namespace fake {

// The window must be shown and active.
void expectAsReference(const ui::Form& window, const std::string& referenceFile);

}  // namespace fake
