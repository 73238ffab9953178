#include "helper/module.h"

#include <atomic>

#include "common/resources.h"
#include "common/win/file_system.h"

namespace gleanix {

namespace {
std::atomic<long> g_uses{0};
}  // namespace

// The library's resources and name: the shared code takes its instance
// from the resource module, which DllMain sets to the library.
HINSTANCE ModuleHandle() { return AppInstance(); }
std::string ModulePath() { return win::ModuleFileName(ModuleHandle()); }
std::wstring ModulePathW() { return win::ModuleFileNameW(ModuleHandle()); }

HRESULT LoadOwnTypeLib(ITypeLib** lib) { return LoadTypeLibEx(ModulePathW().c_str(), REGKIND_NONE, lib); }

void ModuleAddRef() { ++g_uses; }
void ModuleRelease() { --g_uses; }
bool ModuleInUse() { return g_uses.load() != 0; }

}  // namespace gleanix
