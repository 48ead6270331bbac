// The names both sides of the session-bus contract use: the tool's backend
// calls them, cadsim serves them. One place, so the two cannot drift apart.
#pragma once

#include <QString>

namespace cad::dbus::contract {

inline const QString kService = QStringLiteral("SldWorks.Application");  // well-known bus name = ProgID
inline const QString kApplicationPath = QStringLiteral("/Application");
inline const QString kControlPath = QStringLiteral("/Control");

inline const QString kApplication = QStringLiteral("SldWorks.Application");
inline const QString kModelDoc = QStringLiteral("SldWorks.ModelDoc2");
inline const QString kDrawingDoc = QStringLiteral("SldWorks.DrawingDoc");
inline const QString kSheet = QStringLiteral("SldWorks.Sheet");
inline const QString kControl = QStringLiteral("SldWorks.Control");

}  // namespace cad::dbus::contract
