#include "cadsim/options.h"

#include "cad/dbus/dbus_contract.h"

#include <algorithm>
#include <cctype>

namespace cadsim {

namespace {

// COM and Windows' installers write these with "-" or "/" and in any case.
bool* comSwitch(const std::string& argument, Options& options)
{
    if (argument.size() < 2 || (argument[0] != '-' && argument[0] != '/'))
        return nullptr;
    std::string word = argument.substr(1);
    std::transform(word.begin(), word.end(), word.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (word == "embedding")
        return &options.embedding;
    if (word == "regserver")
        return &options.registerServer;
    if (word == "unregserver")
        return &options.unregisterServer;
    return nullptr;
}

}  // namespace

bool parseOptions(const std::vector<std::string>& arguments, Options& options, std::string& error)
{
    bool onlyFiles = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (bool* flag = onlyFiles ? nullptr : comSwitch(a, options)) {
            *flag = true;
        } else if (onlyFiles || a.empty() || a[0] != '-') {
            options.drawings.push_back(a);
        } else if (a == "--") {
            onlyFiles = true;
        } else if (a == "--headless") {
            options.headless = true;
        } else if (a == "--empty") {
            options.empty = true;
        } else if (a == "--journal") {
            options.journal = true;
        } else if (a == "--help" || a == "-h") {
            options.help = true;
        } else if (a == "--prefs" || a.rfind("--prefs=", 0) == 0) {
            if (a == "--prefs") {
                if (i + 1 >= arguments.size()) {
                    error = "--prefs braucht einen Dateinamen";
                    return false;
                }
                options.preferencesFile = arguments[++i];
            } else {
                options.preferencesFile = a.substr(8);
            }
        } else {
            error = "unbekannte Option " + a + " (--help zeigt die Optionen)";
            return false;
        }
    }
    if (options.registerServer && options.unregisterServer) {
        error = "/RegServer und /UnregServer schließen sich aus";
        return false;
    }
    if (options.empty && !options.drawings.empty()) {
        error = "--empty und Zeichnungsdateien schließen sich aus";
        return false;
    }
    return true;
}

namespace {

using namespace cad::dbus::contract;
namespace members = cad::members;

std::string name(Id id)
{
    return std::string(member(id).name);
}

// "SetUserPreferenceToggle(i pref, b value)", "ActiveDoc() -> o", "Visible (b, Eigenschaft, ...)".
std::string memberLine(const Member& m)
{
    const std::string type(signatureOf(m.result));
    if (m.access == members::Access::Property)
        return std::string(m.name) + " (" + type + ", Eigenschaft, lesen und schreiben)";
    std::string line = std::string(m.name) + "(";
    for (const members::Parameter& p : m.parameters())
        line += (&p == m.parameters().data() ? "" : ", ") + std::string(signatureOf(p.kind)) + " " +
                std::string(p.name);
    return line + ")" + (type.empty() ? "" : " -> " + type);
}

std::string objects()
{
    std::string text =
        "Objekte und Schnittstellen (Bus-Name " + kService.toStdString() + ", Typen als D-Bus-Signaturen):\n";
    for (const Interface iface : members::kInterfaces) {
        text += "  " + std::string(pathOf(members::objectOf(iface))) + "  " +
                std::string(interfaceName(iface)) + "\n";
        for (const Member& m : members::kMembers)
            if (m.iface == iface)
                text += "      " + memberLine(m) + "\n";
    }
    return text;
}

}  // namespace

std::string helpText()
{
    return R"(cadsim - das Ersatz-CAD für KUP-Tools auf dem D-Bus-Sitzungsbus

Aufruf: cadsim [--headless] [--prefs DATEI] [--empty] [--journal] [ZEICHNUNG.json ...]
        cadsim.exe /RegServer | /UnregServer

  --headless      ohne Fenster (für Tests und Server)
  --prefs DATEI   TIFF-Einstellungen in DATEI statt in ~/.config/cadsim/preferences.json
  --empty         ohne geöffnetes Dokument starten
  -h, --help      diese Hilfe
  /RegServer      (Windows) als COM-Server SldWorks.Application für den Benutzer eintragen
  /UnregServer    (Windows) diesen Eintrag entfernen
  /Embedding      (Windows) von COM als lokaler Server gestartet
                  Alle drei auch mit "-" und in beliebiger Schreibung.
  --journal       (Windows) jeden Aufruf eines CAD-Mitglieds mit seinen Variant-Typen
                  ausgeben, etwa: cadsim: Aufruf )" +
           name(Id::GetUserPreferenceToggle) + R"((VT_I4 28)

Ohne Zeichnung öffnet cadsim die Beispielzeichnung ~/Documents/cadsim/Flansch.json
(beim ersten Start angelegt). Die erste angegebene Zeichnung wird das aktive Dokument.
cadsim belegt den Namen SldWorks.Application; ist er vergeben oder fehlt der
Sitzungsbus, endet es mit einer Meldung.

Zeichnungsdatei (JSON; unbekannte Schlüssel werden übergangen):
  {"type": "drawing" | "part" | "assembly",
   "title": "Flansch",           (optional, sonst Dateiname ohne Endung)
   "activeSheet": "Blatt2",      (optional, sonst das erste Blatt)
   "sheets": [{"name": "Blatt1", "paperSize": 8, "template": 8,
               "templatePath": "C:\\Vorlagen\\a3.drt", "scale": [1, 2], "firstAngle": true,
               "width": 0.42, "height": 0.297,   (Meter; optional, Pflicht bei paperSize 12)
               "entities": [{"line": [x1, y1, x2, y2]}, {"polyline": [x1, y1, x2, y2, ...]},
                            {"rect": [x, y, b, h]}, {"circle": [mx, my, r]},
                            {"arc": [mx, my, r, startGrad, winkelGrad]},
                            {"text": [x, y, höhe, "Text"]}]}]}
  Maße in Millimetern, Ursprung links unten; jedes Element darf "w" tragen
  (Linienbreite in mm, Vorgabe 0.35). Teile und Baugruppen haben keine Blätter.

)" + objects() +
           "  " + name(Id::GetType) + R"(: 1 Teil, 2 Baugruppe, 3 Zeichnung. )" + name(Id::GetProperties) +
           R"(: Format, Vorlage, Maßstab Zähler,
  Nenner, Erstwinkel -1/0, Breite, Höhe in m.
  )" + name(Id::InjectFault) +
           R"(-Arten: "refuse" (das Mitglied liefert seinen Fehlwert), "error" (D-Bus-Fehlerantwort,
  unter Windows DISP_E_EXCEPTION), "hang" (keine Antwort); ein leeres Argument gilt für jeden
  Aufruf, sonst nur für den mit diesem ersten Argument. "busy" (Windows, Mitglied ""):
  )" + name(Id::InjectFault) +
           R"(("", "<n>", "busy") weist die nächsten n ankommenden Aufrufe ab
  (der Nachrichtenfilter antwortet SERVERCALL_REJECTED); )" +
           name(Id::ClearFaults) + R"( hebt es auf.
  Unter Windows dieselben Mitglieder über IDispatch: SldWorks.Application und, für die
  Steuerung, SldWorks.Control (nie beschäftigt, nie hängend).

