#include "dialogs/frmHelpSaveAsTiff.h"

#include "ui/core_texts.h"

#include <QPlainTextEdit>
#include <QPushButton>

using namespace ui;

namespace {

const WindowDef kWindow{
    .name = "frmHelpSaveAsTiff",
    .title = "KUP-Tools für Solidworks - Kurzerklärung",
    .width = 6690,
    .height = 7545,
    .border = Border::Resizable,
    .icon = true,
};

// clang-format off
const std::vector<ControlDef> kControls{
    {.name = "cmdOkay", .kind = Kind::CommandButton, .caption = "Zurück",
     .left = 5160, .top = 7080, .width = 1215, .height = 375, .tab = 2},
    {.name = "txtHelpSaveAsTiff", .kind = Kind::TextBox,
     .left = 240, .top = 720, .width = 6135, .height = 6255, .tab = 1, .flags = MultiLine},
    {.name = "lblTitel", .kind = Kind::Label, .caption = "Hilfe zur Funktion: Speichern als TIFF",
     .left = 120, .top = 120, .width = 6375, .height = 495, .tab = 0, .flags = Centered,
     .font = Font{.face = Face::SansSerif, .points = 13.5, .weight = 700}, .color = Rgb{255, 0, 0}},
};
// clang-format on

// One line per paragraph; the box wraps them at its width.
const char* const kParagraphs[] = {
    "Diese Programmfunktion speichert alle einzelnen Blätter einer Solidworkszeichnung (Drawing) als TIFF "
    "ab. Diese Funktion wird häufig für die Dokumentation oder zur Archivierung in einem PDM-System "
    "benötigt.",
    "Um den Benutzer die Arbeit zu erleichtern ruft das Programm nacheinander alle Blätter der Zeichnung auf "
    "(was u.U. SEHR lange dauern kann, gerade wenn Sie viele Schnitte und Details auf den einzelnen Blättern "
    "haben.",
    "Vorgehensweise sollte wie folgt sein:",
    "1. TIFF-Optionen einstellen",
    "Stellen Sie in Solidworks oder über die Programmfunktionen die Standardparameter für den TIFF-Export "
    "ein. Sinnvollerweise sollten Sie die Optionen auf Sschwarz/Weiß Group Fax 4 und 'für Druck' einstellen, "
    "sowie die passende Auflösung (300 DPI dauert aber auch viel länger als 50 DPI!!)",
    "2. Einstellen der Linienstärken",
    "Stellen Sie in Solidworks unter Datei/Seite einrichten ... die Strichstärken ein, da diese auch für den "
    "TIFF-Export benutzt werden",
    "3. Format nach Blattvorgabe einstellen",
    "Wenn Sie jedes Blatt in dem Format exportieren wollen, in dem es erstellt wurde, aktivieren Sie bitte "
    "die Checkbox, ansonsten deaktivieren Sie diese. Das führt dann dazu, das alle Parameter für den "
    "TIFF-Export so benutzt werden, wie Sie sie unter 1. eingestellt haben.",
    "4. Namenskonvention für TIFF einstellen",
    "Stellen Sie anhand der Felder die Vorgabe für den zusammengesetzten Namen der erzeugten TIFFs ein. Im "
    "Moment gibts nur diese beiden Optionen. Irgendwann baue ich Funktion mal richtig ein, im Moment werden "
    "die SWX-Namen erzeugt.",
    "5. Ausgabeverzeichnis bestimmen",
    "Wählen Sie ein Ausgabeverzeichnis oder lassen Sie das Feld leer, um die TIFFs im selben Verzeichnis wie "
    "die Drawing zu speichern.",
    "6. TIFF erzeugen",
    "Klicken Sie den Button EXPORT an, lehnen sich zurück und harren der Dinge die da kommen. Der "
    "TIFF-Export kann je nach Umfang und Einstellungen zwischen wenigen Sekunden und mehreren Dutzend "
    "Minuten dauern, aber das ist vollständig von Solidworks bzw. Ihrer Arbeitsumgebung abhängig, denn "
    "dieses Progrämmchen läßt Solidworks die ganze Arbeit erledigen und sagt SWX nur, was es zu tun hat "
    ":-)))",
};

}  // namespace

std::string frmHelpSaveAsTiff::helpText()
{
    std::string text;
    for (const char* paragraph : kParagraphs) {
        text += paragraph;
        text += "\r\n\r\n";
    }
    return text;
}

frmHelpSaveAsTiff::frmHelpSaveAsTiff() : Form(kWindow, kControls)
{
    on(require<QPushButton>("cmdOkay"), &QPushButton::clicked, &frmHelpSaveAsTiff::cmdOkay_Click);
    Form_Load();
}

void frmHelpSaveAsTiff::Form_Load()
{
    // The box breaks lines at LF alone: each CR LF becomes one line break.
    require<QPlainTextEdit>("txtHelpSaveAsTiff")
        ->setPlainText(ui::qs(helpText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void frmHelpSaveAsTiff::cmdOkay_Click()
{
    close();
}
