// The main window after an export, as the user finds it.
#pragma once

#include "app/frmMain.h"

// Back at rest: the notice hidden, the default pointer, "Export" usable again.
inline bool idle(const frmMain& form)
{
    return !form.control("lblWorking")->isVisibleTo(&form) && form.cursor().shape() == Qt::ArrowCursor &&
           form.control("cmdTS_SaveSheetAsTiff")->isEnabled();
}
