// Each of the six windows as it opens, against its reviewed reference file.
#include "app/frmMain.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmHelpSaveAsTiff.h"
#include "dialogs/frmOpenDirectory.h"
#include "sheetinfo/frmSheetInfo.h"
#include "tests/support/window_dump.h"
#include "tiffoptions/frmTIFFOptions.h"

#include <QLocale>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

template <class Form> std::function<std::unique_ptr<ui::Form>()> opener()
{
    return [] { return std::make_unique<Form>(); };
}

TEST(WindowDefinition, EachOfTheSixOpensAsItsReferenceFileSays)
{
    // The TIFF options window shows its paper size in metres as German settings write them.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::pair<std::string, std::function<std::unique_ptr<ui::Form>()>> windows[] = {
        {"frmMain", opener<frmMain>()},
        {"frmTIFFOptions", opener<frmTIFFOptions>()},
        {"frmSheetInfo", opener<frmSheetInfo>()},
        {"frmAbout", opener<frmAbout>()},
        {"frmHelpSaveAsTiff", opener<frmHelpSaveAsTiff>()},
        {"frmOpenDirectory", opener<frmOpenDirectory>()}};
    for (const auto& [name, open] : windows) {
        const std::unique_ptr<ui::Form> form = open();
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get())) << name;
        fake::expectAsReference(*form, name + ".txt");
    }
    QLocale::setDefault(QLocale::c());
}
