#include "app/install_cad_backend.h"

#include "cad/automation.h"
#include "cad/dbus/dbus_backend.h"

// The stand-in CAD on the session bus, started on demand from beside this program.
void installCadBackend()
{
    cad::setBackend(cad::dbus::makeBackend());
}
