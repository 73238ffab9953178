// Where catalogs and documents stand against the vault root, and which
// documents are text.
#pragma once
#include <string>
#include <string_view>

namespace vault {

// The path's extension, upper-cased, occurs anywhere in textFileTypes.
bool IsTextFileType(std::string_view path, std::string_view textFileTypes);
// True when path starts with root exactly (case-sensitive).
bool IsUnderBaseDir(std::string_view path, std::string_view root);
// Path with as many leading characters removed as the root has.
std::string RelativeCatalogPath(std::string_view catalogPath, std::string_view root);

constexpr const char* kDefaultTextFileTypes = ".TXT.RTF.HTM.HTML.ASP.JSP";

}  // namespace vault
