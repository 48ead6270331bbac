#include "cad/com/apartment.h"

namespace cad::com {

Apartment::Apartment()
{
    // A thread that already runs COM in the other model (the toolkit may have
    // set it up) can still make our calls; only our own entry is undone later.
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    entered_ = SUCCEEDED(result);
    filter_ = std::make_unique<MessageFilterScope>();
}

Apartment::~Apartment()
{
    filter_.reset();
    if (entered_)
        CoUninitialize();
}

}  // namespace cad::com
