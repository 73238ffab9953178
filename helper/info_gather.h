// The InfoGather object that browser scripts create, and its class factory.
#pragma once
#include <windows.h>
#include <ocidl.h>

#include "gleanix_idl.h"

namespace gleanix {

class InfoGather final : public IInfoGather, public IObjectWithSite {
public:
    InfoGather();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch, through the embedded type library.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT* argErr) override;

    // IInfoGather: every method answers S_OK; failures reach the user only.
    STDMETHODIMP AddInfo(BSTR des, BSTR strUrl) override;
    STDMETHODIMP CtrlPanel() override;
    STDMETHODIMP AddInfoEx(BSTR des, BSTR strUrl, BSTR title) override;
    STDMETHODIMP AddPageEx(BSTR page, BSTR des, BSTR strUrl, BSTR title) override;
    STDMETHODIMP AddDld(BSTR url, BSTR option) override;

    // IObjectWithSite: the site is kept, never used.
    STDMETHODIMP SetSite(IUnknown* site) override;
    STDMETHODIMP GetSite(REFIID riid, void** out) override;

private:
    ~InfoGather();
    HRESULT TypeInfo(ITypeInfo** info);

    LONG refs_ = 1;
    IUnknown* site_ = nullptr;
    ITypeInfo* typeInfo_ = nullptr;
};

class InfoGatherFactory final : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;
};

}  // namespace gleanix
