// Placeholder until file deletion lands.
#include "core/app.h"

short COvDEvedApp::FileDelete(const char*, short) { return -1; }
