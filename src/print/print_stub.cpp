// Placeholder until the printing subsystem lands.
#include "core/app.h"

short COvDEvedApp::PrintLine(const char*, const char*) { return -1; }
