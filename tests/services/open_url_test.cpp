#include "common/open_url.h"

#include <gtest/gtest.h>

namespace {
class FakeLauncher : public UrlLauncher {
public:
    INT_PTR shellResult = SE_ERR_NOASSOC;
    INT_PTR ShellOpen(const std::string&, int) override { return shellResult; }
    UINT Run(const std::string& commandLine, int show) override {
        ran.push_back(commandLine);
        shows.push_back(show);
        return 33;
    }
    std::vector<std::string> ran;
    std::vector<int> shows;
};

std::string ClassDefault(const char* key) {
    char buf[MAX_PATH] = {};
    DWORD size = sizeof buf;
    if (RegGetValueA(HKEY_CLASSES_ROOT, key, nullptr, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS)
        return "\x01";
    return buf;
}

void SetClassDefault(const char* key, const std::string& value) {
    RegSetKeyValueA(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

// Points .htm at a page handler of the test's own for one test.
class HtmHandler {
public:
    explicit HtmHandler(const std::string& command) : old_(ClassDefault(".htm")) {
        SetClassDefault(".htm", "ArchivonTestPage");
        SetClassDefault("ArchivonTestPage\\shell\\open\\command", command);
    }
    ~HtmHandler() {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "ArchivonTestPage");
        if (old_ == "\x01")
            RegDeleteKeyValueA(HKEY_CLASSES_ROOT, ".htm", nullptr);
        else
            SetClassDefault(".htm", old_);
    }

private:
    std::string old_;
};
}  // namespace

TEST(OpenUrl, FallsBackToTheRegisteredPageHandler) {
    FakeLauncher launcher;
    SetUrlLauncher(&launcher);
    {
        HtmHandler handler("\"C:\\Program Files\\Browser\\browser.exe\" -nohome \"%1\"");
        EXPECT_EQ(OpenUrl("http://www.tallowind.example/", SW_SHOWNORMAL), 33);
    }
    {
        HtmHandler handler("C:\\b.exe -new-window");
        OpenUrl("http://a/", SW_SHOWMINIMIZED);
    }
    {
        HtmHandler handler("b.exe %1 -x");
        OpenUrl("http://b/", SW_SHOWNORMAL);
    }
    // When the shell manages, nothing else is started.
    launcher.shellResult = 42;
    EXPECT_EQ(OpenUrl("http://c/", SW_SHOWNORMAL), 42);
    SetUrlLauncher(nullptr);
    EXPECT_EQ(launcher.ran, (std::vector<std::string>{
                                "\"C:\\Program Files\\Browser\\browser.exe\" -nohome  http://www.tallowind.example/",
                                "C:\\b.exe -new-window http://a/", "b.exe  http://b/"}));
    EXPECT_EQ(launcher.shows, (std::vector<int>{SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWNORMAL}));
}

TEST(OpenUrl, WithoutAPageHandlerTheShellErrorIsReturned) {
    FakeLauncher launcher;
    SetUrlLauncher(&launcher);
    {
        HtmHandler handler("unused");
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "ArchivonTestPage");
        EXPECT_EQ(OpenUrl("http://a/", SW_SHOWNORMAL), SE_ERR_NOASSOC);
    }
    // A command longer than MAX_PATH bytes cannot be read.
    {
        HtmHandler handler("C:\\" + std::string(300, 'b') + ".exe \"%1\"");
        EXPECT_EQ(OpenUrl("http://a/", SW_SHOWNORMAL), SE_ERR_NOASSOC);
    }
    SetUrlLauncher(nullptr);
    EXPECT_TRUE(launcher.ran.empty());
}
