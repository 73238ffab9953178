#include <gtest/gtest.h>

#include <regex>

#include "common/paths.h"
#include "common/settings_store.h"
#include "common/win/handle.h"
#include "tests/support/test_env.h"
#include "vault/catalog_paths.h"
#include "vault/document_index.h"
#include "vault/document_list.h"
#include "shell/list_ctrl_view.h"

using vault::DocumentList;
using vault::DocumentRecord;
using vault::DocumentRecords;

namespace {

// A real vault in a temporary folder, handed to the list as its vault.
class Vault : public ::testing::Test {
protected:
    void SetUp() override {
        list.currentCatalog = root.path();
        list.itemsChanged = [this] { ++rebuilds; };
    }

    std::string Catalog(const std::string& name) {
        const std::string p = root / name;
        CreateDirectoryA(p.c_str(), nullptr);
        return p;
    }
    std::string Outside(const std::string& name, const std::string& content) {
        const std::string p = outside / name;
        WriteFileBytes(p, content);
        return p;
    }
    DocumentRecords Index(const std::string& catalog) {
        DocumentRecords r;
        EXPECT_TRUE(vault::LoadIndex(ui, r, catalog)) << ui.messages;
        return r;
    }

    TempDir root;
    TempDir outside;
    RecordingUi ui;
    vault::VaultContext context{root.path(), vault::kDefaultTextFileTypes};
    DocumentList list{context, ui};
    int rebuilds = 0;
};

}  // namespace

