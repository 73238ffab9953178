// The InfoGather object as a COM client sees it, and its picked-text file.
#include <ocidl.h>

#include <regex>

#include "tests/support/gleanix_client.h"

namespace {
// Counts references so a test can see the object keep and release its site.
class CountingUnknown : public IUnknown {
public:
    LONG refs = 1;
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (riid != IID_IUnknown) return *out = nullptr, E_NOINTERFACE;
        *out = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++refs); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--refs); }
};

const char kSeparator[] =
    "\r\n\r\n=~=~=~=~=~=\\d{4}-\\d\\d-\\d\\d,\\d\\d:\\d\\d:\\d\\d=~=~=~=~=~=";
}  // namespace

TEST(GleanixCom, InterfacesAndLifetime) {
    GleanixCopy g;
    ASSERT_NE(g.module, nullptr);
    ASSERT_NE(g.clsid, GUID{});
    EXPECT_EQ(g.canUnloadNow(), S_OK);
    IDispatch* object = g.Create();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(g.canUnloadNow(), S_FALSE);

    const IID* wanted[] = {&IID_IUnknown, &g.iid, &IID_IDispatch, &IID_IObjectWithSite};
    for (const IID* iid : wanted) {
        IUnknown* p = nullptr;
        EXPECT_EQ(object->QueryInterface(*iid, reinterpret_cast<void**>(&p)), S_OK);
        if (p) p->Release();
    }
    IUnknown* none = nullptr;
    EXPECT_EQ(object->QueryInterface(IID_IPersist, reinterpret_cast<void**>(&none)), E_NOINTERFACE);

    IObjectWithSite* withSite = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite)), S_OK);
    CountingUnknown first, second;
    IUnknown* got = nullptr;
    EXPECT_EQ(withSite->GetSite(IID_IUnknown, reinterpret_cast<void**>(&got)), E_FAIL);
    withSite->SetSite(&first);
    EXPECT_EQ(first.refs, 2);
    withSite->SetSite(&second);
    EXPECT_EQ(first.refs, 1);
    EXPECT_EQ(second.refs, 2);
    withSite->Release();
    object->Release();
    EXPECT_EQ(second.refs, 1);
    EXPECT_EQ(g.canUnloadNow(), S_OK);

    // Unknown classes and aggregation are refused; a lock keeps the library.
    IClassFactory* factory = nullptr;
    EXPECT_EQ(g.getClassObject(IID_IDispatch, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              CLASS_E_CLASSNOTAVAILABLE);
    ASSERT_EQ(g.getClassObject(g.clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    CountingUnknown outer;
    IUnknown* aggregated = nullptr;
    EXPECT_EQ(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&aggregated)),
              CLASS_E_NOAGGREGATION);
    factory->LockServer(TRUE);
    factory->Release();
    EXPECT_EQ(g.canUnloadNow(), S_FALSE);
    ASSERT_EQ(g.getClassObject(g.clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    factory->LockServer(FALSE);
    factory->Release();
    EXPECT_EQ(g.canUnloadNow(), S_OK);
}

TEST(GleanixCom, DispatchNamesAndArguments) {
    GleanixCopy g;
    IDispatch* object = g.Create();
    ASSERT_NE(object, nullptr);
    const wchar_t* methods[] = {L"AddInfo", L"CtrlPanel", L"AddInfoEx", L"AddPageEx", L"AddDld"};
    for (DISPID want = 1; want <= 5; ++want) {
        LPOLESTR name = const_cast<LPOLESTR>(methods[want - 1]);
        DISPID id = 0;
        EXPECT_EQ(object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
        EXPECT_EQ(id, want) << methods[want - 1];
    }
    // Parameter names and their order.
    LPOLESTR page[] = {const_cast<LPOLESTR>(L"AddPageEx"), const_cast<LPOLESTR>(L"title"),
                       const_cast<LPOLESTR>(L"page"), const_cast<LPOLESTR>(L"strUrl"), const_cast<LPOLESTR>(L"des")};
    DISPID ids[5] = {};
    ASSERT_EQ(object->GetIDsOfNames(IID_NULL, page, 5, LOCALE_USER_DEFAULT, ids), S_OK);
    EXPECT_EQ(ids[0], 4);
    EXPECT_EQ(ids[1], 3);
    EXPECT_EQ(ids[2], 0);
    EXPECT_EQ(ids[3], 2);
    EXPECT_EQ(ids[4], 1);
    LPOLESTR bogus = const_cast<LPOLESTR>(L"AddNothing");
    DISPID id = 0;
    EXPECT_EQ(object->GetIDsOfNames(IID_NULL, &bogus, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);

    EXPECT_EQ(GleanixCopy::Call(object, L"AddInfo", {L"only one"}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(GleanixCopy::Call(object, L"AddDld", {L"a", L"b", L"c"}), DISP_E_BADPARAMCOUNT);
    EXPECT_FALSE(FileExists(g.dir / "gleanix.txt"));

    // The library's description as a browser's script engine reads it.
    ITypeInfo* info = nullptr;
    ASSERT_EQ(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info), S_OK);
    ITypeLib* lib = nullptr;
    UINT index = 0;
    ASSERT_EQ(info->GetContainingTypeLib(&lib, &index), S_OK);
    BSTR name = nullptr, doc = nullptr;
    lib->GetDocumentation(-1, &name, &doc, nullptr, nullptr);
    EXPECT_STREQ(name, L"GLEANIXLib");
    EXPECT_STREQ(doc, L"Gleanix 1.0 Type Library");
    SysFreeString(name);
    SysFreeString(doc);
    TLIBATTR* la = nullptr;
    lib->GetLibAttr(&la);
    EXPECT_EQ(la->lcid, 0x409u);
    EXPECT_EQ(la->wMajorVerNum, 1);
    EXPECT_EQ(la->wMinorVerNum, 0);
    lib->ReleaseTLibAttr(la);
    info->GetDocumentation(4, &name, &doc, nullptr, nullptr);
    EXPECT_STREQ(name, L"AddPageEx");
    EXPECT_STREQ(doc, L"method AddPageEx");
    SysFreeString(name);
    SysFreeString(doc);
    info->GetDocumentation(MEMBERID_NIL, &name, &doc, nullptr, nullptr);
    EXPECT_STREQ(doc, L"IInfoGather Interface");
    SysFreeString(name);
    SysFreeString(doc);
    lib->Release();
    info->Release();
    object->Release();
}

TEST(GleanixCom, OnlyTheFiveMethodsAreReachable) {
    GleanixCopy g;
    IDispatch* object = g.Create();
    ASSERT_NE(object, nullptr);
    // The type library describes the IUnknown and IDispatch members too;
    // a page must reach none of them.
    for (const wchar_t* member : {L"QueryInterface", L"AddRef", L"Release", L"GetTypeInfoCount", L"GetTypeInfo",
                                  L"GetIDsOfNames", L"Invoke"}) {
        LPOLESTR name = const_cast<LPOLESTR>(member);
        DISPID id = 1;
        EXPECT_EQ(object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME) << member;
        EXPECT_EQ(id, DISPID_UNKNOWN) << member;
    }
    // By number: AddRef is 0x60000001 in a dual interface. Called, it would
    // leak the object and keep the library loaded.
    for (const DISPID id : {DISPID(0x60000001), DISPID(0x60000000), DISPID(0x60010000), DISPID(0), DISPID(6),
                            DISPID(-1), DISPID(DISPID_NEWENUM)})
        EXPECT_EQ(GleanixCopy::Invoke(object, id, {}), DISP_E_MEMBERNOTFOUND) << std::hex << id;
    EXPECT_EQ(GleanixCopy::Invoke(object, 2, {L"surplus"}), DISP_E_BADPARAMCOUNT);
    object->Release();
    EXPECT_EQ(g.canUnloadNow(), S_OK);
}

TEST(GleanixCom, AddInfoAppendsToTheFile) {
    GleanixCopy g;
    IDispatch* object = g.Create();
    ASSERT_NE(object, nullptr);
    // No ini at all: gleanix.txt beside the library, even with hand-off on.
    EXPECT_EQ(GleanixCopy::Call(object, L"AddInfo", {L"first", L"http://a/"}), S_OK);
    EXPECT_EQ(GleanixCopy::Call(object, L"AddInfo", {L"second \u00e9", L"http://b/?q=%s"}), S_OK);
    const std::string bytes = ReadFileBytes(g.dir / "gleanix.txt");
    EXPECT_TRUE(std::regex_match(bytes, std::regex(std::string(kSeparator) + "http://a/=~=~=~=~=~=\r\nfirst" +
                                                   kSeparator + "http://b/\\?q=%s=~=~=~=~=~=\r\nsecond \xE9")))
        << bytes;

    // Folder mode: one file per derived title, NoTitle without one.
    CreateDirectoryA((g.dir / "picks").c_str(), nullptr);
    g.SetValue("StoreInFile", (g.dir / "picks\\").c_str());
    EXPECT_EQ(GleanixCopy::Call(object, L"AddInfo", {L"ab\r\nReport\r\nbody", L"u"}), S_OK);
    EXPECT_EQ(GleanixCopy::Call(object, L"AddInfo", {L"abc", L"u"}), S_OK);
    EXPECT_TRUE(FileExists(g.dir / "picks\\Report.txt"));
    EXPECT_TRUE(FileExists(g.dir / "picks\\NoTitle.txt"));

    // A one-line pick longer than a file name can hold names its file cut.
    const std::wstring line(300, L'w');
    EXPECT_EQ(GleanixCopy::Call(object, L"AddInfo", {line, L"u"}), S_OK);
    const std::string bytes300 = ReadFileBytes(g.dir / ("picks\\" + std::string(128, 'w') + ".txt"));
    EXPECT_NE(bytes300.find(std::string(300, 'w')), std::string::npos);
    object->Release();
}

TEST(GleanixCom, HostileInputStaysInsideTheFolderAndAnswersOk) {
    GleanixCopy g;
    IDispatch* object = g.Create();
    ASSERT_NE(object, nullptr);
    CreateDirectoryA((g.dir / "picks").c_str(), nullptr);
    g.SetValue("StoreInFile", (g.dir / "picks\\").c_str());
    g.SetValue("IsStoreToAvn", "0");
    EXPECT_EQ(GleanixCopy::Call(object, L"AddInfoEx", {L"text", L"u", L"..\\escaped"}), S_OK);
    EXPECT_EQ(GleanixCopy::Call(object, L"AddInfoEx", {L"text", L"u", L"a:stream"}), S_OK);
    EXPECT_EQ(GleanixCopy::Call(object, L"AddInfoEx", {L"..\r\nx", L"u", L""}), S_OK);
    EXPECT_EQ(GleanixCopy::Call(object, L"AddInfoEx", {L"t", L"u", L".."}), S_OK);
    EXPECT_FALSE(FileExists(g.dir / "escaped.txt"));
    EXPECT_TRUE(FileExists(g.dir / "picks\\.._escaped.txt"));
    EXPECT_TRUE(FileExists(g.dir / "picks\\a_stream.txt"));
    EXPECT_TRUE(FileExists(g.dir / "picks\\NoTitle.txt"));
    EXPECT_TRUE(FileExists(g.dir / "picks\\_.txt"));

    // NULL strings, megabytes of text, a title of separators.
    EXPECT_EQ(GleanixCopy::Call(object, L"AddInfoEx", {nullptr, nullptr, nullptr}), S_OK);
    const std::wstring big(3 << 20, L'x');
    EXPECT_EQ(GleanixCopy::Call(object, L"AddInfoEx", {big.c_str(), L"u", L"Big"}), S_OK);
    EXPECT_EQ(ReadFileBytes(g.dir / "picks\\Big.txt").size(), (3u << 20) + 59);
    EXPECT_EQ(GleanixCopy::Call(object, L"AddInfoEx", {L"t", L"u", L"\\/\\/\\/:*?"}), S_OK);
    EXPECT_TRUE(FileExists(g.dir / "picks\\_________.txt"));

    // A target that cannot be opened loses the text quietly.
    g.SetValue("StoreInFile", (g.dir / "picks").c_str());
    EXPECT_EQ(GleanixCopy::Call(object, L"AddInfo", {L"lost", L"u"}), S_OK);
    // A damaged settings file reads as defaults.
    WriteFileBytes(g.IniPath(), std::string("\xFF\xFE[Rec\0ords\n=\n\x01", 15));
    EXPECT_EQ(GleanixCopy::Call(object, L"AddInfo", {L"kept", L"u"}), S_OK);
    EXPECT_NE(ReadFileBytes(g.dir / "gleanix.txt").find("kept"), std::string::npos);
    object->Release();
}
