// The registry entries of the InfoGather class and its type library, for
// the whole machine (HKEY_CLASSES_ROOT, as regsvr32 does) or for the
// calling user alone (HKEY_CURRENT_USER\Software\Classes, which needs no
// administrator rights and which Windows merges into HKEY_CLASSES_ROOT for
// that user).
#pragma once
#include <windows.h>

namespace gleanix {

enum class Scope { Machine, User };

HRESULT RegisterServer(Scope scope = Scope::Machine);
HRESULT UnregisterServer(Scope scope = Scope::Machine);

// DllInstall's command line: empty or "machine" for the machine, "user"
// for the calling user (any case); false for anything else.
bool InstallScopeFromCommandLine(const wchar_t* commandLine, Scope& scope);

}  // namespace gleanix
