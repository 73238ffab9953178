#include "app/app_rules.h"

#include "common/paths.h"

namespace app {

bool ParseFileListArgument(std::string_view text, std::vector<std::string>& out) {
    auto slash = text.rfind('\\');
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

bool IsTextFileType(std::string_view path, std::string_view textFileTypes) {
    auto dot = path.rfind('.');
    if (dot == std::string_view::npos) return false;
    const std::string ext = paths::ToUpperAscii(path.substr(dot));
    return textFileTypes.find(ext) != std::string_view::npos;
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
        return std::string(exePath) + ".HLP";
    return std::string(exePath.substr(0, dot)) + ".HLP";
}

std::vector<std::string> CreatePathPrefixes(std::string_view path) {
    std::vector<std::string> all;
    for (std::size_t i = 1; i < path.size(); ++i)
        if (path[i] == '\\') all.emplace_back(path.substr(0, i));
    all.emplace_back(path);
    if (!all.empty()) all.erase(all.begin());
    return all;
}

bool IsUnderBaseDir(std::string_view path, std::string_view root) {
    return path.size() >= root.size() && path.substr(0, root.size()) == root;
}

std::string RelativeCatalogPath(std::string_view catalogPath, std::string_view root) {
    return catalogPath.size() <= root.size() ? std::string() : std::string(catalogPath.substr(root.size()));
}

}  // namespace app
