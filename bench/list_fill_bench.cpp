// Filling the document list with a 10 000-document catalog: reading the
// index, inserting the items and painting the first screen of cells (each
// cell renews its record's file status). The reference run inserts the same
// number of plain-text items into a bare report list in the same process.
//   list_fill_bench.exe [documents] [rounds]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "common/win/handle.h"
#include "common/ui_port.h"
#include "bench/window_bench_support.h"
#include "common/window.h"
#include "vault/document_index.h"
#include "shell/list_ctrl_view.h"

using bench::Host;
using bench::Now;
using bench::Pump;

namespace {

class QuietUi : public UiPort {
public:
    void AddMessage(const std::string& text) override { std::fputs(text.c_str(), stderr); }
    bool BrowseForFolder(const std::string&, std::string&) override { return false; }
    bool AskPassword(std::string&) override { return false; }
    void OpenDocument(const std::string&, const std::string&) override {}
};

std::string MakeCatalog(int n) {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    const std::string catalog = std::string(tmp) + "list_fill_bench_" + std::to_string(n);
    CreateDirectoryA(catalog.c_str(), nullptr);
    vault::DocumentRecords recs(n);
    for (int i = 0; i < n; ++i) {
        auto& r = recs[i];
        r.name = "document " + std::to_string(i) + ".txt";
        r.origin = "C:\\Users\\someone\\incoming\\" + r.name;
        r.workingFolder = "C:\\Temp";
        r.type = ".txt";
        r.description = i % 4 ? "" : "a short description";
        const std::string path = catalog + "\\" + r.name;
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            win::File::Open(path, GENERIC_WRITE, 0, CREATE_NEW);
        }
    }
    const std::string index = vault::IndexPath(catalog);
    const arc::Bytes bytes = vault::EncodeIndex(recs);
    win::File::Open(index, GENERIC_WRITE, 0, CREATE_ALWAYS).Write(bytes.data(), bytes.size());
    return catalog;
}

}  // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    Host host;
    if (!host.Open("ListFillBenchHost", 1000, 700)) return 1;
    const std::string catalog = MakeCatalog(n);

    CListCtrlView list;
    list.Create(host);
    list.MoveTo(0, 0, 1000, 700);
    list.SetCurrentCatalog(catalog);

    HWND bare = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 1000, 700, host,
                                nullptr, nullptr, nullptr);
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = 300;
    col.pszText = const_cast<char*>("Name");
    ListView_InsertColumn(bare, 0, &col);

    QuietUi quiet;
    double bestFill = 1e9, bestRef = 1e9, bestLoad = 1e9, bestPaint = 1e9;
    for (int round = 0; round < rounds; ++round) {
        ShowWindow(bare, SW_HIDE);
        ShowWindow(list, SW_SHOW);
        double t = Now();
        vault::DocumentRecords scratch;
        vault::LoadIndex(quiet, scratch, catalog);
        bestLoad = std::min(bestLoad, Now() - t);
        t = Now();
        const int count = list.Refresh();
        const double inserted = Now();
        UpdateWindow(list);
        Pump();
        bestPaint = std::min(bestPaint, Now() - inserted);
        bestFill = std::min(bestFill, Now() - t);
        if (count != n) std::fprintf(stderr, "read %d of %d records\n", count, n);

        ShowWindow(list, SW_HIDE);
        ShowWindow(bare, SW_SHOW);
        t = Now();
        SendMessageA(bare, WM_SETREDRAW, FALSE, 0);
        ListView_DeleteAllItems(bare);
        for (int i = 0; i < n; ++i) {
            std::string name = "document " + std::to_string(i) + ".txt";
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = name.data();
            ListView_InsertItem(bare, &item);
        }
        SendMessageA(bare, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(bare, nullptr, TRUE);
        UpdateWindow(bare);
        Pump();
        bestRef = std::min(bestRef, Now() - t);
    }
    std::printf("documents %d, best of %d rounds\n", n, rounds);
    std::printf("document list fill (index + items + first screen): %.1f ms\n", bestFill * 1000);
    std::printf("  of which reading the index:                       %.1f ms\n", bestLoad * 1000);
    std::printf("  of which painting the first screen:               %.1f ms\n", bestPaint * 1000);
    std::printf("reference: bare list, plain items:                  %.1f ms\n", bestRef * 1000);
    std::printf("ratio: %.2f\n", bestFill / bestRef);
    return 0;
}
