// Requests from Gleanix reach a window titled like Archivon's main window.
#include <atomic>
#include <chrono>
#include <thread>

#include "common/win/handle.h"
#include "common/handoff_record.h"
#include "common/settings_store.h"
#include "tests/support/gleanix_client.h"
#include "tests/support/modal_script.h"

namespace {
struct Received {
    WPARAM wParam;
    ULONG_PTR code;
    bool decoded;
    handoff::HandoffRecord record;
};

// A stand-in for the main window, in this process.
class FakeMainWindow {
public:
    FakeMainWindow() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "FakeArchivonMain";
        RegisterClassA(&wc);
        hwnd = CreateWindowA("FakeArchivonMain", "Archivon ver 1.10   ", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                             nullptr, nullptr, wc.hInstance, this);
    }
    ~FakeMainWindow() { DestroyWindow(hwnd); }
    HWND hwnd = nullptr;
    std::vector<Received> received;

private:
    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_NCCREATE)
            SetWindowLongPtrA(w, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
        if (msg == WM_COPYDATA) {
            auto* self = reinterpret_cast<FakeMainWindow*>(GetWindowLongPtrA(w, GWLP_USERDATA));
            const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
            Received r{wp, cds->dwData, false, {}};
            r.decoded = handoff::DecodeHandoff(cds->lpData, cds->cbData, r.record);
            self->received.push_back(r);
            return TRUE;
        }
        return DefWindowProcA(w, msg, wp, lp);
    }
};

// Sets "path4gleanix" for one test and puts the old value back.
class MainProgramPath {
public:
    explicit MainProgramPath(const std::string& value)
        : old_(ArchivonSettings().GetText("Config", "path4gleanix", "\x01")) {
        ArchivonSettings().SetText("Config", "path4gleanix", value);
    }
    ~MainProgramPath() {
        if (old_ == "\x01")
            ArchivonSettings().DeleteValue("Config", "path4gleanix");
        else
            ArchivonSettings().SetText("Config", "path4gleanix", old_);
    }

private:
    std::string old_;
};

// A stage that keeps a box's text and answers it.
void RecordAndAnswer(ModalScript& s, HWND box) {
    s.texts.push_back(DlgText(box, 0xFFFF));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

std::uint32_t Handle32(HWND w) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(w)); }
}  // namespace

TEST(GleanixHandoff, RequestsReachTheMainWindow) {
    GleanixCopy g;
    FakeMainWindow main;
    ASSERT_NE(main.hwnd, nullptr);
    IDispatch* o = g.Create();
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(GleanixCopy::Call(o, L"AddPageEx", {L"<html/>", L"x\nReport\n", L"http://p/", L"a/b"}), S_OK);
    EXPECT_EQ(GleanixCopy::Call(o, L"AddPageEx", {L"<p>", L"ab\ncd\n", L"http://p/", L""}), S_OK);
    EXPECT_EQ(GleanixCopy::Call(o, L"AddPageEx", {L"<p>", L"ab", L"http://p/", L"Kept"}), S_OK);
    EXPECT_EQ(GleanixCopy::Call(o, L"AddInfoEx", {L"picked \u00e9", L"http://i/", L"Mine"}), S_OK);
    EXPECT_EQ(GleanixCopy::Call(o, L"AddDld", {L"http://d/f.zip", L"whatever"}), S_OK);
    EXPECT_EQ(GleanixCopy::Call(o, L"AddDld", {L"http://d/f.zip", nullptr}), S_OK);
    // AddInfo always writes the file, whatever the hand-off setting says.
    EXPECT_EQ(GleanixCopy::Call(o, L"AddInfo", {L"to the file", L"http://i/"}), S_OK);
    o->Release();

    using V = std::vector<std::string>;
    ASSERT_EQ(main.received.size(), 6u);
    for (const auto& r : main.received) {
        EXPECT_TRUE(r.decoded);
        EXPECT_EQ(r.wParam, r.code);
        EXPECT_EQ(r.record.window, Handle32(main.hwnd));
    }
    EXPECT_EQ(main.received[0].code, handoff::HANDOFF_STORE_PAGE);
    EXPECT_EQ(main.received[0].record.strings, (V{"<html/>", "http://p/", "Report.html"}));
    EXPECT_EQ(main.received[1].record.strings, (V{"<p>", "http://p/", "NoTitle.html"}));
    EXPECT_EQ(main.received[2].record.strings, (V{"<p>", "http://p/", "Kept.html"}));
    EXPECT_EQ(main.received[3].code, handoff::HANDOFF_STORE_PAGE);
    EXPECT_EQ(main.received[3].record.strings, (V{"picked \xE9", "http://i/", "Mine.txt"}));
    EXPECT_EQ(main.received[4].code, handoff::HANDOFF_ADD_DOWNLOAD);
    EXPECT_EQ(main.received[4].record.strings, (V{"http://d/f.zip"}));
    EXPECT_EQ(main.received[5].record.strings, main.received[4].record.strings);
    EXPECT_NE(ReadFileBytes(g.dir / "gleanix.txt").find("to the file"), std::string::npos);
}

