// The vault root as the user types it on the settings sheet.
#pragma once
#include <string>
#include <string_view>

namespace vault {

enum class BaseDirectoryCheck { Ok, BareDrive };

// Removes every trailing backslash ("D:\Vault\\" -> "D:\Vault", "C:\" ->
// "C:"), then refuses a bare drive: a vault root must be a folder below a
// volume's root.
BaseDirectoryCheck NormaliseBaseDirectory(std::string_view typed, std::string& normalised);

}  // namespace vault
