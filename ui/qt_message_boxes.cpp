#include "ui/qt_message_boxes.h"

#include "ui/core_texts.h"

#include <QMessageBox>

namespace ui {

namespace {
kup::MessageBoxes* installed = nullptr;
}

void QtMessageBoxes::show(const std::string& text, const std::string& title, kup::Icon icon)
{
    QMessageBox box(icon == kup::Icon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    qs(title.empty() ? std::string(kup::kProgramTitle) : title), QString(), QMessageBox::Ok,
                    parent_);
    // Texts come from the CAD system and file names: never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(qs(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box.setObjectName(QStringLiteral("messageBox"));
    // Application-modal: while a box is open no window of the tool takes input.
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

ScopedMessageBoxes::ScopedMessageBoxes(kup::MessageBoxes& boxes) : previous_(installed)
{
    installed = &boxes;
}

ScopedMessageBoxes::~ScopedMessageBoxes()
{
    installed = previous_;
}

kup::MessageBoxes* installedMessageBoxes()
{
    return installed;
}

}  // namespace ui
