// Message boxes on the screen: modal, OK only, warning icon or none.
#pragma once

#include "cad/message_boxes.h"

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

}  // namespace ui
