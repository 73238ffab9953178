// The entry points of the in-process server.
#include <windows.h>
#include <objbase.h>

#include "common/code_page.h"
#include "common/resources.h"
#include "helper/info_gather.h"
#include "helper/module.h"
#include "helper/picked_text_rules.h"
#include "helper/registration.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        SetAppInstance(instance);
        DisableThreadLibraryCalls(instance);
        InstallSystemCodePage();
        gleanix::SetLeadByteTest([](unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; });
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
    static gleanix::InfoGatherFactory factory;
    if (!out) return E_POINTER;
    *out = nullptr;
    if (clsid != CLSID_InfoGather) return CLASS_E_CLASSNOTAVAILABLE;
    return factory.QueryInterface(riid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return gleanix::ModuleInUse() ? S_FALSE : S_OK; }

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() { return gleanix::RegisterServer(); }

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() { return gleanix::UnregisterServer(); }

// regsvr32 /n /i:user registers for the calling user only; /u /n /i:user
// takes that registration away again.
extern "C" HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR commandLine) {
    gleanix::Scope scope;
    if (!gleanix::InstallScopeFromCommandLine(commandLine, scope)) return E_INVALIDARG;
    return install ? gleanix::RegisterServer(scope) : gleanix::UnregisterServer(scope);
}
