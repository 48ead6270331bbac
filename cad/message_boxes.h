// The seam through which operations show modal message boxes. Production shows
// a QMessageBox with OK only; tests record what would have been shown.
#pragma once

#include <string>

namespace kup {

enum class Icon { None, Warning };

// A box that is given no title carries the program title.
constexpr const char* kProgramTitle = "KUP_Tools";

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Blocks until the user confirms (production).
    virtual void show(const std::string& text, const std::string& title = std::string(),
                      Icon icon = Icon::None) = 0;
};

}  // namespace kup
