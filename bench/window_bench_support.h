// What the window benches share: a plain host window, a clock, and a way
// to let queued painting happen.
#pragma once
#include <windows.h>

#include "common/window.h"

namespace bench {

class Host : public Window {};

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
