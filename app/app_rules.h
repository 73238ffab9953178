// Start-up and path rules of the application object, free of the platform.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace app {

// "C:\In\a.txt|b.txt|" -> C:\In\a.txt, C:\In\b.txt. False (and no list)
// for empty text or text without a backslash.
bool ParseFileListArgument(std::string_view text, std::vector<std::string>& out);
// The path's extension, upper-cased, occurs anywhere in textFileTypes.
bool IsTextFileType(std::string_view path, std::string_view textFileTypes);
// Executable path cut after its last "." followed by "job"; "" without ".".
std::string JobFilePathFor(std::string_view exePath);
// Executable path with its extension replaced by ".HLP".
std::string HelpFilePathFor(std::string_view exePath);
// The folders CreatePath makes, in order: every prefix ending before a
// backslash (searched from the second character on) and the whole path,
// without the first one (the drive).
std::vector<std::string> CreatePathPrefixes(std::string_view path);
// True when path starts with root exactly (case-sensitive).
bool IsUnderBaseDir(std::string_view path, std::string_view root);
// Path with as many leading characters removed as the root has.
std::string RelativeCatalogPath(std::string_view catalogPath, std::string_view root);

constexpr std::size_t kMaxPathComponent = 260;
constexpr const char* kDefaultTextFileTypes = ".TXT.RTF.HTM.HTML.ASP.JSP";

}  // namespace app
