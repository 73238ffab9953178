#include "shell/busy_pump.h"

namespace {
constexpr DWORD kPumpInterval = 50;
}

bool BusyPump::KeepGoing() {
    const DWORD now = GetTickCount();
    if (stopped_ || (checked_ && now - last_ < kPumpInterval)) return !stopped_;
    checked_ = true;
    last_ = now;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE))
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) stopped_ = true;
    // A window whose painting does not validate it would come back at
    // once; a bounded number of rounds keeps the command going.
    for (int i = 0; i < 64 && PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE | PM_QS_PAINT); ++i)
        DispatchMessageA(&msg);
    return !stopped_;
}
