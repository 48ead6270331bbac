#include "ui/qt_message_boxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

// Shows each box, reads it while it is open, then confirms it with OK.
TEST(QtMessageBoxes, ModalWithOkOnlyTheGivenTitleAndIconAndPlainTextWithOneBreakPerCrLf)
{
    struct Case {
        std::string text, title;
        kup::Icon icon;
        QString seen;  // title, text, icon, buttons, modality
    } const cases[] = {
        {"Keine Zeichnung aktiv", "KUP-Tools - Fehlerinfo", kup::Icon::None,
         "KUP-Tools - Fehlerinfo|Keine Zeichnung aktiv|0|1024|2"},
        {"Wert zu groß", "KUP-Tools Warnung", kup::Icon::Warning, "KUP-Tools Warnung|Wert zu groß|2|1024|2"},
        {"<b>C:\\a<b>.SLDDRW</b>\r\nzweite Zeile", "", kup::Icon::None,
         "KUP_Tools|<b>C:\\a<b>.SLDDRW</b>\nzweite Zeile|0|1024|2"},
    };
    for (const Case& c : cases) {
        QString seen;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            EXPECT_EQ(box->textFormat(), Qt::PlainText);
            seen =
                QStringList{box->windowTitle(), box->text(), QString::number(box->icon()),
                            QString::number(box->standardButtons()), QString::number(box->windowModality())}
                    .join('|');
            box->button(QMessageBox::Ok)->click();
        });
        ui::QtMessageBoxes boxes;
        boxes.show(c.text, c.title, c.icon);
        EXPECT_EQ(seen, c.seen) << "no message box was open, or another one";
    }
}
