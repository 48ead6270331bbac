// The two-sheet drawing whose second sheet cannot be activated, and its report
// under German regional settings, byte for byte.
#pragma once

#include "tests/support/fake_cad.h"

#include <string>

namespace sheetinfotest {

inline fake::Document workedExampleDrawing()
{
    fake::Sheet first = fake::makeSheet("Blatt1", 6, 6, 1, 2, true);
    first.templatePath = "C:\\Vorlagen\\a4-quer.drt";
    return fake::Document{
        cad::kDocDrawing, "Flansch", {first, fake::makeSheet("Blatt2", 8, -1, 1, 1, false)}, 0};
}

// With the fault that refuses the second sheet.
inline void refuseSecondSheet(fake::Cad& cad)
{
    cad.addFault({"ActivateSheet", fake::FaultKind::Refuse, "Blatt2"});
}

inline const std::string kWorkedExampleReport = "Anzahl Blätter 2\r\n"
                                                "------------------------------\r\n"
                                                "Sheet 0 Name :   Blatt1\r\n"
                                                "Papiergröße  : 6  (A4 quer)\r\n"
                                                "Vorlagengröße: 6  (A4 quer)\r\n"
                                                "Vorlage in   : C:\\Vorlagen\\a4-quer.drt\r\n"
                                                "Maßstab      : 1:2\r\n"
                                                "   -zähler   : 1\r\n"
                                                "   -nenner   : 2\r\n"
                                                "PTyp 1.Winkel: -1\r\n"
                                                "Papierbreite : 0,297\r\n"
                                                "Papierhöhe   : 0,21\r\n"
                                                "------------------------------\r\n"
                                                "Sheet 1 Name :   Blatt2\r\n";

}  // namespace sheetinfotest
