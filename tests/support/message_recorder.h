// Records message boxes instead of showing them.
#pragma once

#include "app/message_box.h"

#include <string>
#include <vector>

namespace fake {

struct Message {
    std::string text;
    std::string title;
    ui::Icon icon = ui::Icon::None;
    bool operator==(const Message&) const = default;
};

class MessageRecorder : public ui::MessageBoxes {
public:
    void show(const std::string& text, const std::string& title, ui::Icon icon) override
    {
        messages.push_back({text, title.empty() ? ui::kProgramTitle : title, icon});
    }
    std::vector<Message> messages;
};

}  // namespace fake
