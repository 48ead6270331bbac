// Message boxes on the screen: modal, OK only, warning icon or none.
#pragma once

#include "screen/message_boxes.h"

class QWidget;

namespace ui {

class QtMessageBoxes : public kup::MessageBoxes {
public:
    // parent: the window the box belongs to (centred over it); may be null.
    explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}
    void show(const std::string& text, const std::string& title = std::string(),
              kup::Icon icon = kup::Icon::None) override;

private:
    QWidget* parent_;
};

// While one lives, every window shows its boxes through the given boxes instead
// of on the screen (tests record them there). Guards nest; the innermost holds.
class ScopedMessageBoxes {
public:
    explicit ScopedMessageBoxes(kup::MessageBoxes& boxes);
    ~ScopedMessageBoxes();
    ScopedMessageBoxes(const ScopedMessageBoxes&) = delete;
    ScopedMessageBoxes& operator=(const ScopedMessageBoxes&) = delete;

private:
    kup::MessageBoxes* previous_;
};

// The boxes a guard installed, or null: boxes go to the screen.
kup::MessageBoxes* installedMessageBoxes();

}  // namespace ui
