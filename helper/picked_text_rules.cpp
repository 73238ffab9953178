#include "helper/picked_text_rules.h"

#include "common/paths.h"

namespace gleanix {

namespace {
// The longest path the ANSI file functions open (MAX_PATH less the NUL).
constexpr std::size_t kMaxPathLength = 259;

bool NoLeadBytes(unsigned char) { return false; }
LeadByteTest g_isLeadByte = &NoLeadBytes;

std::string_view Trim(std::string_view s) {
    constexpr std::string_view blanks = " \t\v\f";
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(blanks);
    return s.substr(first, last - first + 1);
}

std::string WithoutControlCharacters(std::string_view s) {
    std::string r;
    r.reserve(s.size());
    for (const char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u != 0x7F) r.push_back(c);
    }
    return r;
}
}  // namespace

void SetLeadByteTest(LeadByteTest test) { g_isLeadByte = test ? test : &NoLeadBytes; }

std::string_view CutToLength(std::string_view text, std::size_t maxLength) {
    if (text.size() <= maxLength) return text;
    std::size_t end = 0;
    for (;;) {
        const std::size_t step = g_isLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
        if (end + step > maxLength) break;
        end += step;
    }
    return text.substr(0, end);
}

std::string DeriveTitle(std::string_view text) {
    std::string_view rest = text;
    std::string title;
    for (;;) {
        const auto br = rest.find_first_of("\r\n");
        if (br == std::string_view::npos) {
            if (rest.size() > 5) title.assign(rest);
            break;
        }
        const std::string_view line = rest.substr(0, br);
        rest.remove_prefix(br + 1);
        if (line.size() < 5) continue;
        // A short trimmed line stays a candidate until a better one comes.
        title.assign(Trim(line));
        if (title.size() > 4) break;
    }
    if (title.size() < 3) title.clear();
    // A one-line pick can be longer than any file name; cut, it still names
    // its file.
    title.resize(CutToLength(title, kMaxTitleLength).size());
    return title;
}

std::string PickedTextSeparator(const std::tm& localTime, std::string_view url) {
    char stamp[64];
    const std::size_t n = std::strftime(stamp, sizeof stamp, "%Y-%m-%d,%H:%M:%S", &localTime);
    std::string line = "\r\n\r\n=~=~=~=~=~=";
    line.append(stamp, n);
    line += "=~=~=~=~=~=";
    line.append(url);
    line += "=~=~=~=~=~=\r\n";
    return line;
}

std::string TitleOrDerived(std::string_view title, std::string_view text) {
    if (!title.empty()) return std::string(title);
    std::string derived = DeriveTitle(text);
    return derived.empty() ? "NoTitle" : derived;
}

std::string PageTitle(std::string_view title, std::string_view text) {
    if (title.find_first_of("\\/") != std::string_view::npos) title = {};
    return TitleOrDerived(title, text);
}

bool TitleStands(std::string_view title, Handed what) {
    const std::string clean = WithoutControlCharacters(title);
    return !clean.empty() && (what == Handed::Text || clean.find_first_of("\\/") == std::string::npos);
}

std::string HandoffName(std::string_view title, std::string_view text, Handed what) {
    const std::string clean = WithoutControlCharacters(title);
    const std::string chosen = what == Handed::Page ? PageTitle(clean, text) : TitleOrDerived(clean, text);
    // A derived title may hold control characters too, or nothing else.
    std::string name(CutToLength(WithoutControlCharacters(chosen), kMaxTitleLength));
    if (name.empty()) name = "NoTitle";
    return name + (what == Handed::Page ? ".html" : ".txt");
}

std::string PickedTextTarget(std::string_view storeInFile, std::string_view title) {
    if (storeInFile.empty() || storeInFile.back() != '\\') return std::string(storeInFile);
    const std::size_t used = storeInFile.size() + 4;  // the folder and ".txt"
    const std::size_t room = used < kMaxPathLength ? kMaxPathLength - used : 1;
    std::string name = paths::SanitizeFileName(CutToLength(title, room));
    // A device name gained a leading '_'; cut again, the '_' stays first.
    if (name.size() > room) name.resize(CutToLength(name, room).size());
    return std::string(storeInFile) + name + ".txt";
}

std::string StoreInFileValue(std::string_view path, bool oneFile) {
    std::string value(path);
    // A folder already shown with its backslash must not gain one per OK.
    if (!oneFile && (value.empty() || value.back() != '\\')) value.push_back('\\');
    return value;
}

}  // namespace gleanix
