// Looks at a running Archivon from outside, for the end-to-end tests.
//   avprobe wait MS          wait until a main window exists (exit 1 if not)
//   avprobe count            number of main windows
//   avprobe minimize | close | state ("iconic=N foreground=N")
//   avprobe messages         text of the Messages log
//   avprobe command ID       posts the menu command ID to the main window
//   avprobe dialog TITLE MS [ID TEXT]... [check ID 0|1]... ok
//                            waits for a dialog of that title, fills its
//                            controls and presses OK (exit 1 if none shows)
//   avprobe jobs             the jobs list, a row a line, cells by tabs
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/win/handle.h"

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

HWND FindChildById(HWND frame, int id) {
    struct Search {
        int id;
        HWND found;
    } s{id, nullptr};
    EnumChildWindows(
        frame,
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            if (GetDlgCtrlID(hwnd) != s->id) return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// Reads the cells of a list view of another process through a buffer in
// that process.
int PrintJobs(HWND frame) {
    HWND list = FindChildById(frame, 1170);
    if (!list) return 1;
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    win::Handle owner(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
    if (!owner) return 1;
    HANDLE process = owner.get();
    constexpr SIZE_T kText = 1024;
    auto* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + kText, MEM_COMMIT, PAGE_READWRITE));
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < 6; ++c) {
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iSubItem = c;
            item.pszText = remote + sizeof(LVITEMA);
            item.cchTextMax = kText;
            WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
            SendMessageA(list, LVM_GETITEMTEXTA, r, reinterpret_cast<LPARAM>(remote));
            char text[kText] = {};
            ReadProcessMemory(process, remote + sizeof(LVITEMA), text, kText - 1, nullptr);
            std::printf(c ? "\t%s" : "%s", text);
        }
        std::printf("\n");
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return 0;
}

int FillDialog(int argc, char** argv) {
    if (argc < 4) return 2;
    const DWORD limit = std::strtoul(argv[3], nullptr, 10);
    const DWORD start = GetTickCount();
    HWND dialog = nullptr;
    while (!(dialog = FindWindowA("#32770", argv[2]))) {
        if (GetTickCount() - start > limit) return 1;
        Sleep(100);
    }
    for (int i = 4; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "ok") {
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        } else if (word == "check" && i + 2 < argc) {
            const int id = std::atoi(argv[i + 1]);
            SendDlgItemMessageA(dialog, id, BM_SETCHECK, std::atoi(argv[i + 2]) ? BST_CHECKED : BST_UNCHECKED, 0);
            i += 2;
        } else if (i + 1 < argc) {
            SetDlgItemTextA(dialog, std::atoi(argv[i]), argv[i + 1]);
            ++i;
        }
    }
    return 0;
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
    if (cmd == "dialog") return FillDialog(argc, argv);
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
    } else if (cmd == "command" && argc > 2) {
        PostMessageA(frame, WM_COMMAND, std::strtoul(argv[2], nullptr, 10), 0);
    } else if (cmd == "jobs") {
        return PrintJobs(frame);
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
