// The library's own handle, path and lifetime counts.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string>

namespace gleanix {

HINSTANCE ModuleHandle();
// Full path of Gleanix.dll as loaded.
std::string ModulePath();
std::wstring ModulePathW();
// The type library embedded in the library (resource TYPELIB 1).
HRESULT LoadOwnTypeLib(ITypeLib** lib);

// Live objects and LockServer locks; the library may unload at zero.
void ModuleAddRef();
void ModuleRelease();
bool ModuleInUse();

}  // namespace gleanix
