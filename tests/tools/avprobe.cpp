// Looks at a running Archivon from outside, for the end-to-end tests.
//   avprobe wait MS          wait until a main window exists (exit 1 if not)
//   avprobe count            number of main windows
//   avprobe minimize | close | state ("iconic=N foreground=N")
//   avprobe messages         text of the Messages log
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<HWND> MainWindows() {
    std::vector<HWND> found;
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            char title[64] = {};
            GetWindowTextA(hwnd, title, sizeof title);
            if (std::strncmp(title, "Archivon ver", 12) == 0) reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND FindMessagesEdit(HWND frame) {
    HWND result = nullptr;
    EnumChildWindows(
        frame,
        [](HWND hwnd, LPARAM lp) -> BOOL {
            char cls[32] = {};
            GetClassNameA(hwnd, cls, sizeof cls);
            // The dialog manager may turn the Messages edit's border into a
            // client edge; the Descriptions edit has neither.
            const bool bordered = (GetWindowLongA(hwnd, GWL_STYLE) & WS_BORDER) ||
                                  (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
            if (_stricmp(cls, "Edit") == 0 && GetDlgCtrlID(hwnd) == 1002 && bordered) {
                *reinterpret_cast<HWND*>(lp) = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&result));
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string cmd = argv[1];
    if (cmd == "wait") {
        const DWORD ms = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 10000;
        const DWORD start = GetTickCount();
        while (MainWindows().empty()) {
            if (GetTickCount() - start > ms) return 1;
            Sleep(100);
        }
        return 0;
    }
    if (cmd == "count") {
        std::printf("%u\n", static_cast<unsigned>(MainWindows().size()));
        return 0;
    }
    const auto windows = MainWindows();
    if (windows.empty()) return 1;
    HWND frame = windows.front();
    if (cmd == "minimize") {
        ShowWindow(frame, SW_MINIMIZE);
    } else if (cmd == "close") {
        PostMessageA(frame, WM_CLOSE, 0, 0);
    } else if (cmd == "state") {
        std::printf("iconic=%d zoomed=%d\n", IsIconic(frame) ? 1 : 0, IsZoomed(frame) ? 1 : 0);
    } else if (cmd == "messages") {
        HWND edit = FindMessagesEdit(frame);
        if (!edit) return 1;
        char buf[65536] = {};
        SendMessageA(edit, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
        std::fputs(buf, stdout);
    } else {
        return 2;
    }
    return 0;
}
