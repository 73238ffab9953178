// What the vault services need to know of the configuration, handed to
// them by whoever creates them; read once at start-up.
#pragma once
#include <string>

class SettingsStore;

namespace vault {

struct VaultContext {
    std::string root;           // the vault root, without a trailing backslash
    std::string textFileTypes;  // upper-case extensions, ".TXT.HTM..."
    std::string UnknownCatalog() const { return root + "\\UnknownCatalog"; }
};

// "BaseDir" of section "Config" as stored, or programFolder + "\Root" when
// it is empty; "TextFileTypes" with its default.
VaultContext LoadVaultContext(const SettingsStore& settings, const std::string& programFolder);

}  // namespace vault
