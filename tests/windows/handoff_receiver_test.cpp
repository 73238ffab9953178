// Requests handed to the main window by copy-data message, as the browser
// helper (or any other process on the desktop) sends them: pages stored
// with their resources, downloads, file lists, and records that are wrong.
#include <windows.h>

#include <algorithm>

#include "common/handoff_record.h"
#include "common/settings_store.h"
#include "common/window_messages.h"
#include "jobs/page_store.h"
#include "shell/list_ctrl_view.h"
#include "tests/support/download_test_support.h"
#include "tests/windows/frame_fixture.h"
#include "vault/document_index.h"

namespace {

class HandoffReceiverTest : public WithScriptedPeer<FrameTest> {
protected:
    void Prepare() override {
        CreateDirectoryA(vault.c_str(), nullptr);
        CreateDirectoryA(downloads.c_str(), nullptr);
    }
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(peer->ok());
        frame->jobManager()->SetDownloadFolder(downloads);
        savedSilent_ = ArchivonSettings().GetInt("Download", "Silent Mode", 1);
        ArchivonSettings().SetInt("Download", "Silent Mode", 1);
    }
    void TearDown() override {
        ArchivonSettings().SetInt("Download", "Silent Mode", savedSilent_);
        FrameTest::TearDown();
    }

    LRESULT SendBytes(ULONG_PTR code, const void* bytes, DWORD size) {
        COPYDATASTRUCT data{code, size, const_cast<void*>(bytes)};
        return SendMessageA(*frame, WM_COPYDATA, code, reinterpret_cast<LPARAM>(&data));
    }
    LRESULT Send(ULONG_PTR code, const std::vector<std::string>& texts) {
        const arc::Bytes record = handoff::EncodeHandoff({0x1234, texts});
        return SendBytes(code, record.data(), static_cast<DWORD>(record.size()));
    }
    DownloadJobList& jobs() { return frame->bottom()->jobsView().jobs(); }
    vault::DocumentRecords Index() {
        vault::DocumentRecords r;
        EXPECT_TRUE(vault::LoadIndex(*frame, r, vault));
        return r;
    }
    const vault::DocumentRecord* Record(const std::string& name) {
        for (const auto& r : frame->list()->documents().records)
            if (r.name == name) return &r;
        return nullptr;
    }
    bool AllJobsIdle() {
        for (std::size_t i = 0; i < jobs().size(); ++i)
            if (jobs().at(i).worker.running()) return false;
        return true;
    }

    std::string downloads = dir / "Downloads";

private:
    int savedSilent_ = 1;
};

TEST_F(HandoffReceiverTest, APageArrivesWithItsResourcesAndASecondOneOfItsNameKeepsItsOwn) {
    const std::string url = peer->Url("/site/dir/page.html");
    const std::string first =
        "<IMG SRC=\"a.gif\"><img src='a.gif' alt=x><embed src=../b.gif width=1><img src=\"../../../up.gif\">"
        "<img src=\"javascript:x()\"><a href=\"a.gif\">a</a>";
    ASSERT_EQ(Send(handoff::HANDOFF_STORE_PAGE, {first, url, "my:page.html"}), TRUE);
    ASSERT_TRUE(PumpUntil([&] { return Record("my-page.html") && jobs().size() == 2 && AllJobsIdle(); }, 20000));
    ASSERT_EQ(jobs().at(0).url, peer->Url("/site/dir/a.gif"));
    ASSERT_EQ(jobs().at(1).url, peer->Url("/site/b.gif"));
    PumpUntil([&] { return Record("my-page.html")->companions.size() == 2; }, 5000);
    const std::string a = jobs().at(0).fileName, b = jobs().at(1).fileName;
    auto companions = Record("my-page.html")->companions;
    std::sort(companions.begin(), companions.end());  // in the order the jobs ended
    EXPECT_EQ(companions, (std::vector<std::string>{std::min(a, b), std::max(a, b)}));
    const std::string stored = ReadFileBytes(vault + "\\my-page.html");
    EXPECT_EQ(stored.find("\"a.gif\""), std::string::npos) << stored;
    EXPECT_NE(stored.find("<IMG SRC=\"" + a + "\"><img src='" + a + "'"), std::string::npos) << stored;
    EXPECT_NE(stored.find("src=" + b + " "), std::string::npos) << stored;
    EXPECT_EQ(ReadFileBytes(vault + "\\" + a), ScriptedBody());

    // The same name again, naming one more image: the new page gets a
    // collision name and the new image joins it, not the older page.
    ASSERT_EQ(Send(handoff::HANDOFF_STORE_PAGE, {"<img src=\"c.gif\"><img src=\"a.gif\">", url, "my:page.html"}),
              TRUE);
    ASSERT_TRUE(PumpUntil([&] { return Index().size() == 2 && jobs().size() == 3 && AllJobsIdle(); }, 20000));
    const std::string second = Index()[1].name;
    EXPECT_NE(second, "my-page.html");
    PumpUntil([&] { return Record(second) && !Record(second)->companions.empty(); }, 5000);
    ASSERT_NE(Record(second), nullptr);
    EXPECT_EQ(jobs().at(2).pageFileName, second);
    EXPECT_EQ(Record(second)->companions, std::vector<std::string>{jobs().at(2).fileName});
    EXPECT_EQ(Record("my-page.html")->companions.size(), 2u);
    EXPECT_NE(ReadFileBytes(vault + "\\" + second).find("src=\"" + jobs().at(2).fileName + "\""), std::string::npos);
    EXPECT_EQ(Index()[0].companions.size(), 2u);
}

