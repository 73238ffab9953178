// Closes a modal window for a script that cannot:
//   dismiss_window TITLE TIMEOUT_MS
// waits for a top-level window with exactly that title and cancels it.
// Exit code 0 when one was found, 1 on timeout.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const DWORD limit = static_cast<DWORD>(std::atoi(argv[2]));
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < limit) {
        if (HWND w = FindWindowA(nullptr, argv[1])) {
            PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
            return 0;
        }
        Sleep(100);
    }
    return 1;
}
