#include "ui/taskbar.h"

#include <QWidget>

#include <windows.h>

namespace ui {

// Windows gives an owned window no taskbar button, so the dialog is owned by a
// hidden window that lasts as long as the program.
void keepOutOfTheTaskbar(QWidget* dialog)
{
    static const HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                              GetModuleHandleW(nullptr), nullptr);
    if (owner != nullptr)
        SetWindowLongPtrW(reinterpret_cast<HWND>(dialog->winId()), GWLP_HWNDPARENT,
                          reinterpret_cast<LONG_PTR>(owner));
}

}  // namespace ui
