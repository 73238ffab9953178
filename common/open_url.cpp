#include "common/open_url.h"

#include <shellapi.h>

#include "common/win/reg_key.h"

namespace {
UrlLauncher& DefaultLauncher() {
    static UrlLauncher launcher;
    return launcher;
}
UrlLauncher* g_launcher = nullptr;
UrlLauncher& Launcher() { return g_launcher ? *g_launcher : DefaultLauncher(); }

// The default value of a key under HKEY_CLASSES_ROOT, at most MAX_PATH bytes.
bool ReadClassDefault(const std::string& subKey, std::string& value) {
    win::RegKey key;
    if (key.Open(HKEY_CLASSES_ROOT, subKey, KEY_READ) != ERROR_SUCCESS || !key.QueryText(nullptr, value)) return false;
    return value.size() < MAX_PATH;
}
}  // namespace

INT_PTR UrlLauncher::ShellOpen(const std::string& address, int showCommand) {
    return reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, showCommand));
}

UINT UrlLauncher::Run(const std::string& commandLine, int showCommand) {
    return WinExec(commandLine.c_str(), static_cast<UINT>(showCommand));
}

void SetUrlLauncher(UrlLauncher* launcher) { g_launcher = launcher; }

std::string BrowserCommandLine(std::string registered, const std::string& address) {
    auto pos = registered.find("\"%1\"");
    if (pos == std::string::npos) pos = registered.find("%1");
    if (pos != std::string::npos) registered.resize(pos);
    return registered + " " + address;
}

bool BrowserFallbackCommand(const std::string& address, std::string& commandLine) {
    std::string type, command;
    if (!ReadClassDefault(".htm", type) || !ReadClassDefault(type + "\\shell\\open\\command", command))
        return false;
    commandLine = BrowserCommandLine(command, address);
    return true;
}

INT_PTR OpenUrl(const std::string& address, int showCommand) {
    const INT_PTR shell = Launcher().ShellOpen(address, showCommand);
    if (shell > 32) return shell;
    std::string commandLine;
    if (!BrowserFallbackCommand(address, commandLine)) return shell;
    return static_cast<INT_PTR>(Launcher().Run(commandLine, showCommand));
}