TEST(GleanixHandoff, NamesArriveWithoutControlCharacters) {
    GleanixCopy g;
    FakeMainWindow main;
    IDispatch* o = g.Create();
    ASSERT_NE(o, nullptr);
    const std::wstring hta(L"evil.hta\0", 9);
    EXPECT_EQ(GleanixCopy::Call(o, L"AddPageEx", {L"<p>", L"d", L"http://p/", hta}), S_OK);
    EXPECT_EQ(GleanixCopy::Call(o, L"AddInfoEx", {L"picked", L"http://i/", L"\tMine\r\n"}), S_OK);
    EXPECT_EQ(GleanixCopy::Call(o, L"AddInfoEx", {L"ab\nQuarterly\n", L"u", std::wstring(L"\0\x01", 2)}), S_OK);
    o->Release();
    ASSERT_EQ(main.received.size(), 3u);
    EXPECT_EQ(main.received[0].record.strings[2], "evil.hta.html");
    EXPECT_EQ(main.received[1].record.strings[2], "Mine.txt");
    EXPECT_EQ(main.received[2].record.strings[2], "Quarterly.txt");
}

TEST(GleanixHandoff, AHungWindowOfTheBrowserDoesNotHoldTheSearch) {
    GleanixCopy g;
    FakeMainWindow main;
    IDispatch* o = g.Create();
    ASSERT_NE(o, nullptr);
    // A window of this process, above all others, whose thread answers no
    // message until it is released (or gives up after ten seconds).
    win::Event ready, release;
    ASSERT_TRUE(ready.Create(true) && release.Create(true));
    std::atomic<bool> gaveUp{false};
    std::thread hung([&] {
        HWND w = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "Hung", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
        ready.Set();
        gaveUp = WaitForSingleObject(release.get(), 10000) == WAIT_TIMEOUT;
        DestroyWindow(w);
    });
    WaitForSingleObject(ready.get(), 5000);
    {
        // A search that waited for the window would find nothing after it
        // went: no program is started then, and the box is answered.
        MainProgramPath path("");
        ModalScript script("Archivon", {});
        EXPECT_EQ(GleanixCopy::Call(o, L"AddDld", {L"http://d/f.zip", L""}), S_OK);
    }
    // The request went through while the window was still hung.
    const bool stillHung = !gaveUp;
    release.Set();
    hung.join();
    o->Release();
    EXPECT_TRUE(stillHung);
    EXPECT_EQ(main.received.size(), 1u);
}

TEST(GleanixHandoff, TooLargeATextIsRefusedWithAMessage) {
    GleanixCopy g;
    FakeMainWindow main;
    IDispatch* o = g.Create();
    ASSERT_NE(o, nullptr);
    // Just over the limit with the other texts of the record.
    const std::wstring page((32u << 20) - 20, L'p');
    {
        ModalScript script("Archivon", {RecordAndAnswer, RecordAndAnswer});
        EXPECT_EQ(GleanixCopy::Call(o, L"AddPageEx", {page, L"d", L"http://p/", L"Big"}), S_OK);
        EXPECT_EQ(GleanixCopy::Call(o, L"AddInfoEx", {page, L"http://p/", L""}), S_OK);
        EXPECT_EQ(script.texts,
                  (std::vector<std::string>{
                      "This page is too large to hand over to Archivon: more than 32 MB. Nothing was sent.",
                      "This picked text is too large to hand over to Archivon: more than 32 MB. Nothing was sent."}));
    }
    EXPECT_TRUE(main.received.empty());
    // Below it, the page goes whole.
    const std::wstring fits((32u << 20) - 40, L'p');
    EXPECT_EQ(GleanixCopy::Call(o, L"AddPageEx", {fits, L"d", L"http://p/", L"Big"}), S_OK);
    o->Release();
    ASSERT_EQ(main.received.size(), 1u);
    EXPECT_EQ(main.received[0].record.strings[0].size(), fits.size());
    EXPECT_EQ(main.received[0].record.strings[2], "Big.html");
}

