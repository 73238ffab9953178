// Free names for a file that would land on an existing one.
#pragma once
#include <string>
#include <string_view>

namespace vault {

// "name.ext" -> "name (n).ext"; the number goes before the last dot of the
// file name, or at the end when there is none (a leading dot is no
// extension: ".profile" -> ".profile (2)"). A folder part is kept.
std::string NumberedName(std::string_view path, int n);

}  // namespace vault
