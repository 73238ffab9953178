#include "helper/picked_text_rules.h"

#include <gtest/gtest.h>

using namespace gleanix;

TEST(DeriveTitle, FirstSuitableLine) {
    EXPECT_EQ(DeriveTitle("Hello World"), "Hello World");
    EXPECT_EQ(DeriveTitle("ab\n  Quarterly X  \n"), "Quarterly X");
    EXPECT_EQ(DeriveTitle("abc"), "");
    // An 8-byte line trimming to 4 bytes stays the candidate over a short tail.
    EXPECT_EQ(DeriveTitle("  Abcd  \nxy"), "Abcd");
    // ...but a later long line or last segment replaces it.
    EXPECT_EQ(DeriveTitle("  Abcd  \r\nReport"), "Report");
    EXPECT_EQ(DeriveTitle("  Abcd  \nReport\nmore"), "Report");
    // The last segment is taken untrimmed, and only when longer than 5 bytes.
    EXPECT_EQ(DeriveTitle("ab\r\n Title "), " Title ");
    EXPECT_EQ(DeriveTitle("ab\r\nTitle"), "");
    // A line of exactly 5 bytes is long enough.
    EXPECT_EQ(DeriveTitle("Hello\nxy"), "Hello");
    // A candidate of 3 bytes is kept; one of 2 is not.
    EXPECT_EQ(DeriveTitle("  abc  \n"), "abc");
    EXPECT_EQ(DeriveTitle("   ab   \n"), "");
    EXPECT_EQ(DeriveTitle(""), "");
    EXPECT_EQ(DeriveTitle("\r\n\r\n\r\n"), "");
    // Lengths are bytes of the ANSI text.
    EXPECT_EQ(DeriveTitle("\xC4\xD6\xDC\xE4\xF6\xFC"), "\xC4\xD6\xDC\xE4\xF6\xFC");
}

TEST(PickedText, SeparatorLine) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 5;
    t.tm_hour = 7;
    t.tm_min = 8;
    t.tm_sec = 9;
    EXPECT_EQ(PickedTextSeparator(t, "http://h/%s?a=1"),
              "\r\n\r\n=~=~=~=~=~=2026-01-05,07:08:09=~=~=~=~=~=http://h/%s?a=1=~=~=~=~=~=\r\n");
}

TEST(PickedText, TargetFileAndTitles) {
    EXPECT_EQ(PickedTextTarget("C:\\notes.txt", "Report"), "C:\\notes.txt");
    EXPECT_EQ(PickedTextTarget("C:\\picks\\", "Report"), "C:\\picks\\Report.txt");
    EXPECT_EQ(PickedTextTarget("\\", "NoTitle"), "\\NoTitle.txt");
    EXPECT_EQ(TitleOrDerived("", "abc"), "NoTitle");
    EXPECT_EQ(TitleOrDerived("", "ab\nReport\n"), "Report");
    EXPECT_EQ(TitleOrDerived("Mine", "ab\nReport\n"), "Mine");
    EXPECT_EQ(PageTitle("a/b", "x\nReport\n"), "Report");
    EXPECT_EQ(PageTitle("a\\b", "x"), "NoTitle");
    EXPECT_EQ(PageTitle("", "x\ny\n"), "NoTitle");
    EXPECT_EQ(PageTitle("Kept: yes", "x"), "Kept: yes");
}

TEST(PickedText, TitlesFromPagesStayInsideTheFolder) {
    EXPECT_EQ(PickedTextTarget("D:\\p\\", "..\\..\\Windows\\win.ini"), "D:\\p\\.._.._Windows_win.ini.txt");
    EXPECT_EQ(PickedTextTarget("D:\\p\\", "C:\\x"), "D:\\p\\C__x.txt");
    EXPECT_EQ(PickedTextTarget("D:\\p\\", "a:stream"), "D:\\p\\a_stream.txt");
    EXPECT_EQ(PickedTextTarget("D:\\p\\", ".."), "D:\\p\\_.txt");
    EXPECT_EQ(PickedTextTarget("D:\\p\\", "CON"), "D:\\p\\_CON.txt");
    EXPECT_EQ(PickedTextTarget("D:\\p\\", "t\r\nx"), "D:\\p\\t__x.txt");
}

