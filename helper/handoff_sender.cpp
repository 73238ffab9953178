#include "helper/handoff_sender.h"

#include <cstring>
#include <cwchar>

#include "common/code_page.h"
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

void ReportTooLarge(const std::string& what) {
    ShowMessageBox(nullptr,
                   "This " + what + " is too large to hand over to Archivon: more than " +
                       std::to_string(handoff::kMaxHandoffBytes >> 20) + " MB. Nothing was sent.",
                   "Archivon", MB_OK | MB_ICONEXCLAMATION);
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

// The main window, after starting Archivon and waiting up to ten seconds
// for it when none is open; nullptr (and the user told) when there is none.
HWND FindOrStartMainWindow() {
    if (HWND window = FindMainWindow()) return window;
    const std::string commandLine = ArchivonSettings().GetText("Config", "path4gleanix", "");
    if (commandLine.empty() || !StartMainProgram(commandLine)) {
        ReportNotInstalled();
        return nullptr;
    }
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (HWND window = FindMainWindow()) return window;
        Sleep(1000);
    }
    ReportNotInstalled();
    return nullptr;
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

bool HandoffRequest::Add(BSTR text) {
    if (tooLarge_) return false;
    const std::size_t n = text ? SysStringLen(text) : 0;
    // Two UTF-16 units give at least one byte: a text this long is refused
    // without reading it.
    if (n / 2 > handoff::kMaxHandoffBytes) {
        tooLarge_ = true;
        return false;
    }
    texts_.push_back({text, n, {}, AnsiCodePageLength(text, n)});
    return Fits();
}

bool HandoffRequest::Add(std::string text) {
    if (tooLarge_) return false;
    const std::size_t size = text.size();
    texts_.push_back({nullptr, 0, std::move(text), size});
    return Fits();
}

bool HandoffRequest::Fits() {
    std::vector<std::size_t> lengths;
    for (const auto& t : texts_) lengths.push_back(t.size);
    tooLarge_ = handoff::HandoffSize(lengths) > handoff::kMaxHandoffBytes;
    return !tooLarge_;
}

void HandoffRequest::Send() {
    if (tooLarge_) {
        ReportTooLarge(what_);
        return;
    }
    HWND window = FindOrStartMainWindow();
    if (!window) return;
    std::vector<handoff::TextSource> sources;
    sources.reserve(texts_.size());
    for (const Text& t : texts_) {
        if (t.wide)
            sources.push_back({t.size, [&t](char* out) { ToAnsiCodePageInto(t.wide, t.wideLength, out, t.size); }});
        else
            sources.push_back({t.size, [&t](char* out) { std::memcpy(out, t.narrow.data(), t.size); }});
    }
    const arc::Bytes bytes =
        handoff::EncodeHandoff(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window)), sources);
    COPYDATASTRUCT data = {};
    data.dwData = code_;
    data.cbData = static_cast<DWORD>(bytes.size());
    data.lpData = const_cast<std::uint8_t*>(bytes.data());
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_COPYDATA, code_, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL,
                        kDeliveryTimeoutMs, &result);
}

}  // namespace gleanix
