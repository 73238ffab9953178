// The download manager inside the main window: commands, the jobs list,
// the workers' notifications and the finished downloads filed into the vault.
#include <windows.h>
#include <commctrl.h>

#include "common/window_messages.h"
#include "jobs/job_record.h"
#include "res/resource.h"
#include "shell/list_ctrl_view.h"
#include "tests/support/download_test_support.h"
#include "tests/windows/frame_fixture.h"
#include "vault/document_index.h"

namespace {

class JobManagerTest : public WithScriptedPeer<FrameTest> {
protected:
    void Prepare() override {
        CreateDirectoryA(vault.c_str(), nullptr);
        MakeFolder("Docs");
        CreateDirectoryA(downloads.c_str(), nullptr);
        WriteFileBytes(frameJobFile(), "");
    }
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(peer->ok());
        manager().SetDownloadFolder(downloads);
        SelectCatalog("Docs");
    }
    std::string frameJobFile() { return dir / "Archivon.job"; }
    JobManager& manager() { return *frame->jobManager(); }
    CJobsView& view() { return frame->bottom()->jobsView(); }
    DownloadJobList& jobs() { return view().jobs(); }
    HWND listCtrl() { return view().list().hwnd(); }
    void SelectCatalog(const std::string& catalog) {
        TreeView_SelectItem(tree(), Item(catalog));
        PumpFor(20);
    }
    DownloadJob* Quiet(const std::string& url) { return manager().AddJob(url, false, true, "", "", -1); }
    void SelectRows(const std::vector<int>& rows) {
        ListView_SetItemState(listCtrl(), -1, 0, LVIS_SELECTED);
        for (int r : rows) ListView_SetItemState(listCtrl(), r, LVIS_SELECTED, LVIS_SELECTED);
    }
    void Command(UINT id) { SendMessageA(*frame, WM_COMMAND, id, 0); }
    bool WaitIdle(DownloadJob* job, DWORD ms = 20000) {
        return PumpUntil([&] { return !job->worker.running(); }, ms);
    }
    bool WaitRunning(DownloadJob* job, DWORD ms = 5000) {
        return PumpUntil([&] { return job->worker.running() && job->holdsSlot; }, ms);
    }
    std::vector<JobRecord> JobFile() {
        const std::string bytes = ReadFileBytes(frameJobFile());
        return DecodeJobFile(arc::Bytes(bytes.begin(), bytes.end())).jobs;
    }
    std::string Messages() { return WindowText(frame->bottom()->MessagesEdit()); }
    vault::DocumentRecords Index(const std::string& catalog) {
        vault::DocumentRecords r;
        EXPECT_TRUE(vault::LoadIndex(*frame, r, catalog));
        return r;
    }

    std::string downloads = dir / "Downloads";
};

TEST_F(JobManagerTest, AddCommandFillsTheDialogAndADuplicateIsRefused) {
    JobDialogFields seen;
    SetDialogHook([&](Dialog& d) {
        seen.url = d.ItemText(IDC_JOB_URL);
        seen.userName = d.ItemText(IDC_JOB_USER);
        seen.password = d.ItemText(IDC_JOB_PASSWORD);
        seen.autoName = d.IsChecked(IDC_JOB_AUTO);
        seen.startAtOnce = d.IsChecked(IDC_JOB_START);
        // "Auto" makes the name read-only, both ways.
        EXPECT_TRUE(GetWindowLongA(d.Item(IDC_JOB_NAME), GWL_STYLE) & ES_READONLY);
        SendMessageA(d.Item(IDC_JOB_AUTO), BM_CLICK, 0, 0);
        EXPECT_FALSE(GetWindowLongA(d.Item(IDC_JOB_NAME), GWL_STYLE) & ES_READONLY);
        d.SetItemText(IDC_JOB_URL, peer->Url("/Mixed.zip"));
        d.SetItemText(IDC_JOB_NAME, "kept.zip");
        d.SetChecked(IDC_JOB_START, false);
        SendMessageA(d.Item(IDOK), BM_CLICK, 0, 0);
    });
    Command(ID_DOWNLOAD_ADD);
    SetDialogHook({});
    EXPECT_EQ(seen.url.rfind("ftp://127.0.0.1/", 0), 0u) << "a sample FTP URL on this machine";
    EXPECT_EQ(seen.userName.size(), 3u);
    EXPECT_EQ(seen.userName, seen.password);
    EXPECT_TRUE(seen.autoName && seen.startAtOnce);

    ASSERT_EQ(jobs().size(), 1u);
    const DownloadJob& job = jobs().at(0);
    EXPECT_EQ(job.url, peer->Url("/Mixed.zip"));
    EXPECT_EQ(job.fileName, "kept.zip");
    EXPECT_EQ(job.targetCatalog, vault + "\\Docs");
    EXPECT_EQ(job.downloadFolder, downloads);
    EXPECT_FALSE(job.worker.running()) << "Start at once was off";
    EXPECT_EQ(frame->bottom()->currentTab(), 1) << "the Download Jobs tab comes to the front";
    EXPECT_EQ(JobFile().size(), 1u) << "saved on add";

    MessageBoxRecorder boxes;
    EXPECT_EQ(manager().AddJob(peer->Url("/Mixed.zip"), false, false, "", "", -1), nullptr);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Duplicated url");
    EXPECT_EQ(manager().AddJob(peer->Url("/Mixed.zip"), false, true, "", "", -1), nullptr);
    EXPECT_EQ(boxes.boxes.size(), 1u) << "a silent add says nothing";
    EXPECT_NE(Quiet(peer->Url("/mixed.zip")), nullptr) << "letter case makes another URL";
    EXPECT_EQ(jobs().size(), 2u);
}

