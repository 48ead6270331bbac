// The seam through which the core and the windows show modal message boxes. Production shows a
// QMessageBox with OK only; tests record what would have been shown.
#pragma once

#include <string>

namespace kup {

enum class Icon { None, Warning };

// A box that is given no title carries the program title.
constexpr const char* kProgramTitle = "KUP_Tools";

// The titles the boxes carry, one place for core and windows alike.
constexpr const char* kTitleFehlerinfo = "KUP-Tools - Fehlerinfo";  // a failure
constexpr const char* kTitleWarnung = "KUP-Tools Warnung";          // an input the window refuses
constexpr const char* kTitleSetzenErfolgreich = "KUP-Tools Setzen erfolgreich";
constexpr const char* kTitleInfo = "info";  // the export's failures inside its sheet loop

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Blocks until the user confirms (production).
    virtual void show(const std::string& text, const std::string& title = std::string(),
                      Icon icon = Icon::None) = 0;
};

}  // namespace kup
