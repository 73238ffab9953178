// Memory a page costs Gleanix when it is handed over: AddPageEx with a page
// of N MiB (one byte per character in the ANSI code page) to a stand-in
// main window in this process, which only counts the bytes it gets. Prints
// the peak working set beyond the page's own BSTR as a ratio to the page's
// ANSI size: about 1 when the record is built with one copy, 0 when the
// page is refused (its box is answered). Needs a display (the stand-in is a top-level window).
//
// handoff_bench [MiB]   (default 24; one size per run, since a peak only grows)
#include <windows.h>
#include <oleauto.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
std::size_t g_received = 0;

LRESULT CALLBACK StandIn(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COPYDATA) {
        g_received = reinterpret_cast<const COPYDATASTRUCT*>(lp)->cbData;
        return TRUE;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

// A refused page is reported in a box; answer it, as a user would.
void CALLBACK AnswerBoxes(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM) -> BOOL {
            char cls[16] = {};
            GetClassNameA(w, cls, sizeof cls);
            if (std::string(cls) == "#32770") PostMessageA(w, WM_COMMAND, IDOK, 0);
            return TRUE;
        },
        0);
}

std::size_t PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PeakWorkingSetSize;
}

// The class of the library's embedded type library.
CLSID ClassOf(const std::wstring& dll) {
    CLSID clsid{};
    ITypeLib* lib = nullptr;
    if (FAILED(LoadTypeLibEx(dll.c_str(), REGKIND_NONE, &lib))) return clsid;
    for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
        TYPEKIND kind;
        ITypeInfo* info = nullptr;
        TYPEATTR* attr = nullptr;
        if (FAILED(lib->GetTypeInfoType(i, &kind)) || kind != TKIND_COCLASS || FAILED(lib->GetTypeInfo(i, &info)))
            continue;
        if (SUCCEEDED(info->GetTypeAttr(&attr))) {
            clsid = attr->guid;
            info->ReleaseTypeAttr(attr);
        }
        info->Release();
    }
    lib->Release();
    return clsid;
}
}  // namespace

int main(int argc, char** argv) {
    const std::size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 24;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring dll(exe);
    dll = dll.substr(0, dll.rfind(L'\\') + 1) + L"Gleanix.dll";
    HMODULE module = LoadLibraryW(dll.c_str());
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(
        reinterpret_cast<void*>(module ? GetProcAddress(module, "DllGetClassObject") : nullptr));
    IClassFactory* factory = nullptr;
    IDispatch* object = nullptr;
    if (!getClassObject || FAILED(getClassObject(ClassOf(dll), IID_IClassFactory, reinterpret_cast<void**>(&factory))) ||
        FAILED(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&object)))) {
        std::fprintf(stderr, "cannot create the object from Gleanix.dll\n");
        return 1;
    }
    factory->Release();

    WNDCLASSA wc{};
    wc.lpfnWndProc = &StandIn;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "HandoffBenchMain";
    RegisterClassA(&wc);
    HWND main = CreateWindowA(wc.lpszClassName, "Archivon ver bench", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                              nullptr, wc.hInstance, nullptr);
    if (!main) {
        std::fprintf(stderr, "no window (is there a display?)\n");
        return 1;
    }

    // Arguments go last first: title, url, des, page.
    const std::size_t chars = mib << 20;
    VARIANT args[4];
    for (VARIANT& v : args) {
        VariantInit(&v);
        v.vt = VT_BSTR;
    }
    args[0].bstrVal = SysAllocString(L"Bench");
    args[1].bstrVal = SysAllocString(L"http://bench/");
    args[2].bstrVal = SysAllocString(L"picked");
    args[3].bstrVal = SysAllocStringLen(nullptr, static_cast<UINT>(chars));
    if (!args[3].bstrVal) {
        std::fprintf(stderr, "no memory for the page\n");
        return 1;
    }
    for (std::size_t i = 0; i < chars; ++i) args[3].bstrVal[i] = L'p';
    DISPPARAMS params = {args, nullptr, 4, 0};
    SetTimer(nullptr, 0, 200, &AnswerBoxes);
    const std::size_t before = PeakWorkingSet();
    const HRESULT hr = object->Invoke(4, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                                      nullptr);
    const std::size_t extra = PeakWorkingSet() - before;
    std::printf("page %zu MiB: hr 0x%08lx, record received %zu bytes, peak beyond the page's BSTR %.1f MiB = %.2f x page\n",
                mib, static_cast<unsigned long>(hr), g_received, extra / 1048576.0,
                static_cast<double>(extra) / static_cast<double>(chars));
    for (VARIANT& v : args) VariantClear(&v);
    object->Release();
    DestroyWindow(main);
    return 0;
}
