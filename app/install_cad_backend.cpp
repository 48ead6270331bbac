#include "app/install_cad_backend.h"

// >>> The one place where the program picks its CAD backend (COM on Windows,
// >>> D-Bus elsewhere) with cad::setBackend(). Nothing is installed yet, so
// >>> cad::attach() finds no application and every operation reports that.
void installCadBackend() {}
