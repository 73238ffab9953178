#include "helper/picked_text_store.h"

#include <windows.h>

#include <algorithm>
#include <ctime>

#include "common/message_box.h"
#include "common/paths.h"
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

bool WriteAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
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
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_s(&local, &now);
    const std::string separator = PickedTextSeparator(local, url);
    LARGE_INTEGER zero = {};
    const bool ok = SetFilePointerEx(file, zero, nullptr, FILE_END) && WriteAll(file, separator) &&
                    WriteAll(file, text);
    const DWORD error = ok ? 0 : GetLastError();
    CloseHandle(file);
    if (!ok)
        ShowMessageBox(nullptr, "An error occurred while writing " + path + ".\n" + SystemErrorText(error),
                       "Archivon", MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace gleanix
