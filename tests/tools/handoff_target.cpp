// Stands in for the Archivon main window in hand-off tests:
//   handoff_target OUTFILE DELAY_MS COUNT [HANG_MS]
// waits DELAY_MS, opens a window titled like the main window, and writes
// every copy-data request it receives to OUTFILE; ends after COUNT requests
// or one minute. With HANG_MS it answers nothing for that long first, like
// a main window that is stuck.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/handoff_record.h"

namespace {
std::string g_out;
int g_left = 1;

void Record(HWND hwnd, WPARAM wp, const COPYDATASTRUCT* cds) {
    handoff::HandoffRecord rec;
    const bool ok = handoff::DecodeHandoff(cds->lpData, cds->cbData, rec);
    FILE* f = std::fopen(g_out.c_str(), "ab");
    if (!f) return;
    std::fprintf(f, "code=%lu wparam=%lu decoded=%d own_window=%d strings=%zu\n",
                 static_cast<unsigned long>(cds->dwData), static_cast<unsigned long>(wp), ok ? 1 : 0,
                 rec.window == static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(hwnd)) ? 1 : 0,
                 rec.strings.size());
    for (const auto& s : rec.strings) std::fprintf(f, "[%s]\n", s.c_str());
    std::fclose(f);
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COPYDATA) {
        Record(hwnd, wp, reinterpret_cast<const COPYDATASTRUCT*>(lp));
        if (--g_left <= 0) PostQuitMessage(0);
        return TRUE;
    }
    if (msg == WM_TIMER) PostQuitMessage(1);
    return DefWindowProcA(hwnd, msg, wp, lp);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    g_out = argv[1];
    Sleep(static_cast<DWORD>(std::atoi(argv[2])));
    g_left = std::atoi(argv[3]);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "HandoffTarget";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowA("HandoffTarget", "Archivon ver 1.10   ", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                              nullptr, wc.hInstance, nullptr);
    if (!hwnd) return 3;
    if (argc > 4) Sleep(static_cast<DWORD>(std::atoi(argv[4])));
    SetTimer(hwnd, 1, 60000, nullptr);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
    DestroyWindow(hwnd);
    return static_cast<int>(m.wParam);
}
