// Find's content search and Integrity Checking over a vault on disk, timed
// inside the process (the script times the reference tools over the same
// folder). The catalogs are read from the disk once, before the timing, as
// the tree pane reads them at start-up; the commands then walk that tree.
//   find_integrity_bench.exe prepare <vault>         registers every file (first check)
//   find_integrity_bench.exe find <vault> <text> [rounds]
//   find_integrity_bench.exe integrity <vault> [rounds]
// Each timed mode prints "<mode> best <seconds> first <seconds>"; the
// integrity mode adds "listing <seconds>": the best time of only listing
// every catalog's folder with the same enumerator, the floor the platform
// sets.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/ui_port.h"
#include "common/win/folder_enumerator.h"
#include "vault/catalog_paths.h"
#include "vault/catalog_service.h"
#include "vault/find_engine.h"
#include "vault/folder_catalog_walk.h"
#include "vault/integrity_check.h"

namespace {

// Counts lines; the rest (damage reports) goes to stderr.
class CountingUi : public UiPort {
public:
    void AddMessage(const std::string& text) override {
        ++lines;
        if (text.rfind("Orphan file", 0) != 0 && text.rfind("Integrity checking", 0) != 0)
            std::fputs(text.c_str(), stderr);
    }
    bool BrowseForFolder(const std::string&, std::string&) override { return false; }
    bool AskPassword(std::string&) override { return false; }
    void OpenDocument(const std::string&, const std::string&) override {}
    long lines = 0;
};

double Now() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) / double(f.QuadPart);
}

int Usage() {
    std::fputs("find_integrity_bench prepare|find|integrity <vault> [text] [rounds]\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    const std::string mode = argv[1];
    const vault::VaultContext context{argv[2], vault::kDefaultTextFileTypes};
    CountingUi ui;
    vault::CatalogService catalogs(context, ui);

    if (mode == "prepare") {
        const double t0 = Now();
        vault::CheckIntegrity(vault::FolderCatalogWalk(catalogs), context, ui);
        std::printf("prepare %.3f s, %ld lines\n", Now() - t0, ui.lines);
        return 0;
    }
    const bool find = mode == "find";
    if (find && argc < 4) return Usage();
    const int rounds = std::atoi(argc > (find ? 4 : 3) ? argv[find ? 4 : 3] : "3");
    const vault::FolderCatalogWalk walk(catalogs);
    double best = 1e9, first = 0, listing = 1e9;
    for (int round = 0; round < (rounds > 0 ? rounds : 1); ++round) {
        const double t0 = Now();
        if (find) {
            vault::FindEngine engine(context, ui);
            vault::FindState state;
            state.text = argv[3];
            state.options = vault::FindOptions::FromMask(0x80);
            vault::FindEngine::Start(state, walk);
            vault::FindHit hit;
            int hits = 0;
            while (engine.FindNext(state, walk, hit) == vault::FindOutcome::hit) ++hits;
            if (hits) std::fprintf(stderr, "%d hits\n", hits);
        } else {
            ui.lines = 0;
            vault::CheckIntegrity(walk, context, ui);
            if (ui.lines != 1) std::fprintf(stderr, "%ld lines: the vault was not consistent\n", ui.lines);
        }
        const double t = Now() - t0;
        if (round == 0) first = t;
        if (t < best) best = t;
        if (!find) {
            const double l0 = Now();
            long entries = 0;
            for (auto c = walk.Top(); c; c = walk.Next(c)) {
                win::FolderEnumerator list(walk.Path(c));
                while (list.Next()) ++entries;
            }
            if (Now() - l0 < listing) listing = Now() - l0;
        }
    }
    std::printf("%s best %.3f first %.3f", mode.c_str(), best, first);
    if (!find) std::printf(" listing %.3f", listing);
    std::printf("\n");
    return 0;
}
