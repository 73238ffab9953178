#include "common/settings_store.h"

#include "common/win/reg_key.h"

SettingsStore::SettingsStore(std::string company, std::string application)
    : root_("Software\\" + company + "\\" + application) {}

std::string SettingsStore::SectionKey(const char* section) const { return root_ + "\\" + section; }

int SettingsStore::GetInt(const char* section, const char* name, int defaultValue) const {
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, SectionKey(section).c_str(), name, RRF_RT_ANY, &type, &value, &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return defaultValue;
    return static_cast<int>(value);
}

std::string SettingsStore::GetText(const char* section, const char* name, const std::string& defaultValue) const {
    win::RegKey key;
    std::string value;
    if (key.Open(HKEY_CURRENT_USER, SectionKey(section), KEY_QUERY_VALUE) != ERROR_SUCCESS ||
        !key.QueryText(name, value))
        return defaultValue;
    return value;
}

bool SettingsStore::SetInt(const char* section, const char* name, int value) const {
    const DWORD v = static_cast<DWORD>(value);
    return RegSetKeyValueA(HKEY_CURRENT_USER, SectionKey(section).c_str(), name, REG_DWORD, &v, sizeof v) ==
           ERROR_SUCCESS;
}

bool SettingsStore::SetText(const char* section, const char* name, const std::string& value) const {
    return RegSetKeyValueA(HKEY_CURRENT_USER, SectionKey(section).c_str(), name, REG_SZ, value.c_str(),
                           static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool SettingsStore::DeleteValue(const char* section, const char* name) const {
    return RegDeleteKeyValueA(HKEY_CURRENT_USER, SectionKey(section).c_str(), name) == ERROR_SUCCESS;
}

SettingsStore& ArchivonSettings() {
    static SettingsStore store("Tallowind", "Archivon");
    return store;
}