TEST_F(Vault, IndexIsCreatedOnLoadAndSavedWithoutTruncation) {
    const std::string cat = Catalog("A");
    EXPECT_FALSE(vault::SaveIndex(ui, {DocumentRecord{}}, cat));  // no index yet: nothing written
    EXPECT_FALSE(FileExists(vault::IndexPath(cat)));
    EXPECT_TRUE(Index(cat).empty());
    ASSERT_TRUE(FileExists(vault::IndexPath(cat)));
    EXPECT_EQ(ReadFileBytes(vault::IndexPath(cat)).size(), 0u);

    DocumentRecords three(3);
    for (int i = 0; i < 3; ++i) three[i].name = "file" + std::to_string(i);
    ASSERT_TRUE(vault::SaveIndex(ui, three, cat));
    const auto longSize = ReadFileBytes(vault::IndexPath(cat)).size();
    ASSERT_TRUE(vault::SaveIndex(ui, {three[2]}, cat));
    EXPECT_EQ(ReadFileBytes(vault::IndexPath(cat)).size(), longSize);
    const auto back = Index(cat);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].name, "file2");
    EXPECT_EQ(ui.messages, "");

    // A read-only index is reported and left as it was.
    const std::string before = ReadFileBytes(vault::IndexPath(cat));
    SetFileAttributesA(vault::IndexPath(cat).c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(vault::SaveIndex(ui, three, cat));
    SetFileAttributesA(vault::IndexPath(cat).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_NE(ui.messages.find("cannot be written"), std::string::npos) << ui.messages;
    EXPECT_EQ(ReadFileBytes(vault::IndexPath(cat)), before);
}

TEST_F(Vault, DamagedIndexStopsTheCommandAndWritesNothing) {
    const std::string cat = Catalog("Damaged");
    DocumentRecords two(2);
    two[0].name = "a.txt";
    two[1].name = "b.txt";
    const auto good = vault::EncodeIndex(two);
    const std::string cut(good.begin(), good.end() - 3);
    WriteFileBytes(vault::IndexPath(cat), cut);

    DocumentRecords recs;
    EXPECT_FALSE(vault::LoadIndex(ui, recs, cat));
    EXPECT_TRUE(recs.empty());
    EXPECT_NE(ui.messages.find("damaged"), std::string::npos) << ui.messages;
    EXPECT_NE(ui.messages.find(vault::IndexPath(cat)), std::string::npos);

    EXPECT_FALSE(vault::AppendToIndex(ui, {DocumentRecord{}}, cat));
    const std::string doc = Outside("new.txt", "x");
    EXPECT_EQ(list.AddFilesToCatalog({doc}, false, cat, false), -1);
    EXPECT_FALSE(FileExists(cat + "\\new.txt"));
    EXPECT_EQ(ReadFileBytes(vault::IndexPath(cat)), cut);

    // A catalog folder removed behind the program's back reads as empty.
    list.currentCatalog = root / "Gone";
    EXPECT_EQ(list.Refresh(), 0);
    EXPECT_FALSE(FolderExists(root / "Gone"));
}

TEST_F(Vault, MakeDocumentRecordRules) {
    DocumentRecord r;
    EXPECT_FALSE(vault::MakeDocumentRecord(outside.path(), root.path(), r));
    EXPECT_FALSE(vault::MakeDocumentRecord(outside / "missing.txt", root.path(), r));

    const std::string out = Outside("report.txt", "12345");
    ASSERT_TRUE(vault::MakeDocumentRecord(out, root.path(), r));
    EXPECT_EQ(r.origin, out);
    EXPECT_EQ(r.workingFolder, outside.path());
    EXPECT_EQ(r.name, "report.txt");
    EXPECT_EQ(r.type, ".txt");
    EXPECT_EQ(r.size, 5);
    EXPECT_GT(r.modified, 1600000000u);
    EXPECT_EQ(r.encoded, 0);

    const std::string in = Catalog("Inside") + "\\note";
    WriteFileBytes(in, "");
    ASSERT_TRUE(vault::MakeDocumentRecord(in, root.path(), r));
    EXPECT_EQ(r.workingFolder, "C:\\Temp");
    EXPECT_EQ(r.type, "");
}

TEST_F(Vault, AddingFilesPicksFreeNamesAndKeepsEachRecordWithItsFile) {
    const std::string cat = Catalog("Docs");
    list.currentCatalog = cat;
    WriteFileBytes(cat + "\\a.txt", "already here");
    WriteFileBytes(cat + "\\a (2).txt", "also here");
    CreateDirectoryA((outside / "sub").c_str(), nullptr);
    const std::string first = Outside("a.txt", "first");
    WriteFileBytes(outside / "sub\\a.txt", "second");

    const int last = list.AddFilesToCatalog({first, outside / "sub", outside / "nothing.txt", outside / "sub\\a.txt"},
                                            false, cat, false);
    EXPECT_EQ(last, 1);
    ASSERT_EQ(list.records.size(), 2u);
    EXPECT_EQ(list.records[0].name, "a (3).txt");
    EXPECT_EQ(list.records[1].name, "a (4).txt");
    // Each record names the file that came from its origin.
    EXPECT_EQ(ReadFileBytes(cat + "\\" + list.records[0].name), "first");
    EXPECT_EQ(list.records[1].origin, outside / "sub\\a.txt");
    EXPECT_EQ(ReadFileBytes(cat + "\\" + list.records[1].name), "second");
    EXPECT_EQ(ReadFileBytes(cat + "\\a.txt"), "already here");
    EXPECT_TRUE(FileExists(first));  // copied, not moved
    EXPECT_GE(rebuilds, 1);
    const auto idx = Index(cat);
    ASSERT_EQ(idx.size(), 2u);
    EXPECT_EQ(idx[1].name, "a (4).txt");
    EXPECT_EQ(idx[1].workingFolder, outside / "sub");

    EXPECT_EQ(list.AddFilesToCatalog({outside.path(), outside / "nothing.txt"}, false, cat, false), -1);
}

TEST_F(Vault, NamesFromAFileListAreBareNamesOrRefused) {
    const std::string cat = Catalog("Docs");
    list.currentCatalog = cat;
    CreateDirectoryA((outside / "in").c_str(), nullptr);
    WriteFileBytes(outside / "in\\x.txt", "x");
    WriteFileBytes(outside / "a.txt", "outside the list's folder");
    std::vector<std::string> files;
    ASSERT_TRUE(paths::ParseFileListArgument(outside / "in\\x.txt|../a.txt||y\x01.txt|", files));
    ASSERT_EQ(files.size(), 4u);

    EXPECT_EQ(list.AddFilesToCatalog(files, false, cat, false), 0);  // the others still go in
    ASSERT_EQ(list.records.size(), 1u);
    EXPECT_EQ(list.records[0].name, "x.txt");
    for (const char* refused : {"\"../a.txt\" is not a plain file name", "\"\" is not a plain file name",
                                "\"y\x01.txt\" is not a plain file name"})
        EXPECT_NE(ui.messages.find(refused), std::string::npos) << refused << " in " << ui.messages;
    EXPECT_FALSE(FileExists(root / "a.txt"));  // nothing lands beside the catalog
    EXPECT_EQ(Index(cat).size(), 1u);          // and the index still reads

    // Whatever asks for it, an index never takes a name its reader refuses.
    DocumentRecords withBad = list.records;
    withBad.push_back({});
    withBad.back().name = "../evil.txt";
    const std::string before = ReadFileBytes(vault::IndexPath(cat));
    EXPECT_FALSE(vault::SaveIndex(ui, withBad, cat));
    EXPECT_EQ(ReadFileBytes(vault::IndexPath(cat)), before);
    withBad.back().name = "page.htm";
    withBad.back().companions = {".."};
    EXPECT_FALSE(vault::AppendToIndex(ui, {withBad.back()}, cat));
    EXPECT_EQ(Index(cat).size(), 1u);

    std::string companion = outside / "sub/../pic.gif";
    WriteFileBytes(outside / "pic.gif", "gif");
    EXPECT_FALSE(list.AddCompanionFile("x.txt", companion, cat));
    EXPECT_TRUE(FileExists(outside / "pic.gif"));
}

TEST_F(Vault, AnIndexThatCannotBeWrittenStopsMovesBeforeAnythingMoves) {
    const std::string from = Catalog("From");
    const std::string to = Catalog("To");
    list.currentCatalog = from;
    ASSERT_EQ(list.AddFilesToCatalog({Outside("doc.htm", "d")}, false, from, false), 0);
    std::string pic = Outside("doc.gif", "g");
    ASSERT_TRUE(list.AddCompanionFile("doc.htm", pic, from));
    list.records[0].description = "kept";
    list.records[0].encoded = 1;
    ASSERT_TRUE(list.Save());
    Index(to);  // the target has an index, read-only below

    for (const std::string& locked : {to, from}) {
        SCOPED_TRACE(locked);
        ui.messages.clear();
        SetFileAttributesA(vault::IndexPath(locked).c_str(), FILE_ATTRIBUTE_READONLY);
        list.MoveToCatalog({0}, to);
        SetFileAttributesA(vault::IndexPath(locked).c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_NE(ui.messages.find("cannot be written"), std::string::npos) << ui.messages;
        ASSERT_EQ(list.records.size(), 1u);
        EXPECT_TRUE(FileExists(from + "\\doc.htm"));
        EXPECT_TRUE(FileExists(from + "\\doc.gif"));
        EXPECT_FALSE(FileExists(to + "\\doc.htm"));
        const auto kept = Index(from);
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_EQ(kept[0].description, "kept");
        EXPECT_EQ(kept[0].encoded, 1);
        EXPECT_TRUE(Index(to).empty());
    }

    // Adding with move on: the source stays where it is.
    const std::string src = Outside("m.doc", "moved?");
    SetFileAttributesA(vault::IndexPath(to).c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(list.AddFilesToCatalog({src}, true, to, false), -1);
    SetFileAttributesA(vault::IndexPath(to).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(FileExists(src));
    EXPECT_FALSE(FileExists(to + "\\m.doc"));
}

TEST_F(Vault, ACompanionThatCannotMoveKeepsItsDocumentWithIt) {
    const std::string from = Catalog("From");
    const std::string to = Catalog("To");
    list.currentCatalog = from;
    ASSERT_EQ(list.AddFilesToCatalog({Outside("page.htm", "p"), Outside("other.htm", "o")}, false, from, false), 1);
    for (const char* c : {"a.gif", "b.gif"}) {
        std::string pic = Outside(c, c);
        ASSERT_TRUE(list.AddCompanionFile("page.htm", pic, from));
    }
    std::string gone = Outside("gone.gif", "");
    ASSERT_TRUE(list.AddCompanionFile("other.htm", gone, from));
    DeleteFileA((from + "\\gone.gif").c_str());

    {
        // b.gif is in use elsewhere and cannot move.
        win::File busy = win::File::Open(from + "\\b.gif", GENERIC_READ, 0, OPEN_EXISTING);
        ASSERT_TRUE(busy.valid());
        list.MoveToCatalog({0, 1}, to);
    }

    EXPECT_NE(ui.messages.find("b.gif"), std::string::npos) << ui.messages;
    ASSERT_EQ(list.records.size(), 1u);
    EXPECT_EQ(list.records[0].name, "page.htm");
    EXPECT_EQ(list.records[0].companions, (std::vector<std::string>{"a.gif", "b.gif"}));
    for (const char* f : {"page.htm", "a.gif", "b.gif"}) {
        EXPECT_TRUE(FileExists(from + "\\" + f)) << f;
        EXPECT_FALSE(FileExists(to + "\\" + f)) << f;
    }
    ASSERT_EQ(Index(from).size(), 1u);
    EXPECT_EQ(Index(from)[0].companions.size(), 2u);
    // A companion that was already gone does not hold its document back.
    const auto moved = Index(to);
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0].name, "other.htm");
    EXPECT_TRUE(FileExists(to + "\\other.htm"));
}

TEST_F(Vault, MovingAddRemovesSourcesAndAHiddenCatalogOnlyGetsItsIndex) {
    const std::string shown = Catalog("Shown");
    const std::string hidden = Catalog("Hidden");
    list.currentCatalog = shown;
    list.Refresh();
    const std::string src = Outside("m.doc", "moved");
    EXPECT_EQ(list.AddFilesToCatalog({src}, true, hidden, false), -1);  // the shown list is still empty
    EXPECT_FALSE(FileExists(src));
    EXPECT_EQ(ReadFileBytes(hidden + "\\m.doc"), "moved");
    EXPECT_TRUE(list.records.empty());
    EXPECT_TRUE(Index(shown).empty());
    const auto idx = Index(hidden);
    ASSERT_EQ(idx.size(), 1u);
    EXPECT_EQ(idx[0].origin, src);
}

TEST_F(Vault, CompanionFilesAndLinkRewriting) {
    const std::string cat = Catalog("Web");
    list.currentCatalog = cat;
    const std::string page = Outside("page.htm", "<img src=\"http://x/p.gif\"><a href=\"http://x/p.gif\">p</a>");
    ASSERT_EQ(list.AddFilesToCatalog({page}, true, cat, false), 0);
    WriteFileBytes(cat + "\\p.gif", "older picture");

    std::string pic = Outside("p.gif", "GIF89a");
    ASSERT_TRUE(list.AddCompanionFile("page.htm", pic, cat));
    // The picture collided with p.gif and is known by the name it got.
    EXPECT_EQ(pic, "p (2).gif");
    EXPECT_EQ(ReadFileBytes(cat + "\\p (2).gif"), "GIF89a");
    EXPECT_EQ(list.records[0].companions, std::vector<std::string>{"p (2).gif"});
    EXPECT_EQ(Index(cat)[0].companions, std::vector<std::string>{"p (2).gif"});

    std::string orphan = Outside("q.gif", "q");
    EXPECT_FALSE(list.AddCompanionFile("nosuch.htm", orphan, cat));
    EXPECT_TRUE(FileExists(cat + "\\q.gif"));  // stays without a record

    ASSERT_TRUE(vault::ReplaceInFile(cat + "\\page.htm", "http://x/p.gif", pic, vault::kDefaultTextFileTypes));
    EXPECT_EQ(ReadFileBytes(cat + "\\page.htm"), "<img src=\"p (2).gif\"><a href=\"p (2).gif\">p</a>");
    ASSERT_TRUE(vault::ReplaceInFile(cat + "\\page.htm", "p (2).gif", "", vault::kDefaultTextFileTypes));
    EXPECT_EQ(ReadFileBytes(cat + "\\page.htm"), "<img src=\"\"><a href=\"\">p</a>");  // cut to length
    WriteFileBytes(cat + "\\data.bin", "p (2).gif");
    EXPECT_FALSE(vault::ReplaceInFile(cat + "\\data.bin", "p", "q", vault::kDefaultTextFileTypes));
    EXPECT_EQ(ReadFileBytes(cat + "\\data.bin"), "p (2).gif");
    EXPECT_FALSE(vault::ReplaceInFile(cat + "\\missing.txt", "p", "q", vault::kDefaultTextFileTypes));

    // Only whole values are links: the same text inside a longer address,
    // a path or a word is left alone.
    WriteFileBytes(cat + "\\two.htm", "<img src=pic.gif><img src='/wp/pic.gif'> <img\tsrc=\"pic.gif\">pic.gifs");
    ASSERT_TRUE(vault::ReplaceInFile(cat + "\\two.htm", "pic.gif", "a b.gif", vault::kDefaultTextFileTypes));
    EXPECT_EQ(ReadFileBytes(cat + "\\two.htm"), "<img src=a b.gif><img src='/wp/pic.gif'> <img\tsrc=\"a b.gif\">pic.gifs");
}

TEST_F(Vault, DraggingToAnotherCatalogMovesFilesCompanionsAndRecords) {
    const std::string from = Catalog("From");
    const std::string to = Catalog("To");
    list.currentCatalog = from;
    ASSERT_EQ(list.AddFilesToCatalog({Outside("one.htm", "1"), Outside("two.htm", "2"), Outside("lost.txt", "3"),
                                      Outside("stay.txt", "4")},
                                     false, from, false),
              3);
    for (auto* r : {&list.records[0], &list.records[1]}) {
        std::string pic = Outside(r->name + ".gif", "pic");
        ASSERT_TRUE(list.AddCompanionFile(r->name, pic, from));
    }
    list.records[0].description = "first";
    list.records[1].workingFolder = "D:\\Work";
    list.records[1].encoded = 1;
    list.records[2].description = "its file is gone";
    ASSERT_TRUE(list.Save());
    WriteFileBytes(to + "\\one.htm", "occupied");
    DeleteFileA((from + "\\lost.txt").c_str());

    list.MoveToCatalog({0, 1, 2}, to);

    ASSERT_EQ(list.records.size(), 2u);
    EXPECT_EQ(list.records[0].name, "lost.txt");  // its file never moved, so its record stays
    EXPECT_EQ(list.records[0].description, "its file is gone");
    EXPECT_NE(ui.messages.find("lost.txt"), std::string::npos) << ui.messages;
    EXPECT_EQ(Index(from).size(), 2u);

    const auto moved = Index(to);
    ASSERT_EQ(moved.size(), 2u);
    EXPECT_EQ(moved[0].name, "two.htm");  // last selected first
    EXPECT_EQ(moved[0].workingFolder, "D:\\Work");
    EXPECT_EQ(moved[0].encoded, 1);
    EXPECT_EQ(moved[1].name, "one (2).htm");
    EXPECT_EQ(moved[1].description, "first");
    EXPECT_EQ(ReadFileBytes(to + "\\one (2).htm"), "1");
    EXPECT_EQ(ReadFileBytes(to + "\\one.htm"), "occupied");
    for (const auto& r : moved) {
        ASSERT_EQ(r.companions.size(), 1u);
        EXPECT_TRUE(FileExists(to + "\\" + r.companions[0])) << r.companions[0];
    }
    EXPECT_FALSE(FileExists(from + "\\one.htm.gif"));
    EXPECT_FALSE(FileExists(from + "\\two.htm"));
}

TEST_F(Vault, DeleteRenameDescribeOpen) {
    const std::string cat = Catalog("Ops");
    list.currentCatalog = cat;
    list.AddFilesToCatalog({Outside("d.htm", "d"), Outside("e.txt", "e"), Outside("f.txt", "f")}, false, cat, false);
    std::string pic = Outside("d.gif", "g");
    ASSERT_TRUE(list.AddCompanionFile("d.htm", pic, cat));

    ui.answer = IDNO;
    EXPECT_FALSE(list.Delete({0}));
    EXPECT_TRUE(FileExists(cat + "\\d.htm"));
    ui.answer = IDYES;
    EXPECT_TRUE(list.Delete({0}));
    EXPECT_FALSE(FileExists(cat + "\\d.htm"));
    EXPECT_FALSE(FileExists(cat + "\\d.gif"));
    ASSERT_EQ(Index(cat).size(), 2u);
    EXPECT_EQ(Index(cat)[0].name, "e.txt");

    EXPECT_EQ(list.Rename(0, "f.txt"), vault::RenameResult::nameTaken);
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(list.Rename(0, "..\\out.txt"), vault::RenameResult::failed);
    EXPECT_TRUE(FileExists(cat + "\\e.txt"));
    EXPECT_EQ(list.Rename(0, ""), vault::RenameResult::unchanged);
    const auto boxes = ui.asked.size();
    EXPECT_EQ(list.Rename(0, "bad?name.txt"), vault::RenameResult::failed);  // refused by the file system
    EXPECT_EQ(ui.asked.size(), boxes + 1);
    EXPECT_EQ(Index(cat)[0].name, "e.txt");
    EXPECT_EQ(list.Rename(0, "g.txt"), vault::RenameResult::renamed);
    EXPECT_TRUE(FileExists(cat + "\\g.txt"));
    EXPECT_EQ(Index(cat)[0].name, "g.txt");

    int redrawn = -1;
    list.itemChanged = [&](int i) { redrawn = i; };
    list.SetDescription(1, "described");
    EXPECT_EQ(redrawn, 1);
    EXPECT_EQ(Index(cat)[1].description, "described");

    list.records[1].encoded = 1;
    list.Open({0, 1});
    ASSERT_EQ(ui.opened.size(), 1u);
    EXPECT_EQ(ui.opened[0], cat + "\\g.txt");
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    EXPECT_EQ(ui.openedIn[0], temp);  // started in the temporary folder
    EXPECT_NE(ui.messages.find("\\Ops\\f.txt is encrypted\r\n"), std::string::npos) << ui.messages;

    const std::string before = ui.messages;
    EXPECT_FALSE(list.RequireSelection({}));
    EXPECT_EQ(ui.messages, before + "No File(s) selected!\r\n");
}

TEST_F(Vault, NewNoteLiesInTheShownCatalog) {
    const std::string cat = Catalog("Notes");
    list.currentCatalog = cat;
    ASSERT_TRUE(list.NewNote());
    ASSERT_EQ(list.records.size(), 1u);
    const auto& r = list.records[0];
    EXPECT_TRUE(std::regex_match(r.name, std::regex("Note[0-9A-Fa-f]+\\.txt"))) << r.name;
    EXPECT_EQ(r.workingFolder, "C:\\Temp");
    EXPECT_EQ(r.origin, cat + "\\" + r.name);
    EXPECT_TRUE(FileExists(cat + "\\" + r.name));
    EXPECT_EQ(Index(cat).size(), 1u);
    ASSERT_EQ(ui.opened.size(), 1u);
    EXPECT_EQ(ui.opened[0], r.origin);
    EXPECT_EQ(ui.openedIn[0], cat);  // started in the catalog
}

TEST_F(Vault, NewNoteNeedsAReadableAndWritableIndexBeforeItMakesAFile) {
    const std::string cat = Catalog("Locked");
    list.currentCatalog = cat;
    list.Refresh();  // creates the empty index
    SetFileAttributesA(vault::IndexPath(cat).c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(list.NewNote());
    SetFileAttributesA(vault::IndexPath(cat).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_NE(ui.messages.find("cannot be written"), std::string::npos) << ui.messages;

    WriteFileBytes(vault::IndexPath(cat), std::string("\x00\x00\x01\x00\x05\x00\x00\x00", 8));  // damaged
    EXPECT_FALSE(list.NewNote());
    EXPECT_NE(ui.messages.find("damaged"), std::string::npos) << ui.messages;

    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((cat + "\\Note*").c_str(), &found);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE) << "a note without a record: " << found.cFileName;
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
    EXPECT_TRUE(list.records.empty());
    EXPECT_TRUE(ui.opened.empty());
}

TEST_F(Vault, CopyToAsksBeforeReplacingAndSkipsEncrypted) {
    const std::string cat = Catalog("Src");
    list.currentCatalog = cat;
    list.AddFilesToCatalog({Outside("x.htm", "new x"), Outside("y.txt", "y")}, false, cat, false);
    std::string pic = Outside("x.gif", "gif");
    ASSERT_TRUE(list.AddCompanionFile("x.htm", pic, cat));
    list.records[1].encoded = 1;
    TempDir dest;
    WriteFileBytes(dest / "x.htm", "old x");
    ui.browseResult = dest.path();

    ui.answer = IDNO;
    list.CopyTo({0, 1});
    EXPECT_EQ(ReadFileBytes(dest / "x.htm"), "old x");
    EXPECT_EQ(ReadFileBytes(dest / "x.gif"), "gif");
    EXPECT_FALSE(FileExists(dest / "y.txt"));
    EXPECT_NE(ui.messages.find("y.txt is encrypted"), std::string::npos);
    ASSERT_EQ(ui.asked.size(), 1u);

    ui.answer = IDYES;
    list.CopyTo({0});
    EXPECT_EQ(ReadFileBytes(dest / "x.htm"), "new x");
}

TEST(OpenFileSelection, OneFileOrAFolderWithNames) {
    const char one[] = "C:\\In\\a.txt\0";
    EXPECT_EQ(SplitOpenFileSelection(one), std::vector<std::string>{"C:\\In\\a.txt"});
    const char many[] = "C:\\In\0a.txt\0b c.doc\0";
    EXPECT_EQ(SplitOpenFileSelection(many), (std::vector<std::string>{"C:\\In\\a.txt", "C:\\In\\b c.doc"}));
    const char root[] = "D:\\\0x\0y\0";
    EXPECT_EQ(SplitOpenFileSelection(root), (std::vector<std::string>{"D:\\x", "D:\\y"}));
}
