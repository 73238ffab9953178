#include "helper/info_gather.h"

#include <cstdint>
#include <new>
#include <string>

#include "common/code_page.h"
#include "common/handoff_record.h"
#include "helper/control_panel_dialog.h"
#include "helper/handoff_sender.h"
#include "helper/module.h"
#include "helper/picked_text_rules.h"
#include "helper/picked_text_store.h"

namespace gleanix {

namespace {
// The methods of IInfoGather carry the DISPIDs 1 to 5. The type library
// also describes the IUnknown and IDispatch members, and DispInvoke would
// call them: a page could Release the object under its own feet.
constexpr DISPID kFirstMethod = 1;
constexpr DISPID kLastMethod = 5;
bool IsMethod(DISPID id) { return id >= kFirstMethod && id <= kLastMethod; }

// At most `limit` characters of a page's text, in the ANSI code page.
std::string Ansi(BSTR text, std::size_t limit = SIZE_MAX) {
    const std::size_t n = text ? SysStringLen(text) : 0;
    return ToAnsiCodePage(text, n < limit ? n : limit);
}

// The name a page or handed-over text goes under; the picked text is read
// only when the title does not do by itself. A name never needs more of it
// than a record could carry.
std::string NameFor(BSTR title, BSTR des, Handed what) {
    const std::string given = Ansi(title);
    const std::string text = TitleStands(given, what) ? std::string() : Ansi(des, handoff::kMaxHandoffBytes);
    return HandoffName(given, text, what);
}

// Nothing a page sends may escape as an exception or an error code.
template <typename Body>
HRESULT Guarded(Body body) {
    try {
        body();
    } catch (...) {
    }
    return S_OK;
}
// Every parameter is required. Some type-library implementations pass
// surplus arguments through, so the count is checked here first.
HRESULT CheckArgumentCount(ITypeInfo* info, DISPID id, const DISPPARAMS* params) {
    if (!params) return E_INVALIDARG;
    TYPEATTR* attr = nullptr;
    if (FAILED(info->GetTypeAttr(&attr))) return E_FAIL;
    HRESULT hr = DISP_E_MEMBERNOTFOUND;
    for (UINT i = 0; i < attr->cFuncs; ++i) {
        FUNCDESC* func = nullptr;
        if (FAILED(info->GetFuncDesc(i, &func))) continue;
        if (func->memid == id) hr = params->cArgs == static_cast<UINT>(func->cParams) ? S_OK : DISP_E_BADPARAMCOUNT;
        info->ReleaseFuncDesc(func);
        if (hr != DISP_E_MEMBERNOTFOUND) break;
    }
    info->ReleaseTypeAttr(attr);
    return hr;
}
}  // namespace

InfoGather::InfoGather() { ModuleAddRef(); }

InfoGather::~InfoGather() {
    if (site_) site_->Release();
    if (typeInfo_) typeInfo_->Release();
    ModuleRelease();
}

STDMETHODIMP InfoGather::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IInfoGather) {
        *out = static_cast<IInfoGather*>(this);
    } else if (riid == IID_IObjectWithSite) {
        *out = static_cast<IObjectWithSite*>(this);
    } else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) InfoGather::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

STDMETHODIMP_(ULONG) InfoGather::Release() {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

HRESULT InfoGather::TypeInfo(ITypeInfo** info) {
    if (!typeInfo_) {
        ITypeLib* lib = nullptr;
        const HRESULT hr = LoadOwnTypeLib(&lib);
        if (FAILED(hr)) return hr;
        lib->GetTypeInfoOfGuid(IID_IInfoGather, &typeInfo_);
        lib->Release();
        if (!typeInfo_) return TYPE_E_ELEMENTNOTFOUND;
    }
    typeInfo_->AddRef();
    *info = typeInfo_;
    return S_OK;
}

STDMETHODIMP InfoGather::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

STDMETHODIMP InfoGather::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return TypeInfo(info);
}

