// Where a benchmark's export run writes: a log kept as the main window's box
// keeps it (appended at the end), and boxes that only complain.
#pragma once

#include "screen/message_boxes.h"
#include "screen/output_log.h"

#include <cstdio>
#include <string>

namespace bench {

class AppendLog : public kup::OutputLog {
public:
    void replace(const std::string& text) override { text_ = text; }
    void insert(const std::string& text) override { text_ += text; }
    void refresh() override {}
    std::size_t size() const { return text_.size(); }

private:
    std::string text_;
};

struct NullBoxes : kup::MessageBoxes {
    void show(const std::string& text, const std::string&, kup::Icon) override
    {
        std::fprintf(stderr, "unerwartete Meldung: %s\n", text.c_str());
    }
};

}  // namespace bench
