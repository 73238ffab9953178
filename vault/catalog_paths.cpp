#include "vault/catalog_paths.h"

#include "common/paths.h"

namespace vault {

bool IsTextFileType(std::string_view path, std::string_view textFileTypes) {
    auto dot = path.rfind('.');
    if (dot == std::string_view::npos) return false;
    const std::string ext = paths::ToUpperAscii(path.substr(dot));
    return textFileTypes.find(ext) != std::string_view::npos;
}

bool IsUnderBaseDir(std::string_view path, std::string_view root) {
    return path.size() >= root.size() && path.substr(0, root.size()) == root;
}

std::string RelativeCatalogPath(std::string_view catalogPath, std::string_view root) {
    return catalogPath.size() <= root.size() ? std::string() : std::string(catalogPath.substr(root.size()));
}
}  // namespace vault
