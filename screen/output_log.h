// The seam through which the core and the windows write a window's output box (txtAusgabe): a
// multi-line text with an insertion point.
#pragma once

#include <string>

namespace kup {

class OutputLog {
public:
    virtual ~OutputLog() = default;
    // The whole text becomes text; the insertion point moves to its start.
    virtual void replace(const std::string& text) = 0;
    // text goes in at the insertion point, which moves to just behind it.
    virtual void insert(const std::string& text) = 0;
    // Redraws at once, although the run still holds the UI thread.
    virtual void refresh() = 0;
};

}  // namespace kup
