#include "ui/taskbar.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace ui {

namespace {

// Lasts as long as the application object; created, never shown. Qt lets go of the windows it
// owns before it destroys it.
QWindow* hiddenOwner()
{
    static QPointer<QWindow> owner;
    if (owner.isNull()) {
        owner = new QWindow;
        owner->create();
        qAddPostRoutine([] { delete owner.data(); });
    }
    return owner;
}

}  // namespace

// Windows gives an owned window no taskbar button. Qt sets the native owner from the window's
// transient parent as it shows it (an owner set on the native window directly is undone there),
// so the owner is the transient parent for the showing. Afterwards Qt forgets it, while Windows
// keeps it: Qt counts a window with a transient parent as secondary and would end the program
// under an open About window once the others close.
// A modal dialog is owned by the window it blocks, so that it stays in front of it and that
// window's taskbar button brings it back; any other by a hidden window, since Windows takes owned
// windows down with their owner.
void showOffTheTaskbar(QWidget* dialog, const std::function<void()>& show)
{
    QWindow* owner = nullptr;
    if (dialog->isModal())
        if (QWidget* opener = QApplication::activeWindow(); opener != nullptr && opener != dialog)
            owner = opener->windowHandle();
    // The native window is made first: Qt would centre a new window on its transient parent.
    dialog->winId();
    QWindow* window = dialog->windowHandle();
    window->setTransientParent(owner != nullptr ? owner : hiddenOwner());
    show();
    window->setTransientParent(nullptr);
}

}  // namespace ui