TIFF-Einstellungen: ganzzahlig 6 Bildschirm(0)/Druck(1), 7 Schwarzweiß(0)/RGB(1),
  8 Kompression keine(0)/PackBits(1)/Group 4(2), 9 DPI (10-2400), 10 Papierformat 0-12,
  11 Maßstab in % (1-1000); Schalter 28 auf Papier einpassen; Kommazahl 8/9 Papierbreite
  und -höhe in m (bei Format 12). Ein Setzer liefert 0 bei unbekannter Nummer oder
  ungültigem Wert.

)" + name(Id::SaveAsSilent) +
           R"((name, flag): speichert das aktive Blatt als TIFF, wenn name auf ".tif" endet.
  Ein Name ohne Ordner landet im Ordner der Zeichnung; "\" und "/" trennen Ordner.
  Die Datei entsteht unter einem Zwischennamen und wird erst fertig umbenannt.
  Ergebnis: 0 gespeichert
            1 andere Endung als .tif
            2 Ordner fehlt
            3 Ordner nicht beschreibbar
            4 Zeichen im Dateinamen, das Windows verbietet (< > : " | ? * Steuerzeichen)
            5 Group 4 mit Farbe (RGB) geht nicht
            6 Dokument ohne Blatt (Teil, Baugruppe, leere Zeichnung)
            7 Schreiben fehlgeschlagen (Datenträger voll, E/A-Fehler)
            8 abgelehnt durch )" +
           name(Id::InjectFault) + "\n";
}

}  // namespace cadsim
