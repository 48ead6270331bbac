// Each of the six windows as it opens, against its reviewed reference file.
#include "app/frmMain.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmHelpSaveAsTiff.h"
#include "dialogs/frmOpenDirectory.h"
#include "sheetinfo/frmSheetInfo.h"
#include "tests/support/fake_cad.h"
#include "tests/support/window_dump.h"
#include "tiffoptions/frmTIFFOptions.h"

#include <QLocale>
#include <QTest>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <memory>

template <class Form> void expectAsReference(const std::string& name)
{
    const auto form = std::make_unique<Form>();
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get())) << name;
    fake::expectAsReference(*form, name + ".txt");
}

TEST(WindowDefinition, EachOfTheSixOpensAsItsReferenceFileSaysWithoutAskingTheCad)
{
    fake::Cad cad;
    cad.install();
    // The TIFF options window shows its paper size in metres as German settings write them.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    expectAsReference<frmMain>("frmMain");
    expectAsReference<frmTIFFOptions>("frmTIFFOptions");
    expectAsReference<frmSheetInfo>("frmSheetInfo");
    expectAsReference<frmAbout>("frmAbout");
    expectAsReference<frmHelpSaveAsTiff>("frmHelpSaveAsTiff");
    expectAsReference<frmOpenDirectory>("frmOpenDirectory");
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(cad.journal(), std::vector<std::string>{});
}
