#include "tests/support/test_env.h"
#include "common/win/folder_enumerator.h"
#include "common/win/file_system.h"
#include "common/win/handle.h"

#include <atomic>

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    std::string base(tmp);
    if (!base.empty() && base.back() == '\\') base.pop_back();
    for (;;) {
        path_ = base + "\\avtest" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(counter++) +
                "_" + std::to_string(GetTickCount());
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    }
}

TempDir::~TempDir() { RemoveTree(path_); }

void RemoveTree(const std::string& path) {
    {
        win::FolderEnumerator entries(path);
        while (entries.Next()) {
            const std::string full = path + "\\" + entries.name();
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entries.isFolder())
                RemoveTree(full);
            else
                DeleteFileA(full.c_str());
        }
    }
    RemoveDirectoryA(path.c_str());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    win::File file = win::File::Open(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
    if (file.valid()) file.Write(bytes.data(), bytes.size());
}

std::string ReadFileBytes(const std::string& path) {
    win::File file = win::File::Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    std::vector<std::uint8_t> bytes;
    if (!file.valid() || !file.ReadAll(bytes, ~std::uint64_t{0})) return {};
    return std::string(bytes.begin(), bytes.end());
}

std::uint32_t ModifiedTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return win::UnixTimeFromFileTime(data.ftLastWriteTime);
}

void SetModifiedTime(const std::string& path, std::uint32_t seconds) {
    win::File file = win::File::Open(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    const FILETIME ft = win::FileTimeFromUnixTime(seconds);
    if (file.valid()) SetFileTime(file.get(), nullptr, nullptr, &ft);
}

bool FileExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

MessageBoxRecorder::MessageBoxRecorder(int a) : answer(a) {
    SetMessageBoxHook([this](const MessageBoxRequest& r) {
        boxes.push_back(r);
        return answer;
    });
}

MessageBoxRecorder::~MessageBoxRecorder() { SetMessageBoxHook({}); }

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}
