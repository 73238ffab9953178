// Files and folders by path: existence, folder creation, times, the
// temporary folder and the program's own path.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

class UiPort;

namespace win {

bool PathExists(const std::string& path);
bool IsFolder(const std::string& path);
// Creates every missing folder along the path; refuses with "The Path is too
// long" when a folder on the way is longer than 260 characters.
bool CreatePath(const std::string& path, UiPort& ui);
// The temporary folder with its trailing backslash; false when the system
// cannot give one.
bool TempFolder(std::string& folder);

// Seconds since 1970 (UTC), clamped to the 32 bits the stored formats keep.
std::uint32_t UnixTimeFromFileTime(const FILETIME& ft);
FILETIME FileTimeFromUnixTime(std::uint32_t seconds);

// Full path of a loaded module (null: the program), however long.
std::string ModuleFileName(HMODULE module = nullptr);
std::wstring ModuleFileNameW(HMODULE module = nullptr);
// Folder of the program, without a trailing backslash.
std::string ModuleDirectory(HMODULE module = nullptr);

}  // namespace win
