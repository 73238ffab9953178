#include "common/paths.h"

#include <algorithm>

namespace paths {

std::string Join(std::string_view a, std::string_view b) {
    std::string r(a);
    if (!r.empty() && r.back() != '\\') r.push_back('\\');
    if (r.empty()) r.push_back('\\');
    r.append(b);
    return r;
}

std::string FileNamePart(std::string_view path) {
    auto pos = path.rfind('\\');
    return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string FolderPart(std::string_view path) {
    auto pos = path.rfind('\\');
    return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos));
}

std::string TypeOfPath(std::string_view path) {
    auto pos = path.rfind('.');
    return pos == std::string_view::npos ? std::string() : std::string(path.substr(pos));
}

std::string StemOf(std::string_view fileName) {
    auto pos = fileName.rfind('.');
    return std::string(pos == std::string_view::npos ? fileName : fileName.substr(0, pos));
}

std::string ToUpperAscii(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && ToUpperAscii(a) == ToUpperAscii(b);
}

bool IsDeviceName(std::string_view name) {
    std::string base = ToUpperAscii(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" || base == "CONOUT$")
        return true;
    if (base.size() != 4 || (base.compare(0, 3, "COM") != 0 && base.compare(0, 3, "LPT") != 0)) return false;
    const auto digit = static_cast<unsigned char>(base[3]);
    return (digit >= '1' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
}

std::string SanitizeFileName(std::string_view name) {
    std::string r;
    r.reserve(name.size());
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        const bool bad = u < 0x20 || u == 0x7F || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
        r.push_back(bad ? '_' : c);
    }
    if (r.find_first_not_of('.') == std::string::npos) r = "_";
    if (IsDeviceName(r)) r.insert(r.begin(), '_');
    return r;
}

bool IsBareFileName(std::string_view name) {
    // Dots only: "." and ".." name folders, and the system drops trailing
    // dots, so "..." would name the folder itself.
    if (name.find_first_not_of('.') == std::string_view::npos) return false;
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == '\\' || c == '/' || c == ':') return false;
    }
    return !IsDeviceName(name);
}

bool ParseFileListArgument(std::string_view text, std::vector<std::string>& out) {
    // The folder ends at the last backslash before the first "|": a later
    // name such as "..\\a.txt" is a name to refuse, not part of the folder
    // (which would swallow the names before it).
    auto slash = text.rfind('\\', text.find('|'));
    if (text.empty() || slash == std::string_view::npos) return false;
    const std::string folder(text.substr(0, slash + 1));
    std::string_view rest = text.substr(slash + 1);
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t' || rest.front() == '\r' ||
                             rest.front() == '\n'))
        rest.remove_prefix(1);
    out.clear();
    for (;;) {
        auto bar = rest.find('|');
        if (bar == std::string_view::npos) {
            if (!rest.empty()) out.push_back(folder + std::string(rest));
            break;
        }
        out.push_back(folder + std::string(rest.substr(0, bar)));
        rest.remove_prefix(bar + 1);
    }
    return true;
}

std::string JobFilePathFor(std::string_view exePath) {
    auto dot = exePath.rfind('.');
    if (dot == std::string_view::npos) return {};
    return std::string(exePath.substr(0, dot + 1)) + "job";
}

std::string HelpFilePathFor(std::string_view exePath) {
    auto dot = exePath.rfind('.');
    auto slash = exePath.rfind('\\');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::string(exePath) + ".htm";
    return std::string(exePath.substr(0, dot)) + ".htm";
}

std::string FileUrl(std::string_view path, std::string_view fragment) {
    static const char hex[] = "0123456789ABCDEF";
    std::string url = "file:";
    // A drive path gets an empty host; a UNC path names its server. Bytes
    // of the code page above 127 stay as they are, as the shell reads them.
    url += path.substr(0, 2) == "\\\\" ? "" : "///";
    for (const char c : path) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '\\')
            url += '/';
        else if (b <= 0x20 || b == 0x7F || c == '#' || c == '%' || c == '?')
            url += {'%', hex[b >> 4], hex[b & 15]};
        else
            url += c;
    }
    if (!fragment.empty()) url += "#" + std::string(fragment);
    return url;
}

std::vector<std::string> CreatePathPrefixes(std::string_view path) {
    std::vector<std::string> all;
    for (std::size_t i = 1; i < path.size(); ++i)
        if (path[i] == '\\') all.emplace_back(path.substr(0, i));
    all.emplace_back(path);
    if (!all.empty()) all.erase(all.begin());
    return all;
}
}  // namespace paths
