// Placeholder until directory copy lands.
#include "core/app.h"

short COvDEvedApp::DirCopy(const char*, const char*, short, short) { return -1; }
