#include "ui/qt_message_boxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct Seen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::StandardButtons buttons;
    Qt::WindowModality modality = Qt::NonModal;
};

// Shows a box and reads it while it is open, then confirms it with OK.
Seen showAndRead(const std::string& text, const std::string& title, kup::Icon icon)
{
    Seen seen;
    bool answered = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        seen = {box->windowTitle(),     box->text(),          box->icon(), box->textFormat(),
                box->standardButtons(), box->windowModality()};
        box->button(QMessageBox::Ok)->click();
        answered = true;
    });
    ui::QtMessageBoxes boxes;
    boxes.show(text, title, icon);
    EXPECT_TRUE(answered) << "no message box was open";
    return seen;
}

}  // namespace

TEST(QtMessageBoxes, ModalWithOkOnlyAndTheGivenTitleAndIcon)
{
    const Seen seen = showAndRead("Keine Zeichnung aktiv", "KUP-Tools - Fehlerinfo", kup::Icon::None);
    EXPECT_EQ(seen.title, "KUP-Tools - Fehlerinfo");
    EXPECT_EQ(seen.text, "Keine Zeichnung aktiv");
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
    EXPECT_EQ(seen.modality, Qt::ApplicationModal);

    EXPECT_EQ(showAndRead("Wert zu groß", "KUP-Tools Warnung", kup::Icon::Warning).icon,
              QMessageBox::Warning);
}

TEST(QtMessageBoxes, ABoxWithoutTitleCarriesTheProgramTitle)
{
    EXPECT_EQ(showAndRead("Hallo", "", kup::Icon::None).title, "KUP_Tools");
}

TEST(QtMessageBoxes, TextIsPlainWithOneBreakPerCrLf)
{
    const Seen seen = showAndRead("<b>C:\\a<b>.SLDDRW</b>\r\nzweite Zeile", "info", kup::Icon::None);
    EXPECT_EQ(seen.text, "<b>C:\\a<b>.SLDDRW</b>\nzweite Zeile");
    EXPECT_EQ(seen.format, Qt::PlainText);
}
