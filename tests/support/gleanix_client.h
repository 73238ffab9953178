// A private copy of the built Gleanix.dll for one test: its own folder, so
// its own Gleanix.ini, loaded by path and reached through its exports and
// IDispatch, as a browser would.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/test_env.h"

class GleanixCopy {
public:
    GleanixCopy() {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        path = dir / "Gleanix.dll";
        CopyFileA(BuildFile("Gleanix.dll").c_str(), path.c_str(), FALSE);
        module = LoadLibraryA(path.c_str());
        if (!module) return;
        getClassObject = reinterpret_cast<GetClassObjectFn>(
            reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
        canUnloadNow =
            reinterpret_cast<CanUnloadFn>(reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
        ReadIdsFromTypeLib();
    }
    ~GleanixCopy() {
        if (module) FreeLibrary(module);
        CoUninitialize();
    }
    GleanixCopy(const GleanixCopy&) = delete;
    GleanixCopy& operator=(const GleanixCopy&) = delete;

    // A file of the build folder, where the test programs are too.
    static std::string BuildFile(const std::string& name) {
        char exe[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, exe, MAX_PATH);
        const std::string self(exe);
        return self.substr(0, self.rfind('\\')) + "\\" + name;
    }

    std::string IniPath() const { return dir / "Gleanix.ini"; }
    void SetValue(const char* name, const char* value) const {
        WritePrivateProfileStringA("Records", name, value, IniPath().c_str());
    }
    std::string Value(const char* name) const {
        char buf[1024] = {};
        GetPrivateProfileStringA("Records", name, "<absent>", buf, sizeof buf, IniPath().c_str());
        return buf;
    }

    // A new InfoGather object through the class factory; nullptr on failure.
    IDispatch* Create() const {
        IClassFactory* factory = nullptr;
        if (!getClassObject || FAILED(getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory))))
            return nullptr;
        IDispatch* object = nullptr;
        factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&object));
        factory->Release();
        return object;
    }

    // An argument: nullptr goes as a NULL BSTR; a std::wstring keeps the
    // NULs it holds.
    struct Arg {
        Arg(const wchar_t* s) : text(s), length(s ? wcslen(s) : 0) {}
        Arg(const std::wstring& s) : text(s.c_str()), length(s.size()) {}
        const wchar_t* text;
        std::size_t length;
    };

    // Calls a method by name.
    static HRESULT Call(IDispatch* object, const wchar_t* name, const std::vector<Arg>& args) {
        DISPID id = 0;
        LPOLESTR n = const_cast<LPOLESTR>(name);
        HRESULT hr = object->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
        if (FAILED(hr)) return hr;
        return Invoke(object, id, args);
    }
    static HRESULT Invoke(IDispatch* object, DISPID id, const std::vector<Arg>& args) {
        std::vector<VARIANT> v(args.size());
        for (std::size_t i = 0; i < args.size(); ++i) {  // arguments go last first
            const Arg& a = args[args.size() - 1 - i];
            VariantInit(&v[i]);
            v[i].vt = VT_BSTR;
            v[i].bstrVal = a.text ? SysAllocStringLen(a.text, static_cast<UINT>(a.length)) : nullptr;
        }
        DISPPARAMS params = {v.data(), nullptr, static_cast<UINT>(v.size()), 0};
        VARIANT result;
        VariantInit(&result);
        const HRESULT hr =
            object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
        for (auto& a : v) VariantClear(&a);
        VariantClear(&result);
        return hr;
    }

    TempDir dir;
    std::string path;
    HMODULE module = nullptr;
    CLSID clsid = {};
    IID iid = {};
    GUID libid = {};
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    using CanUnloadFn = HRESULT(STDAPICALLTYPE*)();
    GetClassObjectFn getClassObject = nullptr;
    CanUnloadFn canUnloadNow = nullptr;

private:
    // The identifiers come from the embedded type library, so a test fails
    // when the code and the library disagree.
    void ReadIdsFromTypeLib() {
        const std::wstring wide(path.begin(), path.end());
        ITypeLib* lib = nullptr;
        if (FAILED(LoadTypeLibEx(wide.c_str(), REGKIND_NONE, &lib))) return;
        TLIBATTR* la = nullptr;
        if (SUCCEEDED(lib->GetLibAttr(&la))) {
            libid = la->guid;
            lib->ReleaseTLibAttr(la);
        }
        for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
            ITypeInfo* info = nullptr;
            if (FAILED(lib->GetTypeInfo(i, &info))) continue;
            TYPEATTR* ta = nullptr;
            if (SUCCEEDED(info->GetTypeAttr(&ta))) {
                if (ta->typekind == TKIND_COCLASS) clsid = ta->guid;
                if (ta->typekind == TKIND_DISPATCH || ta->typekind == TKIND_INTERFACE) iid = ta->guid;
                info->ReleaseTypeAttr(ta);
            }
            info->Release();
        }
        lib->Release();
    }
};