TEST_F(JobManagerTest, DeleteRenumbersAndSaves) {
    for (int i = 0; i < 5; ++i) Quiet(peer->Url("/job" + std::to_string(i) + ".zip"));
    SelectRows({1, 3});
    {
        MessageBoxRecorder no(IDNO);
        Command(ID_DOWNLOAD_DELETE);
        EXPECT_EQ(no.boxes.size(), 1u);
        EXPECT_EQ(jobs().size(), 5u) << "No keeps them";
    }
    MessageBoxRecorder yes(IDYES);
    Command(ID_DOWNLOAD_DELETE);
    ASSERT_EQ(jobs().size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(jobs().at(i).number, static_cast<int>(i));
    EXPECT_EQ(jobs().at(1).url, peer->Url("/job2.zip"));
    EXPECT_EQ(ListView_GetItemCount(listCtrl()), 3);
    EXPECT_EQ(view().CellText(0, 0), "0") << "the first job shows 0";
    EXPECT_EQ(JobFile().size(), 3u);
}

TEST_F(JobManagerTest, RunningJobsSurviveDeleteAllAndStartOnlyStartsIdleOnes) {
    DownloadJob* running = Quiet(peer->Url("/silent"));
    DownloadJob* idle = Quiet(peer->Url("/a.zip"));
    Quiet(peer->Url("/b.zip"));
    ASSERT_TRUE(manager().StartJob(*running));
    ASSERT_TRUE(WaitRunning(running));

    // Start on a running and an idle job starts the idle one only.
    SelectRows({0, 1});
    // The menu shows the rules: Delete is off while a selected job runs.
    HMENU download = GetSubMenu(GetMenu(*frame), 3);
    SendMessageA(*frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(download), 3);
    EXPECT_TRUE(GetMenuState(download, ID_DOWNLOAD_DELETE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(download, ID_DOWNLOAD_STOP, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(download, ID_DOWNLOAD_AGAIN, MF_BYCOMMAND) & MF_GRAYED) << "nothing finished";
    EXPECT_FALSE(GetMenuState(download, ID_DOWNLOAD_ADD, MF_BYCOMMAND) & MF_GRAYED);
    Command(ID_DOWNLOAD_START);
    EXPECT_TRUE(idle->worker.running());
    ASSERT_TRUE(WaitIdle(idle));
    EXPECT_EQ(idle->status, "Finished.");

    // Stop on an idle job does nothing.
    SelectRows({1});
    EXPECT_FALSE(manager().IsEnabled(ID_DOWNLOAD_STOP));
    Command(ID_DOWNLOAD_STOP);
    EXPECT_FALSE(idle->worker.running());

    {
        MessageBoxRecorder yes(IDYES);
        Command(ID_DOWNLOAD_DELETE_ALL);
    }
    ASSERT_EQ(jobs().size(), 1u);
    EXPECT_EQ(&jobs().at(0), running);
    EXPECT_EQ(running->number, 0);
    EXPECT_EQ(JobFile().size(), 1u);

    SelectRows({0});
    Command(ID_DOWNLOAD_STOP);
    ASSERT_TRUE(WaitIdle(running, 10000)) << "Stop ends the worker";
    EXPECT_EQ(running->status, "Failed.");
}

TEST_F(JobManagerTest, APlainDownloadIsCopiedIntoItsCatalogAndShownThere) {
    DownloadJob* job = manager().AddJob(peer->Url("/report.zip"), true, true, "", "", -1);
    ASSERT_NE(job, nullptr);
    ASSERT_TRUE(WaitIdle(job));
    EXPECT_EQ(job->status, "Finished.");
    const std::string downloaded = downloads + "\\" + job->fileName;
    EXPECT_EQ(ReadFileBytes(downloaded), ScriptedBody()) << "the download stays in its folder";
    EXPECT_EQ(ReadFileBytes(vault + "\\Docs\\" + job->fileName), ScriptedBody());
    // The shown catalog shows it at once and keeps it through its next save.
    CListCtrlView& list = *frame->list();
    ASSERT_EQ(list.RecordCount(), 1);
    EXPECT_EQ(list.documents().records[0].name, job->fileName);
    list.CommitDescription(0, "kept");
    const auto index = Index(vault + "\\Docs");
    ASSERT_EQ(index.size(), 1u);
    EXPECT_EQ(index[0].description, "kept");
    EXPECT_EQ(view().CellText(0, 5), "Finished.");

    // Edit Property with Start at once on a finished job does not run it.
    SelectRows({0});
    SetDialogHook([](Dialog& d) { SendMessageA(d.Item(IDOK), BM_CLICK, 0, 0); });
    MessageBoxRecorder boxes;
    Command(ID_DOWNLOAD_EDIT);
    SetDialogHook({});
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "This download job is finished!");
    EXPECT_FALSE(job->worker.running());
}

TEST_F(JobManagerTest, APageResourceReplacesEveryLinkAndAttachesToThePage) {
    const std::string page = vault + "\\Docs\\page.htm";
    const std::string link = "pics/a.gif";
    TempDir outside;
    WriteFileBytes(outside / "page.htm", "<img src=\"pics/a.gif\"><a href=\"pics/a.gif\">again</a>");
    frame->list()->AddFilesToCatalog({outside / "page.htm"}, false, vault + "\\Docs", false);
    ASSERT_TRUE(FileExists(page));
    DownloadJob* job = manager().AddJob(peer->Url("/pics/a.gif"), true, true, page, link, -1);
    ASSERT_NE(job, nullptr);
    EXPECT_EQ(job->pageFileName, "page.htm");
    ASSERT_TRUE(WaitIdle(job));
    ASSERT_EQ(job->status, "Finished.");
    const std::string text = ReadFileBytes(page);
    EXPECT_EQ(text.find(link), std::string::npos) << text;
    const std::string stored = job->fileName;
    EXPECT_NE(text.find("src=\"" + stored + "\""), std::string::npos) << text;
    EXPECT_NE(text.find("href=\"" + stored + "\""), std::string::npos) << "every occurrence, not only the first";
    EXPECT_FALSE(FileExists(downloads + "\\" + stored)) << "moved beside the page";
    EXPECT_EQ(ReadFileBytes(vault + "\\Docs\\" + stored), ScriptedBody());
    const auto index = Index(vault + "\\Docs");
    ASSERT_EQ(index.size(), 1u);
    EXPECT_EQ(index[0].companions, std::vector<std::string>{stored});
}

TEST_F(JobManagerTest, FailuresFileNothing) {
    // A reply the worker does not take, with a name given in advance.
    DownloadJob* missing = Quiet(peer->Url("/missing"));
    missing->fileName = "preset.bin";
    ASSERT_TRUE(manager().StartJob(*missing));
    ASSERT_TRUE(WaitIdle(missing));
    EXPECT_TRUE(Index(vault + "\\Docs").empty());

    // A download folder that vanished: the worker's file error is shown by
    // the window thread when the job ends.
    DownloadJob* lost = Quiet(peer->Url("/resume206"));
    lost->downloadFolder = dir / "gone";
    lost->fileName = "f.bin";
    {
        MessageBoxRecorder boxes;
        ASSERT_TRUE(manager().StartJob(*lost));
        ASSERT_TRUE(WaitIdle(lost));
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, SystemErrorText(ERROR_PATH_NOT_FOUND));
    }
    EXPECT_TRUE(Index(vault + "\\Docs").empty());

    // A scheme the program does not fetch is refused at start.
    DownloadJob* other = Quiet("gopher://127.0.0.1/x");
    MessageBoxRecorder boxes;
    EXPECT_FALSE(manager().StartJob(*other));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "The URL is invalid.");
    EXPECT_FALSE(other->worker.running());
}

