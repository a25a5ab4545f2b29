// OvDurAru.dll loaded the way the runtime loads it, with every export
// resolved by name into a pointer of its calling interface. Shared by the
// tests, the benchmark and ovcall.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

#include "core/export_list.h"

namespace ov {

// The module cannot be loaded or lacks an export.
class LoadError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct LoadedModule {
    HMODULE handle = nullptr;
#define OV_EXPORT_POINTER(name, kind, params, names) exports::name name = nullptr;
    OV_EXPORT_LIST(OV_EXPORT_POINTER)
#undef OV_EXPORT_POINTER
};

// The folder of the running program, and OvDurAru.dll in it.
std::string ProgramFolder();
std::string ModuleBesideProgram();

// Loads the module at path, for the life of the process: a worker that has
// just published its answer may still be leaving the module's code. Throws
// LoadError naming the module, or the first export it lacks.
LoadedModule LoadModule(const std::string& path);

} // namespace ov
