#include "vault/base_directory.h"

namespace vault {

BaseDirectoryCheck NormaliseBaseDirectory(std::string_view typed, std::string& normalised) {
    while (!typed.empty() && typed.back() == '\\') typed.remove_suffix(1);
    normalised.assign(typed);
    if (typed.size() == 2 && typed[1] == ':') return BaseDirectoryCheck::BareDrive;
    return BaseDirectoryCheck::Ok;
}

}  // namespace vault