TEST_F(HandoffReceiverTest, TextIsStoredWithoutLinksAndANameWithoutExtensionIsADataError) {
    MessageBoxRecorder boxes;
    ASSERT_EQ(Send(handoff::HANDOFF_STORE_PAGE, {"<img src=\"x.gif\">", peer->Url("/t/"), "..\\note.txt"}), TRUE);
    ASSERT_TRUE(PumpUntil([&] { return Record("..-note.txt") != nullptr; }, 5000));
    EXPECT_EQ(ReadFileBytes(vault + "\\..-note.txt"), "<img src=\"x.gif\">");
    ASSERT_EQ(Send(handoff::HANDOFF_STORE_PAGE, {"x", peer->Url("/t/"), "a/b"}), TRUE);
    ASSERT_TRUE(PumpUntil([&] { return !boxes.boxes.empty(); }, 5000));
    EXPECT_EQ(boxes.boxes[0].text, "Data error!");
    PumpFor(100);
    EXPECT_EQ(Index().size(), 1u);
    EXPECT_EQ(jobs().size(), 0u);
}

TEST_F(HandoffReceiverTest, ADownloadIsAddedAndStartedOnceAndQuietly) {
    MessageBoxRecorder boxes;
    const std::string url = peer->Url("/d/f.gif");
    ASSERT_EQ(Send(handoff::HANDOFF_ADD_DOWNLOAD, {url}), TRUE);
    ASSERT_TRUE(PumpUntil([&] { return jobs().size() == 1; }, 5000));
    EXPECT_EQ(jobs().at(0).url, url);
    ASSERT_TRUE(PumpUntil([&] { return jobs().at(0).status == "Finished."; }, 20000)) << jobs().at(0).status;
    ASSERT_EQ(Send(handoff::HANDOFF_ADD_DOWNLOAD, {url}), TRUE);
    PumpFor(200);
    EXPECT_EQ(jobs().size(), 1u);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(HandoffReceiverTest, AFileListAddsEachBareNameOnly) {
    TempDir in;
    WriteFileBytes(in / "a.txt", "a");
    WriteFileBytes(in / "b.txt", "b");
    WriteFileBytes(dir / "outside.txt", "o");
    ASSERT_EQ(Send(handoff::HANDOFF_ADD_FILES, {in.path() + "\\a.txt||b.txt|../outside.txt"}), TRUE);
    ASSERT_TRUE(PumpUntil([&] { return Index().size() == 2; }, 5000))
        << WindowText(frame->bottom()->MessagesEdit());
    PumpFor(100);
    const auto index = Index();
    ASSERT_EQ(index.size(), 2u);
    EXPECT_EQ(index[0].name, "a.txt");
    EXPECT_EQ(index[1].name, "b.txt");
    EXPECT_NE(WindowText(frame->bottom()->MessagesEdit()).find("../outside.txt"), std::string::npos);
}

TEST_F(HandoffReceiverTest, UnknownCodesBrokenRecordsAndForgedMessagesChangeNothing) {
    MessageBoxRecorder boxes;
    EXPECT_EQ(Send(150, {"<img src=\"x.gif\">", peer->Url("/p/"), "p.html"}), TRUE);
    const arc::Bytes good = handoff::EncodeHandoff({0, {"text", "http://h/", "x.html"}});
    std::vector<arc::Bytes> broken = {
        {},
        {1, 2, 3},
        arc::Bytes(good.begin(), good.end() - 1),  // the last text cut short
        good,                                     // with a byte too many
        {0, 0, 0, 0, 3, 0, 1, 'a'},               // three texts claimed, one there
        {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
        {0, 0, 0, 0, 1, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a'},
        {0, 0, 0, 0, 0, 0},  // no text at all
    };
    broken[3].push_back(0);
    for (ULONG_PTR code : {handoff::HANDOFF_STORE_PAGE, handoff::HANDOFF_ADD_DOWNLOAD, handoff::HANDOFF_ADD_FILES})
        for (const auto& bytes : broken)
            EXPECT_EQ(SendBytes(code, bytes.data(), static_cast<DWORD>(bytes.size())), TRUE);
    // A download or file list far longer than any URL or list is not queued.
    EXPECT_EQ(Send(handoff::HANDOFF_ADD_DOWNLOAD, {peer->Url("/") + std::string(1 << 20, 'x') + ".gif"}), TRUE);
    // A length with no bytes behind it, and two texts where three belong.
    EXPECT_EQ(SendBytes(handoff::HANDOFF_STORE_PAGE, nullptr, 100), TRUE);
    EXPECT_EQ(Send(handoff::HANDOFF_STORE_PAGE, {"a", "b.html"}), TRUE);
    // Messages that carry pointers the window never handed out, to objects
    // that would be carried out if the window took them.
    const arc::Bytes dld = handoff::EncodeHandoff({0, {peer->Url("/forged.gif")}});
    auto* request = new std::string(dld.begin(), dld.end());
    auto* page = new jobs::StoredPage{dir / "forged.txt", "", {}, ""};
    WriteFileBytes(page->filePath, "f");
    PostMessageA(*frame, WM_ADD_DOWNLOAD_REQUEST, 0, reinterpret_cast<LPARAM>(request));
    PostMessageA(*frame, WM_PAGE_STORED, 200, reinterpret_cast<LPARAM>(page));
    PumpFor(300);
    EXPECT_TRUE(Index().empty());
    EXPECT_EQ(jobs().size(), 0u);
    EXPECT_TRUE(boxes.boxes.empty());
    if (jobs().size() == 0) delete request;
    if (Index().empty()) delete page;
}

}  // namespace
