// Helpers shared by the Windows test programs.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/message_box.h"

// A fresh folder under the temporary folder, removed with its content.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
void RemoveTree(const std::string& path);
// A file's modification time in seconds since 1970 (0 when missing), and
// setting it.
std::uint32_t ModifiedTime(const std::string& path);
void SetModifiedTime(const std::string& path, std::uint32_t seconds);

// Answers every message box with `answer` and records what was asked.
class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int answer = IDOK);
    ~MessageBoxRecorder();
    std::vector<MessageBoxRequest> boxes;
    int answer;
};

// Runs the message loop until `done` returns true or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
void PumpFor(DWORD ms);

#include "common/ui_port.h"

// A UiPort that records what services tell the user and answers from fields.
class RecordingUi : public UiPort {
public:
    void AddMessage(const std::string& text) override { messages += text; }
    int Ask(const std::string& text, UINT type, const std::string& caption) override {
        asked.push_back({nullptr, text, caption, type});
        return answer;
    }
    void Beep() override { ++beeps; }
    bool BrowseForFolder(const std::string&, std::string& folder) override {
        folder = browseResult;
        return !browseResult.empty();
    }
    bool AskPassword(std::string& password) override {
        password = passwordAnswer;
        return passwordGiven;
    }
    void OpenDocument(const std::string& path, const std::string& workingFolder) override {
        opened.push_back(path);
        openedIn.push_back(workingFolder);
    }

    std::string messages;
    std::vector<MessageBoxRequest> asked;
    int answer = IDOK;
    int beeps = 0;
    std::string browseResult;
    std::string passwordAnswer;
    bool passwordGiven = true;
    std::vector<std::string> opened;
    std::vector<std::string> openedIn;  // the working folder of each
};
