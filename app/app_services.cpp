#include "app/app_services.h"

#include <shlobj.h>

#include "app/app_rules.h"
#include "app/archivon_app.h"
#include "common/browse_folder.h"
#include "common/message_box.h"
#include "common/settings_store.h"

std::string GetModulePath() {
    std::string buf(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return {};
        if (n < buf.size()) {
            buf.resize(n);
            return buf;
        }
        buf.resize(buf.size() * 2);
    }
}

std::string GetModuleDirectory() {
    const std::string exe = GetModulePath();
    const auto slash = exe.rfind('\\');
    return slash == std::string::npos ? exe : exe.substr(0, slash);
}

std::string GetVaultRoot() {
    const std::string base = ArchivonSettings().GetText("Config", "BaseDir", "");
    return base.empty() ? GetModuleDirectory() + "\\Root" : base;
}

std::string GetUnknownCatalogPath() { return GetVaultRoot() + "\\UnknownCatalog"; }

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsFolder(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreatePath(const std::string& path) {
    for (const auto& prefix : app::CreatePathPrefixes(path)) {
        if (PathExists(prefix)) continue;
        if (prefix.size() > app::kMaxPathComponent) {
            ShowMessageBox(nullptr, "The Path is too long", "Archivon", MB_OK);
            return false;
        }
        CreateDirectoryA(prefix.c_str(), nullptr);
    }
    return true;
}

bool IsUnderBaseDir(const std::string& path) { return app::IsUnderBaseDir(path, GetVaultRoot()); }

void ShowSystemError() {
    const DWORD code = GetLastError();
    ShowMessageBox(nullptr, SystemErrorText(code), "Error", MB_OK | MB_ICONINFORMATION);
}

bool BrowseForFolder(const std::string& title, std::string& folder) {
    return BrowseForFolderDialog(nullptr, title, folder);
}

bool IsTextFileType(const std::string& path) {
    const CArchivonApp* app = CArchivonApp::Instance();
    const std::string types = app && !app->textFileTypes.empty()
                                  ? app->textFileTypes
                                  : ArchivonSettings().GetText("Config", "TextFileTypes", app::kDefaultTextFileTypes);
    return app::IsTextFileType(path, types);
}