TEST_F(JobManagerTest, ACatalogDeletedWhileTheJobRanLeavesTheDownloadWhereItIs) {
    MakeFolder("Brief");
    DownloadJob* job = Quiet(peer->Url("/brief.zip"));
    job->targetCatalog = vault + "\\Brief";
    RemoveTree(vault + "\\Brief");
    ASSERT_TRUE(manager().StartJob(*job));
    ASSERT_TRUE(WaitIdle(job));
    EXPECT_EQ(job->status, "Finished.");
    EXPECT_TRUE(FileExists(downloads + "\\" + job->fileName));
    EXPECT_FALSE(FolderExists(vault + "\\Brief")) << "nothing made in its place";
    EXPECT_NE(Messages().find(downloads + "\\" + job->fileName), std::string::npos) << Messages();
}

TEST_F(JobManagerTest, NotificationsOfJobsNoLongerListedAreIgnored) {
    DownloadJob* job = Quiet(peer->Url("/x.zip"));
    {
        MessageBoxRecorder yes(IDYES);
        SelectRows({0});
        Command(ID_DOWNLOAD_DELETE);
    }
    ASSERT_EQ(jobs().size(), 0u);
    SendMessageA(*frame, jobProgress, 0, reinterpret_cast<LPARAM>(job));
    SendMessageA(*frame, jobEnded, 0, reinterpret_cast<LPARAM>(job));
    SUCCEED() << "a stale pointer is never touched";
}

