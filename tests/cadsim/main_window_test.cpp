// cadsim's window follows the session live: documents, sheets with the active
// one marked, the preview and the drawing's folder.
#include "cadsim/main_window.h"
#include "cadsim/sample_drawing.h"

#include <QLabel>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace cadsim;

TEST(Window, ShowsTheDocumentsMarksTheActiveSheetAndFollowsTheBusAndTheUser)
{
    CadSession session{std::make_unique<PreferenceStore>("")};
    Drawing sample = parseDrawing(sampleDrawingJson(), "/Zeichnungen/Flansch.json");
    sample.folder = "/Zeichnungen";
    session.openDocument(parseDrawing(R"({"type": "part", "title": "Welle"})", "Welle.json"));
    session.openDocument(std::move(sample));
    MainWindow window(session);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const auto list = [&](const char* name) { return window.findChild<QListWidget*>(name); };
    QListWidget *const documents = list("documents"), *const sheets = list("sheets");
    auto* preview = window.findChild<QLabel*>("preview");
    ASSERT_TRUE(documents && sheets && preview);
    ASSERT_EQ(documents->count(), 2);
    EXPECT_EQ(documents->item(0)->text(), "Welle  (Teil)");
    EXPECT_EQ(documents->item(1)->text(), "Flansch  (Zeichnung)");
    EXPECT_EQ(documents->currentRow(), 1);
    ASSERT_EQ(sheets->count(), 3);
    EXPECT_EQ(sheets->item(0)->text(), QString::fromUtf8("▶ Blatt1"));
    EXPECT_EQ(window.windowTitle(), "cadsim - Flansch - Blatt1");
    if (const QByteArray dir = qgetenv("KUP_SCREENSHOT_DIR"); !dir.isEmpty())
        window.grab().save(QString::fromLocal8Bit(dir) + "/cadsim.png");

    const QImage first = preview->pixmap().toImage();
    ASSERT_TRUE(session.activateSheet(session.activeDocument()->id, "Blatt2"));  // as an export would
    EXPECT_EQ(sheets->item(1)->text(), QString::fromUtf8("▶ Blatt2"));
    EXPECT_EQ(sheets->item(0)->text(), "   Blatt1");
    // A4 portrait: the preview is taller than wide, the A3 one was not.
    const QImage second = preview->pixmap().toImage();
    EXPECT_GT(second.height(), second.width());
    EXPECT_LT(first.height(), first.width());

    sheets->setCurrentRow(2);  // the user clicks a sheet
    EXPECT_EQ(session.activeDocument()->drawing.activeSheet, 2);
    documents->setCurrentRow(0);  // and the part
    EXPECT_EQ(session.activeDocument()->drawing.title, "Welle");
    EXPECT_EQ(sheets->count(), 0);
    EXPECT_EQ(preview->text(), "(keine Blätter)");

    session.closeAllDocuments();
    EXPECT_EQ(documents->count(), 0);
    EXPECT_EQ(window.windowTitle(), "cadsim - Ersatz-CAD (SldWorks.Application)");
}

}  // namespace
