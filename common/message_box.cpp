#include "common/message_box.h"

namespace {
MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}
}  // namespace

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    if (Hook()) return Hook()({owner, text, caption, type});
    return MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

std::string SystemErrorText(DWORD code) {
    char* buf = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                   reinterpret_cast<char*>(&buf), 0, nullptr);
    std::string text = n && buf ? std::string(buf, n) : "Error " + std::to_string(code);
    if (buf) LocalFree(buf);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return text;
}

void ShowSystemError() {
    const DWORD code = GetLastError();
    ShowMessageBox(nullptr, SystemErrorText(code), "Error", MB_OK | MB_ICONINFORMATION);
}

std::string FileErrorText(DWORD error, const std::string& path) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return path + " was not found.";
        case ERROR_ACCESS_DENIED:
            return "Access to " + path + " was denied.";
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return "A sharing violation occurred while accessing " + path + ".";
        default:
            return "An unexpected error occurred while accessing " + path + ".";
    }
}
