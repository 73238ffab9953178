// Path text helpers. Paths are joined with backslashes and carry no
// trailing backslash except at a drive root.
#pragma once
#include <string>
#include <string_view>
#include <vector>

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
// CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM1-9 and LPT1-9 open a device
// whatever extension follows them ("nul.txt" too), and trailing blanks do not
// help. The system counts the superscript digits of the ANSI code page as
// digits there too: COM\xB9, COM\xB2 and COM\xB3 (1, 2, 3) are ports as well.
bool IsDeviceName(std::string_view name);

// Replaces every character that cannot stand in a Windows file name
// (\ / : * ? " < > | and control characters) with '_'; an empty or
// dots-only result becomes "_"; a device name (CON, NUL.txt, COM1, LPT\xB2,
// ...) gets a leading "_". The result always passes IsBareFileName.
std::string SanitizeFileName(std::string_view name);

// The one rule for a file name that comes from outside the program: a file
// list (command line, dropped files, a hand-off request), a page or a
// server, and every name a catalog index holds. True only for a single bare
// name that, joined to its folder, stays in that folder. Refused:
// - an empty name and one made of dots only ("." "..", "..."),
// - "\", "/" and ":" (folders, drives, alternate streams),
// - control characters (below 0x20, and 0x7F),
// - device names (IsDeviceName), with any extension.
// A name that fails is refused as a whole, never repaired silently; use
// SanitizeFileName where a name may be made up instead.
bool IsBareFileName(std::string_view name);

// "C:\In\a.txt|b.txt|" -> C:\In\a.txt, C:\In\b.txt: a folder up to the last
// backslash of the first item, then names separated by "|". False (and no
// list) for empty text or a first item without a backslash. The names are
// not checked here: an item such as "..\a.txt" comes out as
// "C:\In\..\a.txt", and whoever files the paths refuses each name that is
// not IsBareFileName.
bool ParseFileListArgument(std::string_view text, std::vector<std::string>& out);
// Executable path cut after its last "." followed by "job"; "" without ".".
std::string JobFilePathFor(std::string_view exePath);
// The help page: the executable path with its extension replaced by ".htm".
std::string HelpFilePathFor(std::string_view exePath);
// A file: address of a full path ("C:\A b\x.htm", "t" ->
// "file:///C:/A%20b/x.htm#t"); the fragment is left off when empty.
std::string FileUrl(std::string_view path, std::string_view fragment = {});
// The folders CreatePath makes, in order: every prefix ending before a
// backslash (searched from the second character on) and the whole path,
// without the first one (the drive).
std::vector<std::string> CreatePathPrefixes(std::string_view path);

constexpr std::size_t kMaxPathComponent = 260;

}  // namespace paths
