// An export log kept as plain text with an insertion point, as the main
// window's log box behaves.
#pragma once

#include "screen/output_log.h"

#include <string>
#include <vector>

namespace fake {

class TextLog : public kup::OutputLog {
public:
    void replace(const std::string& newText) override
    {
        text = newText;
        cursor = 0;
    }
    void insert(const std::string& piece) override
    {
        text.insert(cursor, piece);
        cursor += piece.size();
    }
    void refresh() override { refreshed.push_back(text); }

    std::string text;
    std::size_t cursor = 0;
    std::vector<std::string> refreshed;  // the text at every refresh
};

}  // namespace fake
