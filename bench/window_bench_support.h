// What the window benches share: a plain host window, a clock, and a way
// to let queued painting happen.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <cstdio>

#include "common/window.h"

namespace bench {

class Host : public Window {
public:
    // A visible top-level window of the given client size, with the list
    // controls registered; false (and a line on stderr) without a display.
    bool Open(const char* className, int width, int height) {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        Window::RegisterWindowClass(className);
        if (Create(className, "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 0, width, height, nullptr, nullptr))
            return true;
        std::fprintf(stderr, "no window (is there a display?)\n");
        return false;
    }
};

inline double Now() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) / double(f.QuadPart);
}

inline void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

}  // namespace bench
