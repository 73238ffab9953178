// The registry entries of the InfoGather class and its type library.
#pragma once
#include <windows.h>

namespace gleanix {

HRESULT RegisterServer();
HRESULT UnregisterServer();

}  // namespace gleanix
