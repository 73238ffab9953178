#include "jobs/web_picker.h"

#include <unordered_set>

#include "net/file_naming.h"

namespace jobs {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Pages break tags over lines, so a tab or a line break separates as a
// blank does.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The source named by one tag's text (as collected: leading blanks gone,
// the closing '>' kept), or an empty view.
std::string_view TagSource(std::string_view tag, std::string_view lowered, unsigned flags) {
    if (tag.size() < 10) return {};
    const bool image = (flags & kImageSources) && lowered.substr(0, 3) == "img" && IsBlank(lowered[3]);
    const bool embedded = (flags & kEmbeddedSources) && lowered.substr(0, 5) == "embed" && IsBlank(lowered[5]);
    if (!image && !embedded) return {};
    const std::size_t src = lowered.find("src=");
    if (src == std::string_view::npos) return {};
    std::size_t start = src + 4;
    if (start < tag.size() && (tag[start] == '"' || tag[start] == '\'')) ++start;
    std::size_t end = start;
    while (end < tag.size() && tag[end] != '"' && tag[end] != '\'' && !IsBlank(tag[end])) ++end;
    // Nothing ends the value: it runs to the tag's closing '>'.
    if (end == tag.size()) end = tag.size() - 1;
    if (end <= start) return {};
    return tag.substr(start, end - start);
}

}  // namespace

void SanitizeFileName(std::string& name) {
    for (char& c : name) {
        if (c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '|')
            c = '-';
        else if (c == '<')
            c = '[';
        else if (c == '>')
            c = ']';
    }
    name = net::SafeLocalName(name);
}

bool PageExtension(std::string_view fileName, std::string& extension) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos) return false;
    extension.assign(fileName.substr(dot + 1));
    for (char& c : extension) c = Lower(c);
    return true;
}

bool ExtractResourceLinks(std::string_view html, std::vector<std::string>& links, unsigned flags,
                          std::size_t maxLinks) {
    // Pages repeat their icons hundreds of times; the set keeps each
    // repetition one lookup.
    std::unordered_set<std::string> seen(links.begin(), links.end());
    std::string tag, lowered;
    bool open = false;
    for (std::size_t i = 0; i < html.size() && links.size() < maxLinks; ++i) {
        const char c = html[i];
        if (!open) {
            if (c == '<') open = true;
            continue;
        }
        // A '<' inside an open tag is dropped and does not start a new one.
        if (c == '<') continue;
        // Leading blanks are not part of the tag text.
        if (tag.empty() && IsBlank(c)) continue;
        tag.push_back(c);
        lowered.push_back(Lower(c));
        if (c != '>') continue;
        const std::string_view source = TagSource(tag, lowered, flags);
        if (!source.empty() && source.size() <= kMaxLinkLength && seen.emplace(source).second)
            links.emplace_back(source);
        tag.clear();
        lowered.clear();
        open = false;
    }
    return !links.empty();
}

bool SplitUrlPrefixes(std::string_view url, std::vector<std::string>& prefixes) {
    prefixes.clear();
    if (url.size() > kMaxLinkLength) return false;
    const std::size_t scheme = url.find("://");
    if (scheme == std::string_view::npos) return false;
    // A slash in the query or the fragment names no directory.
    const std::size_t query = url.find_first_of("?#", scheme + 3);
    if (query != std::string_view::npos) url = url.substr(0, query);
    std::size_t pos = scheme + 2;
    while (pos + 1 < url.size()) {
        const std::size_t next = url.find('/', pos + 1);
        if (next == std::string_view::npos) break;
        prefixes.emplace_back(url.substr(0, next));
        pos = next;
    }
    return !prefixes.empty();
}

bool ResolveLink(const std::vector<std::string>& prefixes, std::string_view link, std::string& url) {
    if (prefixes.empty() || link.empty() || link.size() > kMaxLinkLength) return false;
    if (link.find("://") != std::string_view::npos) {
        url.assign(link);
        return true;
    }
    const char first = link[0];
    if ((first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z')) {
        // "javascript:", "data:", "mailto:": a scheme of its own, not a file
        // in the page's directory.
        const std::size_t colon = link.find(':');
        if (colon != std::string_view::npos && colon < link.find('/')) return false;
        url = prefixes.back() + "/" + std::string(link);
        return true;
    }
    if (link.substr(0, 2) == "//") {
        // Another host under the page's own scheme.
        const std::string& root = prefixes.front();
        url = root.substr(0, root.find("://") + 1) + std::string(link);
        return true;
    }
    if (first == '/') {
        url = prefixes.front() + std::string(link);
        return true;
    }
    if (link.substr(0, 2) == "./") {
        url = prefixes.back() + std::string(link.substr(1));
        return true;
    }
    if (link.substr(0, 3) == "../") {
        std::size_t ups = 0;
        while (link.substr(ups * 3, 3) == "../") ++ups;
        if (ups > prefixes.size() - 1) return false;
        url = prefixes[prefixes.size() - 1 - ups] + std::string(link.substr(ups * 3 - 1));
        return true;
    }
    return false;
}

}  // namespace jobs
