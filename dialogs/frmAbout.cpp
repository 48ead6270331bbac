#include "dialogs/frmAbout.h"

#include "dialogs/system_info.h"

#include <QLabel>
#include <QPushButton>

using namespace ui;

namespace {

const WindowDef kWindow{
    .name = "frmAbout",
    .title = "",  // set at load
    .width = 5730,
    .height = 3555,
    .placement = Placement{2340, 1935},
    .border = Border::FixedDialog,
    .icon = true,
};

const Rgb kBlack{0, 0, 0};

// clang-format off
const std::vector<ControlDef> kControls{
    {.name = "picIcon", .kind = Kind::PictureBox,
     .left = 240, .top = 240, .width = 690, .height = 690, .tab = 1, .picture = Picture::Logo},
    {.name = "cmdOK", .kind = Kind::CommandButton, .caption = "&OK",
     .left = 4245, .top = 2625, .width = 1260, .height = 345, .tab = 0, .flags = Default | Cancel},
    {.name = "cmdSysInfo", .kind = Kind::CommandButton, .caption = "&System-Info...",
     .left = 4260, .top = 3075, .width = 1245, .height = 345, .tab = 2},
    // Grey under white, one pixel apart: together they read as one engraved line.
    {.name = "Line1(1)", .kind = Kind::Line, .left = 90, .top = 2445,
     .color = Rgb{128, 128, 128}, .x2 = 5654, .y2 = 2445, .lineWidthPx = 1},
    {.name = "lblDescription", .kind = Kind::Label, .caption = "Beschreibung",
     .left = 1050, .top = 1125, .width = 3885, .height = 1170, .tab = 3, .color = kBlack},
    {.name = "lblTitle", .kind = Kind::Label, .caption = "Titel",
     .left = 1050, .top = 240, .width = 3885, .height = 480, .tab = 5, .color = kBlack},
    {.name = "Line1(0)", .kind = Kind::Line, .left = 105, .top = 2460,
     .color = Rgb{255, 255, 255}, .x2 = 5654, .y2 = 2460, .lineWidthPx = 2},
    {.name = "lblVersion", .kind = Kind::Label, .caption = "Version",
     .left = 1050, .top = 780, .width = 3885, .height = 225, .tab = 6},
    {.name = "lblDisclaimer", .kind = Kind::Label, .caption = "Warnung: ...",
     .left = 255, .top = 2625, .width = 3870, .height = 825, .tab = 4, .color = kBlack},
};
// clang-format on

const char* const kDescription =
    "KUP-Tools sind eine Sammlung von einfachen Tools zur Bearbeitung von Solidworks-Drawings. Der Autor "
    "übernimmt keinerlei Haftung für die korrekte Arbeit dieser Tools.";
const char* const kCopyright = "Copyright © 2026 KUP-Tools";
const char* const kContact = "Anregungen und Informationen bitte per E-Mail an kup-tools@example.org";

}  // namespace

frmAbout::frmAbout() : frmAbout(kup::systemRegistry(), kup::systemLauncher()) {}

frmAbout::frmAbout(kup::Registry& registry, kup::ProgramLauncher& launcher)
    : Form(kWindow, kControls), registry_(registry), launcher_(launcher)
{
    on(require<QPushButton>("cmdOK"), &QPushButton::clicked, &frmAbout::cmdOK_Click);
    on(require<QPushButton>("cmdSysInfo"), &QPushButton::clicked, &frmAbout::cmdSysInfo_Click);
    Form_Load();
}

void frmAbout::Form_Load()
{
    const QString title = QString::fromUtf8(kup::kProgramTitle);
    setWindowTitle(title + "-Info");
    require<QLabel>("lblTitle")->setText(title);
    require<QLabel>("lblVersion")
        ->setText(QStringLiteral("Version %1.%2.%3")
                      .arg(KUP_VERSION_MAJOR)
                      .arg(KUP_VERSION_MINOR)
                      .arg(KUP_VERSION_REVISION));
    require<QLabel>("lblDescription")->setText(QString::fromUtf8(kDescription));
    // Two lines: the label breaks where the text has its line break.
    require<QLabel>("lblDisclaimer")
        ->setText(QString::fromUtf8(kCopyright) + "\n" + QString::fromUtf8(kContact));
}

void frmAbout::cmdOK_Click()
{
    close();
}

void frmAbout::cmdSysInfo_Click()
{
    kup::StartSysInfo(registry_, launcher_, messages());
}
