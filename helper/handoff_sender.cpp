#include "helper/handoff_sender.h"

#include <cstring>
#include <cwchar>

#include "common/handoff_record.h"
#include "common/message_box.h"
#include "common/settings_store.h"
#include "common/win/handle.h"

namespace gleanix {

namespace {
constexpr wchar_t kTitlePrefix[] = L"Archivon ver";
// The main window answers a copy-data message at once. One that does not
// answer within this time is stuck, and the browser must not stay stuck
// with it: the request is dropped, as a lost reply would drop it.
constexpr UINT kDeliveryTimeoutMs = 20000;

void ReportNotInstalled() {
    ShowMessageBox(nullptr, "Archivon is not installed properly!", "Archivon", MB_OK | MB_ICONEXCLAMATION);
}

bool StartMainProgram(const std::string& commandLine) {
    std::string cmd = commandLine;  // CreateProcessA may write into it
    // A bare path with blanks would let "C:\Program.exe" run first: quote a
    // value that names the program file as it stands.
    const DWORD attributes = GetFileAttributesA(commandLine.c_str());
    if (!cmd.empty() && cmd.front() != '"' && attributes != INVALID_FILE_ATTRIBUTES &&
        !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        cmd = "\"" + cmd + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    win::Handle thread(pi.hThread), process(pi.hProcess);
    return true;
}

void Deliver(HWND window, std::uint32_t code, const std::vector<std::string>& strings) {
    handoff::HandoffRecord record;
    record.window = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window));
    record.strings = strings;
    const arc::Bytes bytes = handoff::EncodeHandoff(record);
    if (bytes.size() > 0xFFFFFFFFu) return;
    COPYDATASTRUCT data = {};
    data.dwData = code;
    data.cbData = static_cast<DWORD>(bytes.size());
    data.lpData = const_cast<std::uint8_t*>(bytes.data());
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_COPYDATA, code, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL,
                        kDeliveryTimeoutMs, &result);
}
}  // namespace

HWND FindMainWindow() {
    const std::size_t prefix = std::wcslen(kTitlePrefix);
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        // GetWindowText would send WM_GETTEXT to the browser's own windows,
        // and one whose thread hangs would hang this one too. The stored
        // title is read without a message.
        wchar_t title[64] = {};
        const int n = InternalGetWindowText(w, title, 64);
        if (n >= static_cast<int>(prefix) && std::wmemcmp(title, kTitlePrefix, prefix) == 0) return w;
    }
    return nullptr;
}

void SendToMainProgram(std::uint32_t code, const std::vector<std::string>& strings) {
    HWND window = FindMainWindow();
    if (!window) {
        const std::string commandLine = ArchivonSettings().GetText("Config", "path4gleanix", "");
        if (commandLine.empty() || !StartMainProgram(commandLine)) {
            ReportNotInstalled();
            return;
        }
        for (int attempt = 0; attempt < 10 && !window; ++attempt) {
            window = FindMainWindow();
            if (!window) Sleep(1000);
        }
        if (!window) {
            ReportNotInstalled();
            return;
        }
    }
    Deliver(window, code, strings);
}

}  // namespace gleanix
