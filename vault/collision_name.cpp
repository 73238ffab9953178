#include "vault/collision_name.h"

namespace vault {

std::string NumberedName(std::string_view path, int n) {
    const auto slash = path.rfind('\\');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    auto dot = path.rfind('.');
    if (dot == std::string_view::npos || dot <= nameStart) dot = path.size();
    std::string r(path.substr(0, dot));
    r += " (" + std::to_string(n) + ")";
    r.append(path.substr(dot));
    return r;
}

}  // namespace vault
