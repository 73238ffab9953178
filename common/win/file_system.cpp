#include "common/win/file_system.h"

#include "common/paths.h"
#include "common/ui_port.h"

namespace win {

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsFolder(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreatePath(const std::string& path, UiPort& ui) {
    for (const auto& prefix : paths::CreatePathPrefixes(path)) {
        if (PathExists(prefix)) continue;
        if (prefix.size() > paths::kMaxPathComponent) {
            ui.Ask("The Path is too long", MB_OK);
            return false;
        }
        CreateDirectoryA(prefix.c_str(), nullptr);
    }
    return true;
}

bool TempFolder(std::string& folder) {
    char buf[MAX_PATH + 1];
    const DWORD n = GetTempPathA(sizeof buf, buf);
    if (n == 0 || n > MAX_PATH) return false;
    folder.assign(buf, n);
    return true;
}

namespace {
constexpr std::uint64_t kTicksPerSecond = 10000000;
constexpr std::uint64_t kUnixEpochTicks = 116444736000000000ull;  // 1970-01-01 in FILETIME ticks
}  // namespace

std::uint32_t UnixTimeFromFileTime(const FILETIME& ft) {
    const std::uint64_t ticks = (std::uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    if (ticks <= kUnixEpochTicks) return 0;
    const std::uint64_t s = (ticks - kUnixEpochTicks) / kTicksPerSecond;
    return s > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<std::uint32_t>(s);
}

FILETIME FileTimeFromUnixTime(std::uint32_t seconds) {
    const std::uint64_t ticks = kUnixEpochTicks + std::uint64_t(seconds) * kTicksPerSecond;
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

namespace {
// GetModuleFileName in either width, with a buffer grown until the name fits.
template <typename String, typename GetName>
String ModuleName(HMODULE module, GetName getName) {
    String path(MAX_PATH, 0);
    for (;;) {
        const DWORD n = getName(module, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return String();
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}
}  // namespace

std::string ModuleFileName(HMODULE module) { return ModuleName<std::string>(module, &GetModuleFileNameA); }
std::wstring ModuleFileNameW(HMODULE module) { return ModuleName<std::wstring>(module, &GetModuleFileNameW); }

std::string ModuleDirectory(HMODULE module) {
    const std::string exe = ModuleFileName(module);
    const auto slash = exe.rfind('\\');
    return slash == std::string::npos ? exe : exe.substr(0, slash);
}

}  // namespace win
