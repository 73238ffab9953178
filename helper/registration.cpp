#include "helper/registration.h"

#include <olectl.h>
#include <oleauto.h>

#include <string>

#include "gleanix_idl.h"
#include "common/win/reg_key.h"
#include "helper/module.h"

namespace gleanix {

namespace {
constexpr char kClassName[] = "InfoGather Class";
constexpr char kProgId[] = "Gleanix.InfoGather.1";
constexpr char kIndependentProgId[] = "Gleanix.InfoGather";

std::string GuidText(REFGUID guid) {
    wchar_t wide[40] = {};
    StringFromGUID2(guid, wide, 40);
    std::string text;
    for (const wchar_t* p = wide; *p; ++p) text.push_back(static_cast<char>(*p));
    return text;
}

// Where the class keys of a scope live.
struct ClassesRoot {
    HKEY root;
    std::string prefix;
};

ClassesRoot RootOf(Scope scope) {
    if (scope == Scope::User) return {HKEY_CURRENT_USER, "Software\\Classes\\"};
    return {HKEY_CLASSES_ROOT, ""};
}

// Sets the default value (name nullptr) or a named value of a class key,
// creating the key.
bool SetClassValue(const ClassesRoot& at, const std::string& key, const char* name, const std::string& value) {
    win::RegKey k;
    return k.Create(at.root, at.prefix + key, KEY_WRITE) == ERROR_SUCCESS && k.SetText(name, value) == ERROR_SUCCESS;
}

bool CreateClassKey(const ClassesRoot& at, const std::string& key) {
    win::RegKey k;
    return k.Create(at.root, at.prefix + key, KEY_WRITE) == ERROR_SUCCESS;
}

void DeleteClassTree(const ClassesRoot& at, const std::string& key) {
    RegDeleteTreeA(at.root, (at.prefix + key).c_str());
}

// The per-user type library calls come with Windows Vista; looked up so
// that the library still loads where they are missing.
using RegisterForUser = HRESULT(WINAPI*)(ITypeLib*, OLECHAR*, OLECHAR*);
using UnregisterForUser = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);
void* OleAutomationProc(const char* name) {
    HMODULE oleaut = GetModuleHandleA("oleaut32.dll");
    return oleaut ? reinterpret_cast<void*>(GetProcAddress(oleaut, name)) : nullptr;
}

HRESULT RegisterOwnTypeLib(Scope scope) {
    ITypeLib* lib = nullptr;
    HRESULT hr = LoadOwnTypeLib(&lib);
    if (FAILED(hr)) return hr;
    std::wstring path = ModulePathW();
    if (scope == Scope::User) {
        const auto forUser = reinterpret_cast<RegisterForUser>(OleAutomationProc("RegisterTypeLibForUser"));
        hr = forUser ? forUser(lib, path.data(), nullptr) : E_NOTIMPL;
    } else {
        hr = RegisterTypeLib(lib, path.data(), nullptr);
    }
    lib->Release();
    return hr;
}

void UnregisterOwnTypeLib(Scope scope) {
    const SYSKIND kind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
    if (scope == Scope::User) {
        const auto forUser = reinterpret_cast<UnregisterForUser>(OleAutomationProc("UnRegisterTypeLibForUser"));
        if (forUser) forUser(LIBID_GLEANIXLib, 1, 0, 0x409, kind);
    } else {
        UnRegisterTypeLib(LIBID_GLEANIXLib, 1, 0, 0x409, kind);
    }
}

}  // namespace

HRESULT RegisterServer(Scope scope) {
    const ClassesRoot at = RootOf(scope);
    const std::string clsid = GuidText(CLSID_InfoGather);
    const std::string classKey = "CLSID\\" + clsid;
    // The class key is replaced whole, so nothing stale survives.
    DeleteClassTree(at, classKey);
    bool ok = SetClassValue(at, kProgId, nullptr, kClassName) &&
              SetClassValue(at, std::string(kProgId) + "\\CLSID", nullptr, clsid) &&
              SetClassValue(at, kIndependentProgId, nullptr, kClassName) &&
              SetClassValue(at, std::string(kIndependentProgId) + "\\CLSID", nullptr, clsid) &&
              SetClassValue(at, std::string(kIndependentProgId) + "\\CurVer", nullptr, kProgId) &&
              SetClassValue(at, classKey, nullptr, kClassName) &&
              SetClassValue(at, classKey + "\\ProgID", nullptr, kProgId) &&
              SetClassValue(at, classKey + "\\VersionIndependentProgID", nullptr, kIndependentProgId) &&
              CreateClassKey(at, classKey + "\\Programmable") &&
              SetClassValue(at, classKey + "\\InprocServer32", nullptr, ModulePath()) &&
              SetClassValue(at, classKey + "\\InprocServer32", "ThreadingModel", "Apartment") &&
              SetClassValue(at, classKey + "\\TypeLib", nullptr, GuidText(LIBID_GLEANIXLib));
    if (!ok) return SELFREG_E_CLASS;
    return FAILED(RegisterOwnTypeLib(scope)) ? SELFREG_E_TYPELIB : S_OK;
}

HRESULT UnregisterServer(Scope scope) {
    const ClassesRoot at = RootOf(scope);
    DeleteClassTree(at, kProgId);
    DeleteClassTree(at, kIndependentProgId);
    DeleteClassTree(at, "CLSID\\" + GuidText(CLSID_InfoGather));
    UnregisterOwnTypeLib(scope);
    return S_OK;
}

bool InstallScopeFromCommandLine(const wchar_t* commandLine, Scope& scope) {
    std::wstring text = commandLine ? commandLine : L"";
    for (wchar_t& c : text)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    if (text.empty() || text == L"machine") {
        scope = Scope::Machine;
        return true;
    }
    if (text == L"user") {
        scope = Scope::User;
        return true;
    }
    return false;
}

}  // namespace gleanix
