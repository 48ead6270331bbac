// Chooses the CAD backend that cad::attach() uses for the whole run.
#pragma once

void installCadBackend();
