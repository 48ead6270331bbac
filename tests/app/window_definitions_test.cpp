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
#include <ostream>

namespace {

struct Window {
    std::string name;
    std::function<std::unique_ptr<ui::Form>()> open;
};

void PrintTo(const Window& window, std::ostream* out)
{
    *out << window.name;
}

template <class Form> Window window(const char* name)
{
    return {name, [] { return std::make_unique<Form>(); }};
}

class WindowDefinition : public ::testing::TestWithParam<Window> {
protected:
    // The TIFF options window shows its paper size in metres as German settings write them.
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_P(WindowDefinition, OpensAsItsReferenceFileSays)
{
    const std::unique_ptr<ui::Form> form = GetParam().open();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    fake::expectAsReference(*form, GetParam().name + ".txt");
}

INSTANTIATE_TEST_SUITE_P(Six, WindowDefinition,
                         ::testing::Values(window<frmMain>("frmMain"),
                                           window<frmTIFFOptions>("frmTIFFOptions"),
                                           window<frmSheetInfo>("frmSheetInfo"), window<frmAbout>("frmAbout"),
                                           window<frmHelpSaveAsTiff>("frmHelpSaveAsTiff"),
                                           window<frmOpenDirectory>("frmOpenDirectory")),
                         [](const ::testing::TestParamInfo<Window>& info) { return info.param.name; });

}  // namespace