TEST(GleanixHandoff, PickedTextFollowsTheSetting) {
    GleanixCopy g;
    FakeMainWindow main;
    IDispatch* o = g.Create();
    ASSERT_NE(o, nullptr);
    // Hand-off on in file mode: an empty title is still derived.
    g.SetValue("IsStoreToAvn", "1");
    EXPECT_EQ(GleanixCopy::Call(o, L"AddInfoEx", {L"ab\nQuarterly\n", L"u", L""}), S_OK);
    ASSERT_EQ(main.received.size(), 1u);
    EXPECT_EQ(main.received[0].record.strings[2], "Quarterly.txt");
    // Hand-off off: the folder's file named after the first suitable line.
    CreateDirectoryA((g.dir / "picks").c_str(), nullptr);
    g.SetValue("StoreInFile", (g.dir / "picks\\").c_str());
    g.SetValue("IsStoreToAvn", "0");
    EXPECT_EQ(GleanixCopy::Call(o, L"AddInfoEx", {L"ab\nQuarterly\n", L"u", L""}), S_OK);
    EXPECT_EQ(main.received.size(), 1u);
    EXPECT_TRUE(FileExists(g.dir / "picks\\Quarterly.txt"));
    o->Release();
}

TEST(GleanixHandoff, StartsTheMainProgramAndWaitsForItsWindow) {
    GleanixCopy g;
    const std::string target = GleanixCopy::BuildFile("handoff_target.exe");
    const std::string out = g.dir / "received.txt";
    MainProgramPath path("\"" + target + "\" \"" + out + "\" 2000 1");
    IDispatch* o = g.Create();
    ASSERT_NE(o, nullptr);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(GleanixCopy::Call(o, L"AddDld", {L"http://d/late.zip", L""}), S_OK);
    const auto waited = std::chrono::steady_clock::now() - start;
    o->Release();
    EXPECT_GE(waited, std::chrono::milliseconds(1900));
    EXPECT_EQ(ReadFileBytes(out), "code=101 wparam=101 decoded=1 own_window=1 strings=1\n[http://d/late.zip]\n");
}

TEST(GleanixHandoff, AStuckMainWindowDoesNotHoldTheBrowser) {
    GleanixCopy g;
    const std::string target = GleanixCopy::BuildFile("handoff_target.exe");
    MainProgramPath path("\"" + target + "\" \"" + (g.dir / "received.txt") + "\" 0 1 60000");
    IDispatch* o = g.Create();
    ASSERT_NE(o, nullptr);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(GleanixCopy::Call(o, L"AddDld", {L"http://d/stuck.zip", L""}), S_OK);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(40));
    o->Release();
    // The stuck stand-in is ended here so that its window cannot answer
    // for the next test.
    if (HWND stuck = FindWindowA("HandoffTarget", nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(stuck, &pid);
        win::Handle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
        if (process) {
            TerminateProcess(process.get(), 0);
            WaitForSingleObject(process.get(), 5000);
        }
    }
}

TEST(GleanixHandoff, WithoutTheMainProgramTheUserIsToldAndOkReturned) {
    GleanixCopy g;
    IDispatch* o = g.Create();
    ASSERT_NE(o, nullptr);
    {
        MainProgramPath path("");
        ModalScript script("Archivon", {RecordAndAnswer, RecordAndAnswer, RecordAndAnswer});
        EXPECT_EQ(GleanixCopy::Call(o, L"AddPageEx", {L"<p>", L"d", L"u", L"t"}), S_OK);
        EXPECT_EQ(GleanixCopy::Call(o, L"AddInfoEx", {L"d", L"u", L"t"}), S_OK);
        EXPECT_EQ(GleanixCopy::Call(o, L"AddDld", {L"http://d/", L""}), S_OK);
        EXPECT_EQ(script.texts, std::vector<std::string>(3, "Archivon is not installed properly!"));
    }
    {
        MainProgramPath path("C:\\no\\such\\Archivon.exe");
        ModalScript script("Archivon", {RecordAndAnswer});
        EXPECT_EQ(GleanixCopy::Call(o, L"AddDld", {L"http://d/", L""}), S_OK);
        EXPECT_EQ(script.texts, std::vector<std::string>{"Archivon is not installed properly!"});
    }
    o->Release();
}
