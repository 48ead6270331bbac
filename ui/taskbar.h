// A fixed dialog has no taskbar entry, yet lives on when the window it was
// opened from closes, and a modal one stays in front of the window it blocks.
// How that is done is the platform's (taskbar_windows.cpp, taskbar_other.cpp,
// chosen by the build). Called as the dialog is about to show, every time.
#pragma once

class QWidget;

namespace ui {

void keepOutOfTheTaskbar(QWidget* dialog);

}  // namespace ui
