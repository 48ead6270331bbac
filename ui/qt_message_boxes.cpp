#include "ui/qt_message_boxes.h"

#include <QMessageBox>

namespace ui {

void QtMessageBoxes::show(const std::string& text, const std::string& title, kup::Icon icon)
{
    QMessageBox box(icon == kup::Icon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    QString::fromStdString(title.empty() ? std::string(kup::kProgramTitle) : title),
                    QString(), QMessageBox::Ok, parent_);
    // Texts come from the CAD system and file names: never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box.setObjectName(QStringLiteral("messageBox"));
    // Application-modal: while a box is open no window of the tool takes input.
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

}  // namespace ui
