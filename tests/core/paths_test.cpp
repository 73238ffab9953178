#include "common/paths.h"
#include "net/file_naming.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(Paths, PartsOfAPath) {
    EXPECT_EQ(paths::Join("C:\\a", "b.txt"), "C:\\a\\b.txt");
    EXPECT_EQ(paths::Join("D:\\", "b.txt"), "D:\\b.txt");
    EXPECT_EQ(paths::FileNamePart("C:\\a\\b.txt"), "b.txt");
    EXPECT_EQ(paths::FolderPart("C:\\a\\b.txt"), "C:\\a");
    EXPECT_EQ(paths::TypeOfPath("D:\\report"), "");
    EXPECT_EQ(paths::TypeOfPath("D:\\notes.old\\readme"), ".old\\readme");
    EXPECT_EQ(paths::StemOf("a.b.txt"), "a.b");
}

TEST(Paths, SanitizeFileNameKeepsNamesInsideTheirFolder) {
    EXPECT_EQ(paths::SanitizeFileName("..\\..\\boot.ini"), ".._.._boot.ini");
    EXPECT_EQ(paths::SanitizeFileName("C:file:stream"), "C_file_stream");
    EXPECT_EQ(paths::SanitizeFileName(".."), "_");
    EXPECT_EQ(paths::SanitizeFileName(""), "_");
    EXPECT_EQ(paths::SanitizeFileName(std::string("a\x01?b", 4)), "a__b");
    EXPECT_EQ(paths::SanitizeFileName("nul"), "_nul");
    EXPECT_EQ(paths::SanitizeFileName("Com3 .txt"), "_Com3 .txt");
    EXPECT_EQ(paths::SanitizeFileName("COM0"), "COM0");
    EXPECT_EQ(paths::SanitizeFileName("console"), "console");
}

TEST(Paths, IsBareFileNameRefusesEveryWayOutOfTheFolder) {
    for (const char* ok : {"a.txt", "report..final.txt", ".profile", "a b", "Note1A2B.txt", "x.", "\xE9t\xE9.doc",
                           "console", "COM0", "a|b"})
        EXPECT_TRUE(paths::IsBareFileName(ok)) << ok;
    for (const std::string& bad : std::vector<std::string>{"", ".", "..", "...", "../a.txt", "..\\a.txt", "sub/x", "C:evil", "a.txt:stream",
                            "\\\\server\\share", "NUL", "con.txt", "Com3 .txt", "lpt9", std::string("a\0b", 3),
                            std::string("tab\there"), std::string("line\nbreak"), std::string("del\x7F")})
        EXPECT_FALSE(paths::IsBareFileName(bad)) << bad;
}

TEST(Paths, SanitizedNamesAlwaysPassTheBareNameRule) {
    for (const std::string& hostile : std::vector<std::string>{"", ".", "...", "..\\..\\x", "a/b:c", "aux.h", std::string("\x7F"),
                                std::string(" \0 ", 3), "com1", ". .", "x.txt"})
        EXPECT_TRUE(paths::IsBareFileName(paths::SanitizeFileName(hostile))) << hostile;
    EXPECT_EQ(paths::SanitizeFileName("..."), "_");
}

TEST(Paths, SuperscriptDigitsMakeDeviceNamesToo) {
    // The ANSI superscripts one, two and three name ports like 1, 2 and 3.
    EXPECT_EQ(paths::SanitizeFileName("COM\xB9"), "_COM\xB9");
    EXPECT_EQ(paths::SanitizeFileName("lpt\xB2.txt"), "_lpt\xB2.txt");
    EXPECT_EQ(paths::SanitizeFileName("Com\xB3 .log"), "_Com\xB3 .log");
    // Other superscripts and signs are ordinary characters.
    EXPECT_EQ(paths::SanitizeFileName("COM\xB4"), "COM\xB4");
    EXPECT_EQ(paths::SanitizeFileName("LPT\xB9\xB9"), "LPT\xB9\xB9");
    // The console's own devices, and the same rule where a server names a file.
    EXPECT_FALSE(paths::IsBareFileName("conin$.txt"));
    EXPECT_EQ(net::SafeLocalName("CONOUT$"), "_CONOUT$");
    EXPECT_EQ(net::SafeLocalName("com\xB9.bin"), "_com\xB9.bin");
}
