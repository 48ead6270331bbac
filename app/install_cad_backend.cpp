#include "app/install_cad_backend.h"

#include "cad/automation.h"

#ifdef _WIN32
#include "cad/com/com_backend.h"
#else
#include "cad/dbus/dbus_backend.h"
#endif

// The real CAD system on Windows; elsewhere the stand-in on the session bus,
// started on demand from beside this program.
void installCadBackend()
{
#ifdef _WIN32
    cad::setBackend(cad::com::makeBackend());
#else
    cad::setBackend(cad::dbus::makeBackend());
#endif
}
