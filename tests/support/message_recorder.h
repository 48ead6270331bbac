// Records message boxes instead of showing them.
#pragma once

#include "screen/message_boxes.h"

#include <functional>
#include <string>
#include <vector>

namespace fake {

struct Message {
    std::string text;
    std::string title;
    kup::Icon icon = kup::Icon::None;
    bool operator==(const Message&) const = default;
};

class MessageRecorder : public kup::MessageBoxes {
public:
    void show(const std::string& text, const std::string& title, kup::Icon icon) override
    {
        messages.push_back({text, title.empty() ? kup::kProgramTitle : title, icon});
        if (whileShown)
            whileShown();
    }
    std::vector<Message> messages;
    // Runs while each box is up, after it is recorded: for noting what the
    // windows show at that moment.
    std::function<void()> whileShown;
};

}  // namespace fake
