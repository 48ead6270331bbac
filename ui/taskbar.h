// A fixed dialog has no taskbar entry, yet lives on when the window it was
// opened from closes, and a modal one stays in front of the window it blocks.
// How that is done is the platform's (taskbar_windows.cpp, taskbar_other.cpp,
// chosen by the build).
#pragma once

#include <functional>

class QWidget;

namespace ui {

// Shows the dialog, which show() does (Qt's own showing), every time it is shown.
void showOffTheTaskbar(QWidget* dialog, const std::function<void()>& show);

}  // namespace ui
