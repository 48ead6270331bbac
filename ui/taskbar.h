// A fixed dialog has no taskbar entry, yet lives on when the window it was
// opened from closes. How that is done is the platform's (taskbar_windows.cpp,
// taskbar_other.cpp, chosen by the build).
#pragma once

class QWidget;

namespace ui {

void keepOutOfTheTaskbar(QWidget* dialog);

}  // namespace ui
