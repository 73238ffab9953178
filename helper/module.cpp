#include "helper/module.h"

#include <atomic>

namespace gleanix {

namespace {
HINSTANCE g_instance = nullptr;
std::atomic<long> g_uses{0};
}  // namespace

void SetModuleHandle(HINSTANCE instance) { g_instance = instance; }
HINSTANCE ModuleHandle() { return g_instance; }

namespace {
// GetModuleFileName in either width, with a buffer grown until the name fits.
template <typename String, typename GetName>
String ModuleFileName(GetName getName) {
    String path(MAX_PATH, 0);
    for (;;) {
        const DWORD n = getName(g_instance, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}
}  // namespace

std::string ModulePath() { return ModuleFileName<std::string>(&GetModuleFileNameA); }
std::wstring ModulePathW() { return ModuleFileName<std::wstring>(&GetModuleFileNameW); }

HRESULT LoadOwnTypeLib(ITypeLib** lib) { return LoadTypeLibEx(ModulePathW().c_str(), REGKIND_NONE, lib); }

void ModuleAddRef() { ++g_uses; }
void ModuleRelease() { --g_uses; }
bool ModuleInUse() { return g_uses.load() != 0; }

}  // namespace gleanix
