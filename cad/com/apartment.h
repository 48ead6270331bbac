// COM on the calling thread for the tool's calls into the CAD system, with the message filter that
// bounds them (message_filter.h).
#pragma once

#include "cad/com/message_filter.h"

#include <memory>

namespace cad::com {

// COM on the calling thread, for as long as any object obtained through it lives.
class Apartment {
public:
    Apartment();
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;
    ~Apartment();

private:
    bool entered_;
    std::unique_ptr<MessageFilterScope> filter_;
};

}  // namespace cad::com