STDMETHODIMP InfoGather::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* info = nullptr;
    HRESULT hr = TypeInfo(&info);
    if (FAILED(hr)) return hr;
    hr = DispGetIDsOfNames(info, names, count, ids);
    info->Release();
    if (SUCCEEDED(hr) && count > 0 && !IsMethod(ids[0])) {
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

STDMETHODIMP InfoGather::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO* excep, UINT* argErr) {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!IsMethod(id)) return DISP_E_MEMBERNOTFOUND;
    ITypeInfo* info = nullptr;
    HRESULT hr = TypeInfo(&info);
    if (FAILED(hr)) return hr;
    hr = CheckArgumentCount(info, id, params);
    if (SUCCEEDED(hr)) hr = DispInvoke(static_cast<IInfoGather*>(this), info, id, flags, params, result, excep, argErr);
    info->Release();
    return hr;
}

STDMETHODIMP InfoGather::AddInfo(BSTR des, BSTR strUrl) {
    return Guarded([&] {
        const std::string text = Ansi(des);
        const std::string target = PickedTextTarget(ReadStoreInFile(), TitleOrDerived("", text));
        AppendPickedText(target, text, Ansi(strUrl));
    });
}

STDMETHODIMP InfoGather::CtrlPanel() {
    return Guarded([] { RunControlPanel(GetActiveWindow()); });
}

STDMETHODIMP InfoGather::AddInfoEx(BSTR des, BSTR strUrl, BSTR title) {
    return Guarded([&] {
        if (ReadIsStoreToAvn()) {
            // An empty title is derived here too, so that the main program
            // never gets the bare name ".txt".
            HandoffRequest request(handoff::HANDOFF_STORE_PAGE, "picked text");
            if (request.Add(des) && request.Add(strUrl)) request.Add(NameFor(title, des, Handed::Text));
            request.Send();
            return;
        }
        const std::string text = Ansi(des);
        AppendPickedText(PickedTextTarget(ReadStoreInFile(), TitleOrDerived(Ansi(title), text)), text,
                         Ansi(strUrl));
    });
}

STDMETHODIMP InfoGather::AddPageEx(BSTR page, BSTR des, BSTR strUrl, BSTR title) {
    return Guarded([&] {
        HandoffRequest request(handoff::HANDOFF_STORE_PAGE, "page");
        if (request.Add(page) && request.Add(strUrl)) request.Add(NameFor(title, des, Handed::Page));
        request.Send();
    });
}

STDMETHODIMP InfoGather::AddDld(BSTR url, BSTR) {
    return Guarded([&] {
        HandoffRequest request(handoff::HANDOFF_ADD_DOWNLOAD, "link");
        request.Add(url);
        request.Send();
    });
}

STDMETHODIMP InfoGather::SetSite(IUnknown* site) {
    if (site) site->AddRef();
    if (site_) site_->Release();
    site_ = site;
    return S_OK;
}

STDMETHODIMP InfoGather::GetSite(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return site_ ? site_->QueryInterface(riid, out) : E_FAIL;
}

STDMETHODIMP InfoGatherFactory::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

// The factory is a static object; its references only keep the module.
STDMETHODIMP_(ULONG) InfoGatherFactory::AddRef() {
    ModuleAddRef();
    return 2;
}

STDMETHODIMP_(ULONG) InfoGatherFactory::Release() {
    ModuleRelease();
    return 1;
}

STDMETHODIMP InfoGatherFactory::CreateInstance(IUnknown* outer, REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* object = new (std::nothrow) InfoGather();
    if (!object) return E_OUTOFMEMORY;
    const HRESULT hr = object->QueryInterface(riid, out);
    object->Release();
    return hr;
}

STDMETHODIMP InfoGatherFactory::LockServer(BOOL lock) {
    if (lock)
        ModuleAddRef();
    else
        ModuleRelease();
    return S_OK;
}

}  // namespace gleanix
