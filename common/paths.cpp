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

std::string SanitizeFileName(std::string_view name) {
    std::string r;
    r.reserve(name.size());
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        const bool bad = u < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
        r.push_back(bad ? '_' : c);
    }
    if (r.empty() || r == "." || r == "..") r = "_";
    return r;
}

}  // namespace paths
