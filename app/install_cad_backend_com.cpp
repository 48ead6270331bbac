#include "app/install_cad_backend.h"

#include "cad/automation.h"
#include "cad/com/com_backend.h"

// The real CAD system, through its automation server.
void installCadBackend()
{
    cad::setBackend(cad::com::makeBackend());
}
