#include "vault/vault_context.h"

#include "common/settings_store.h"
#include "vault/catalog_paths.h"

namespace vault {

VaultContext LoadVaultContext(const SettingsStore& settings, const std::string& programFolder) {
    VaultContext context;
    context.root = settings.GetText("Config", "BaseDir", "");
    if (context.root.empty()) context.root = programFolder + "\\Root";
    context.textFileTypes = settings.GetText("Config", "TextFileTypes", kDefaultTextFileTypes);
    return context;
}

}  // namespace vault
