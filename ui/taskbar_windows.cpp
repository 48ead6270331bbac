#include "ui/taskbar.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace ui {

namespace {

// Lasts as long as the application object; created, never shown. Qt destroys it before the
// application goes, and lets go of the windows it owns first.
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

// Windows gives an owned window no taskbar button. The owner is given to Qt as the dialog's
// transient parent, because Qt sets the native owner from it whenever it shows the window
// (setting the native owner directly lasts only until then). A modal dialog is owned by the
// window it blocks, so that it stays in front of it and that window's taskbar button brings it
// back; any other by a hidden window, since Windows takes owned windows down with their owner.
void keepOutOfTheTaskbar(QWidget* dialog)
{
    QWindow* window = dialog->windowHandle();
    if (window == nullptr)
        return;
    QWindow* owner = nullptr;
    if (dialog->isModal())
        if (QWidget* opener = QApplication::activeWindow(); opener != nullptr && opener != dialog)
            owner = opener->windowHandle();
    window->setTransientParent(owner != nullptr ? owner : hiddenOwner());
}

}  // namespace ui