TEST(PickedText, StoreInFileValueMarksFolders) {
    EXPECT_EQ(StoreInFileValue("C:\\a.txt", true), "C:\\a.txt");
    EXPECT_EQ(StoreInFileValue("", true), "");
    EXPECT_EQ(StoreInFileValue("C:\\picks", false), "C:\\picks\\");
    EXPECT_EQ(StoreInFileValue("C:\\picks\\", false), "C:\\picks\\");
    EXPECT_EQ(StoreInFileValue("", false), "\\");
}

TEST(PickedText, LongPicksAreCutToNamesTheFileSystemTakes) {
    // A one-line pick becomes its own title, cut to a file name's length.
    const std::string line(300, 'x');
    EXPECT_EQ(DeriveTitle(line), std::string(kMaxTitleLength, 'x'));
    EXPECT_EQ(DeriveTitle("ab\n  " + line + "  \nmore"), std::string(kMaxTitleLength, 'x'));
    EXPECT_EQ(TitleOrDerived("", line).size(), kMaxTitleLength);

    // The store cuts any title to what its folder leaves of a path.
    const std::string folder = "C:\\" + std::string(200, 'f') + "\\";
    const std::string target = PickedTextTarget(folder, std::string(300, 't'));
    EXPECT_EQ(target, folder + std::string(259 - folder.size() - 4, 't') + ".txt");
    EXPECT_EQ(target.size(), 259u);
    // A device name keeps its guard when the cut makes it one.
    EXPECT_EQ(PickedTextTarget("C:\\" + std::string(247, 'f') + "\\", "COM1x"),
              "C:\\" + std::string(247, 'f') + "\\_COM.txt");
    EXPECT_EQ(PickedTextTarget("D:\\p\\", "LPT\xB9"), "D:\\p\\_LPT\xB9.txt");

    // A double-byte character is never split.
    SetLeadByteTest([](unsigned char b) { return b >= 0x81 && b <= 0x9F; });
    std::string wide;
    for (int i = 0; i < 100; ++i) wide += "\x82\xA0";
    EXPECT_EQ(DeriveTitle("a" + wide), "a" + wide.substr(0, 126));
    EXPECT_EQ(CutToLength("\x82\xA0\x82\xA0", 3), "\x82\xA0");
    SetLeadByteTest(nullptr);
    EXPECT_EQ(CutToLength("\x82\xA0\x82\xA0", 3), "\x82\xA0\x82");
}

TEST(PickedText, HandedOverNamesLoseControlCharacters) {
    using namespace std::string_literals;
    // An embedded NUL would cut the name short in the main program.
    EXPECT_EQ(HandoffName("evil.hta\0"s, "", Handed::Page), "evil.hta.html");
    EXPECT_EQ(HandoffName("a\x01" "b\tc\x7F"s, "", Handed::Text), "abc.txt");
    // A title of control characters only does not stand: the text names it.
    EXPECT_FALSE(TitleStands("\0\x1F"s, Handed::Text));
    EXPECT_EQ(HandoffName("\0\x1F"s, "ab\nReport\n", Handed::Text), "Report.txt");
    EXPECT_FALSE(TitleStands("a/b\0"s, Handed::Page));
    EXPECT_TRUE(TitleStands("a/b", Handed::Text));
    EXPECT_EQ(HandoffName("a/b\0"s, "", Handed::Page), "NoTitle.html");
    // Derived titles are cleaned and cut as well.
    EXPECT_EQ(HandoffName("", "ab\nQuart\0erly\x05\n"s, Handed::Page), "Quarterly.html");
    EXPECT_EQ(HandoffName("", "\x01\x02\x03\x04\x05\x06", Handed::Text), "NoTitle.txt");
    EXPECT_EQ(HandoffName(std::string(300, 'n'), "", Handed::Text), std::string(kMaxTitleLength, 'n') + ".txt");
    EXPECT_EQ(HandoffName("Kept: yes", "x", Handed::Page), "Kept: yes.html");
}
