// The export's view of its output log: a multi-line text with an insertion point.
#pragma once

#include <string>

namespace kup {

class ExportLog {
public:
    virtual ~ExportLog() = default;
    // The whole text becomes text; the insertion point moves to its start.
    virtual void replace(const std::string& text) = 0;
    // text goes in at the insertion point, which moves to just behind it.
    virtual void insert(const std::string& text) = 0;
    // Redraws at once, although the run still holds the UI thread.
    virtual void refresh() = 0;
};

}  // namespace kup
