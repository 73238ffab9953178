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

// Sets the default value (name nullptr) or a named value of HKCR\key,
// creating the key.
bool SetClassValue(const std::string& key, const char* name, const std::string& value) {
    win::RegKey k;
    return k.Create(HKEY_CLASSES_ROOT, key, KEY_WRITE) == ERROR_SUCCESS && k.SetText(name, value) == ERROR_SUCCESS;
}

bool CreateClassKey(const std::string& key) {
    win::RegKey k;
    return k.Create(HKEY_CLASSES_ROOT, key, KEY_WRITE) == ERROR_SUCCESS;
}

void DeleteClassTree(const std::string& key) { RegDeleteTreeA(HKEY_CLASSES_ROOT, key.c_str()); }

}  // namespace

HRESULT RegisterServer() {
    const std::string clsid = GuidText(CLSID_InfoGather);
    const std::string classKey = "CLSID\\" + clsid;
    // The class key is replaced whole, so nothing stale survives.
    DeleteClassTree(classKey);
    bool ok = SetClassValue(kProgId, nullptr, kClassName) && SetClassValue(std::string(kProgId) + "\\CLSID", nullptr, clsid) &&
              SetClassValue(kIndependentProgId, nullptr, kClassName) &&
              SetClassValue(std::string(kIndependentProgId) + "\\CLSID", nullptr, clsid) &&
              SetClassValue(std::string(kIndependentProgId) + "\\CurVer", nullptr, kProgId) &&
              SetClassValue(classKey, nullptr, kClassName) &&
              SetClassValue(classKey + "\\ProgID", nullptr, kProgId) &&
              SetClassValue(classKey + "\\VersionIndependentProgID", nullptr, kIndependentProgId) &&
              CreateClassKey(classKey + "\\Programmable") &&
              SetClassValue(classKey + "\\InprocServer32", nullptr, ModulePath()) &&
              SetClassValue(classKey + "\\InprocServer32", "ThreadingModel", "Apartment") &&
              SetClassValue(classKey + "\\TypeLib", nullptr, GuidText(LIBID_GLEANIXLib));
    if (!ok) return SELFREG_E_CLASS;
    ITypeLib* lib = nullptr;
    HRESULT hr = LoadOwnTypeLib(&lib);
    if (FAILED(hr)) return hr;
    std::wstring path = ModulePathW();
    hr = RegisterTypeLib(lib, path.data(), nullptr);
    lib->Release();
    return FAILED(hr) ? SELFREG_E_TYPELIB : S_OK;
}

HRESULT UnregisterServer() {
    DeleteClassTree(kProgId);
    DeleteClassTree(kIndependentProgId);
    DeleteClassTree("CLSID\\" + GuidText(CLSID_InfoGather));
    UnRegisterTypeLib(LIBID_GLEANIXLib, 1, 0, 0x409, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
    return S_OK;
}

}  // namespace gleanix
