// Text rules of the picked-text store: titles made from picked text, the
// separator line before each entry, and the file an entry goes to.
#pragma once
#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

namespace gleanix {

// The longest title made into a file name. A name may have 255 characters,
// but it lands in a folder and the whole path must stay below the 260 that
// the ANSI file functions take; 128 leaves room for the folder and the
// extension and is still far more than a title needs.
constexpr std::size_t kMaxTitleLength = 128;

// Which bytes of the ANSI code page lead a double-byte character, so that a
// cut never splits one. Gleanix installs the system's test when it loads;
// without one every byte is a character of its own.
using LeadByteTest = bool (*)(unsigned char byte);
void SetLeadByteTest(LeadByteTest test);
// `text` cut to at most `maxLength` bytes, never inside a character.
std::string_view CutToLength(std::string_view text, std::size_t maxLength);

// A title from the first suitable line of picked text, or "" when none; at
// most kMaxTitleLength bytes.
std::string DeriveTitle(std::string_view text);

// The line written before each entry: two line breaks, the local time of
// the write and the source URL.
std::string PickedTextSeparator(const std::tm& localTime, std::string_view url);

// `title` when it is not empty, else DeriveTitle(text), else "NoTitle".
std::string TitleOrDerived(std::string_view title, std::string_view text);

// A page's title: one holding a path separator (or none at all) is
// replaced by the title derived from the picked text.
std::string PageTitle(std::string_view title, std::string_view text);

// What is handed to the main program under a file name.
enum class Handed { Page, Text };
// Whether a caller's title makes the name by itself; otherwise the name
// needs the picked text to derive one.
bool TitleStands(std::string_view title, Handed what);
// The file name a page (".html") or picked text (".txt") is handed over
// under. The main program stores it with C-string file functions, so no
// control character, embedded NUL above all, may stay in it: the title
// "evil.hta\0" must not arrive as "evil.hta".
std::string HandoffName(std::string_view title, std::string_view text, Handed what);

// The file an entry goes to. "StoreInFile" names the file itself unless it
// ends with a backslash; then it is a folder and the file is named after
// the title. Titles come from web pages, so they are made safe as file
// names first: an entry can never land outside the chosen folder. A title
// too long for the folder is cut, so that the file can be made.
std::string PickedTextTarget(std::string_view storeInFile, std::string_view title);

// The "StoreInFile" value the control panel writes back: the folder mode
// is marked by one trailing backslash.
std::string StoreInFileValue(std::string_view path, bool oneFile);

}  // namespace gleanix
