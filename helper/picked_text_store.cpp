#include "helper/picked_text_store.h"

#include <windows.h>

#include <algorithm>
#include <ctime>

#include "common/message_box.h"
#include "common/paths.h"
#include "common/win/handle.h"
#include "helper/module.h"
#include "helper/picked_text_rules.h"

namespace gleanix {

namespace {
constexpr char kSection[] = "Records";

std::string ReadIni(const char* name, const std::string& defaultValue) {
    const std::string file = SettingsFilePath();
    std::string buf(1024, '\0');
    for (;;) {
        const DWORD n = GetPrivateProfileStringA(kSection, name, defaultValue.c_str(), buf.data(),
                                                 static_cast<DWORD>(buf.size()), file.c_str());
        // n == size - 1 means the value may have been cut.
        if (n + 1 < buf.size() || buf.size() >= 1u << 20) {
            buf.resize(n);
            return buf;
        }
        buf.resize(buf.size() * 4);
    }
}

}  // namespace

std::string SettingsFilePath() {
    std::string path = ModulePath();
    const auto dot = path.rfind('.');
    const auto slash = path.rfind('\\');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) path.resize(dot);
    return path + ".ini";
}

std::string ReadStoreInFile() {
    std::string folder = paths::FolderPart(ModulePath());
    const std::string value = ReadIni("StoreInFile", folder + "\\gleanix.txt");
    return value.empty() ? "\\" : value;
}

bool ReadIsStoreToAvn() {
    const std::string value = ReadIni("IsStoreToAvn", "1");
    return !value.empty() && value[0] == '1';
}

void WriteRecords(const std::string& storeInFile, bool storeToMain) {
    const std::string file = SettingsFilePath();
    WritePrivateProfileStringA(kSection, "StoreInFile", storeInFile.c_str(), file.c_str());
    WritePrivateProfileStringA(kSection, "IsStoreToAvn", storeToMain ? "1" : "0", file.c_str());
}

void AppendPickedText(const std::string& path, const std::string& text, const std::string& url) {
    win::File file = win::File::Open(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS);
    if (!file.valid()) return;
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_s(&local, &now);
    const std::string separator = PickedTextSeparator(local, url);
    std::uint64_t end = 0;
    const bool ok = file.Size(end) && file.Seek(end) && file.Write(separator.data(), separator.size()) &&
                    file.Write(text.data(), text.size());
    const DWORD error = ok ? 0 : GetLastError();
    file.Close();
    if (!ok)
        ShowMessageBox(nullptr, "An error occurred while writing " + path + ".\n" + SystemErrorText(error),
                       "Archivon", MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace gleanix
