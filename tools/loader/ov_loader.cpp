#include "loader/ov_loader.h"

namespace ov {
namespace {

template <class F> void Resolve(HMODULE module, const std::string& path, F& fn, const char* name) {
    FARPROC proc = GetProcAddress(module, name);
    if (!proc) throw LoadError(path + " has no export " + name);
    fn = reinterpret_cast<F>(reinterpret_cast<void*>(proc));
}

} // namespace

std::string ProgramFolder() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return ".";
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto cut = path.find_last_of("\\/");
    return cut == std::string::npos ? "." : path.substr(0, cut);
}

std::string ModuleBesideProgram() { return ProgramFolder() + "\\OvDurAru.dll"; }

LoadedModule LoadModule(const std::string& path) {
    LoadedModule m;
    m.handle = LoadLibraryA(path.c_str());
    if (!m.handle)
        throw LoadError("cannot load " + path + " (error " + std::to_string(GetLastError()) + ")");
#define OV_RESOLVE(name, kind, params, names) Resolve(m.handle, path, m.name, #name);
    OV_EXPORT_LIST(OV_RESOLVE)
#undef OV_RESOLVE
    return m;
}

} // namespace ov
