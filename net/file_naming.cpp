#include "net/file_naming.h"

#include "common/paths.h"

namespace net {

namespace {

constexpr std::size_t kMaxName = 200;

std::string Lowered(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

bool EndsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

}  // namespace

std::string SafeLocalName(std::string_view name) {
    std::string r = paths::SanitizeFileName(name);
    // Windows drops trailing dots and blanks, which would turn "a.." into "a"
    // or "..." into the folder itself.
    while (!r.empty() && (r.back() == '.' || r.back() == ' ')) r.back() = '_';
    if (paths::IsDeviceName(r)) r.insert(0, "_");
    if (r.size() > kMaxName) {
        const std::size_t dot = r.rfind('.');
        const std::size_t extLen = (dot != std::string::npos && r.size() - dot <= 16) ? r.size() - dot : 0;
        r = r.substr(0, kMaxName - extLen) + r.substr(r.size() - extLen);
    }
    return r;
}

std::string NameFromObjectPath(std::string_view host, std::string_view objectPath,
                               const std::string* contentLocationLine) {
    if (objectPath.find_first_of("?&") != std::string_view::npos) return "";
    const std::size_t sep = objectPath.find_last_of("/\\");
    std::string name(sep == std::string_view::npos ? objectPath : objectPath.substr(sep + 1));
    const std::string lower = Lowered(name);
    if (EndsWith(lower, ".jpg") || EndsWith(lower, ".gif") || EndsWith(lower, ".png")) {
        name = std::string(host) + std::string(objectPath);
        for (char& c : name)
            if (c == '/' || c == '\\') c = '_';
    }
    if (name.find('.') == std::string::npos && contentLocationLine) {
        std::string_view line = *contentLocationLine;
        const std::size_t dot = line.rfind('.');
        if (dot != std::string_view::npos) {
            std::string_view ext = line.substr(dot);
            while (!ext.empty() && static_cast<unsigned char>(ext.back()) <= ' ') ext.remove_suffix(1);
            name += ext;
        }
    }
    return name.empty() ? name : SafeLocalName(name);
}

std::string_view ExtensionForContentType(std::string_view line) {
    struct Entry {
        std::string_view type, ext;
    };
    static constexpr Entry kTable[] = {
        {"text/html", ".htm"},         {"text/plain", ".txt"},
        {"text/richtext", ".rtf"},     {"image/gif", ".gif"},
        {"image/jpeg", ".jpg"},        {"image/x-png", ".png"},
        {"application/postscript", ".ps"}, {"application/rtf", ".rtf"},
        {"application/pdf", ".pdf"},   {"application/msword", ".doc"},
        {"application/zip", ".zip"},   {"application/octet-stream", ".exe"},
        {"excel", ".xls"},             {"powerpoint", ".ppt"},
    };
    for (const Entry& e : kTable)
        if (line.find(e.type) != std::string_view::npos) return e.ext;
    return "";
}

std::string NameFromTemporary(std::string_view temporaryPath, std::string_view contentTypeLine) {
    const std::size_t sep = temporaryPath.find_last_of("/\\");
    std::string name = Lowered(sep == std::string_view::npos ? temporaryPath : temporaryPath.substr(sep + 1));
    const std::string_view ext = ExtensionForContentType(contentTypeLine);
    if (!ext.empty()) {
        const std::size_t tmp = name.rfind(".tmp");
        if (tmp != std::string::npos) name.replace(tmp, 4, ext);
    }
    return name.empty() ? name : SafeLocalName(name);
}

std::string FtpFileName(std::string_view objectPath) {
    std::string name(objectPath);
    for (char& c : name)
        if (c == '/' || c == '\\') c = '_';
    if (const std::size_t amp = name.rfind('&'); amp != std::string::npos) name.resize(amp);
    return name.empty() ? name : SafeLocalName(name);
}

bool IsLoaderSensitiveName(std::string_view name) {
    const std::string lower = Lowered(std::string(name));
    // The help files too: the program opens its help from its own folder,
    // which is also the download folder.
    for (std::string_view ext : {".dll", ".ocx", ".cpl", ".drv", ".sys", ".manifest", ".local", ".job", ".ini", ".hlp",
                                 ".chm", ".cnt", ".gid"})
        if (EndsWith(lower, ext)) return true;
    return false;
}

}  // namespace net
