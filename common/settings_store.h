// Per-user settings in the registry under HKCU\Software\<company>\<app>,
// one sub-key per section. Reads take their default where they are used;
// a value of the wrong type reads as that default.
#pragma once
#include <windows.h>

#include <string>

class SettingsStore {
public:
    SettingsStore(std::string company, std::string application);

    int GetInt(const char* section, const char* name, int defaultValue) const;
    std::string GetText(const char* section, const char* name, const std::string& defaultValue) const;
    bool SetInt(const char* section, const char* name, int value) const;
    bool SetText(const char* section, const char* name, const std::string& value) const;
    bool DeleteValue(const char* section, const char* name) const;

    // HKCU-relative key of a section, e.g. Software\Tallowind\Archivon\Config.
    std::string SectionKey(const char* section) const;

private:
    std::string root_;
};

// The store of Archivon's own settings (company "Tallowind", "Archivon").
SettingsStore& ArchivonSettings();
