// Path text helpers. Paths are joined with backslashes and carry no
// trailing backslash except at a drive root.
#pragma once
#include <string>
#include <string_view>

namespace paths {

// a + "\" + b, without doubling a backslash that a already ends with.
std::string Join(std::string_view a, std::string_view b);
// Text after the last backslash (the whole text when there is none).
std::string FileNamePart(std::string_view path);
// Text before the last backslash (empty when there is none).
std::string FolderPart(std::string_view path);
// From the last "." of the whole text to the end, "" without a dot. The
// search is over the whole path, so "D:\notes.old\readme" gives ".old\readme".
std::string TypeOfPath(std::string_view path);
// Name without its extension (text before the last dot of the file name).
std::string StemOf(std::string_view fileName);
std::string ToUpperAscii(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Replaces every character that cannot stand in a Windows file name
// (\ / : * ? " < > | and control characters) with '_'; "." and ".." and an
// empty result become "_"; a device name (CON, NUL.txt, COM1, ...) gets a
// leading "_".
std::string SanitizeFileName(std::string_view name);

}  // namespace paths