TEST_F(JobManagerTest, CloseIsRefusedWhileATransferRunsAndSavesWhenIdle) {
    DownloadJob* job = Quiet(peer->Url("/silent"));
    ASSERT_TRUE(manager().StartJob(*job));
    ASSERT_TRUE(WaitRunning(job));
    {
        MessageBoxRecorder boxes;
        SendMessageA(*frame, WM_CLOSE, 0, 0);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, "There are download jobs still runing, You can not exit Archivon now.");
        EXPECT_TRUE(IsWindow(*frame));
        EXPECT_EQ(jobs().size(), 1u);
    }
    manager().StopAll();
    ASSERT_TRUE(WaitIdle(job, 10000));
    WriteFileBytes(frameJobFile(), "");
    SendMessageA(*frame, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(frame->hwnd()));
    const auto saved = JobFile();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].url, peer->Url("/silent"));
}

TEST_F(JobManagerTest, AContextMenuOnlyOnARow) {
    Quiet(peer->Url("/x.zip"));
    frame->bottom()->SelectTab(1);
    PumpFor(50);
    RECT row{};
    ListView_GetItemRect(listCtrl(), 0, &row, LVIR_BOUNDS);
    // A timer ends any menu that opens, and says so: TrackPopupMenu returns
    // only after that.
    static bool menuSeen;
    menuSeen = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND menu = FindWindowA("#32768", nullptr);
        if (menu && IsWindowVisible(menu)) {
            menuSeen = true;
            EndMenu();
        }
    });
    const auto click = [&](int y) {
        menuSeen = false;
        NMITEMACTIVATE act{};
        act.hdr.hwndFrom = listCtrl();
        act.hdr.idFrom = IDC_JOBS_LIST;
        act.hdr.code = NM_RCLICK;
        act.ptAction = {row.left + 10, y};
        SendMessageA(view(), WM_NOTIFY, IDC_JOBS_LIST, reinterpret_cast<LPARAM>(&act));
        PumpFor(150);
        return menuSeen;
    };
    const bool onRow = click((row.top + row.bottom) / 2);
    const bool below = click(row.bottom + 3 * (row.bottom - row.top));
    KillTimer(nullptr, timer);
    EXPECT_TRUE(onRow) << "a menu on the row";
    EXPECT_FALSE(below) << "none below the last row";
}

TEST(JobFileOnStart, ADamagedFileIsKeptAsideAndItsJobsRead) {
    TempDir dir;
    JobRecord a, b;
    a.url = "http://h/a";
    b.url = "http://h/b";
    arc::Bytes bytes = EncodeJobFile({&a, &b});
    bytes.resize(bytes.size() - 3);
    const std::string path = dir / "Archivon.job";
    WriteFileBytes(path, std::string(bytes.begin(), bytes.end()));
    DownloadJobList list;
    MessageBoxRecorder boxes;
    EXPECT_FALSE(list.LoadJobList(path));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_NE(boxes.boxes[0].text.find(path + ".bad"), std::string::npos) << boxes.boxes[0].text;
    ASSERT_EQ(list.size(), 1u) << "the job read before the damage stays";
    EXPECT_EQ(list.at(0).url, "http://h/a");
    EXPECT_EQ(ReadFileBytes(path + ".bad"), std::string(bytes.begin(), bytes.end()));

    // A newer format is not read with this layout at all.
    arc::Bytes newer = EncodeJobFile({&a});
    newer[2] = 2;
    WriteFileBytes(path, std::string(newer.begin(), newer.end()));
    boxes.boxes.clear();
    EXPECT_FALSE(list.LoadJobList(path));
    EXPECT_EQ(list.size(), 0u);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_NE(boxes.boxes[0].text.find("newer version"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(path + ".bad"), std::string(newer.begin(), newer.end()));
}

}  // namespace
