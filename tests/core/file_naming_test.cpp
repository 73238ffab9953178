#include "net/file_naming.h"

#include <gtest/gtest.h>

TEST(FileNaming, NamesFromThePath) {
    EXPECT_EQ(net::NameFromObjectPath("h", "/docs/report.pdf", nullptr), "report.pdf");
    // Images carry host and path, the case kept; only the test is case-blind.
    EXPECT_EQ(net::NameFromObjectPath("h", "/pics/a.GIF", nullptr), "h_pics_a.GIF");
    EXPECT_EQ(net::NameFromObjectPath("h", "/", nullptr), "");
    EXPECT_EQ(net::NameFromObjectPath("h", "/a.cgi?x=1", nullptr), "");
    EXPECT_EQ(net::NameFromObjectPath("h", "/a&b", nullptr), "");
    const std::string cl = "Content-Location: index.en.html \r\n";
    EXPECT_EQ(net::NameFromObjectPath("h", "/dir/index", &cl), "index.html");
    EXPECT_EQ(net::NameFromObjectPath("h", "/dir/a.txt", &cl), "a.txt");
    EXPECT_EQ(net::FtpFileName("/pub/a.zip"), "_pub_a.zip");
    EXPECT_EQ(net::FtpFileName("/pub/a.zip&x&y"), "_pub_a.zip&x");
}

TEST(FileNaming, ServerTextNeverLeavesTheFolder) {
    const std::string evil = "Content-Location: a.b\\..\\..\\evil\r\n";
    EXPECT_EQ(net::NameFromObjectPath("h", "/dir/file", &evil), "file._evil");
    const std::string stream = "Content-Location: a.txt:hidden\r\n";
    EXPECT_EQ(net::NameFromObjectPath("h", "/f", &stream), "f.txt_hidden");
    EXPECT_EQ(net::NameFromObjectPath("h", "/..", nullptr), "_");
    EXPECT_EQ(net::NameFromObjectPath("h", "/a..", nullptr), "a._");
    EXPECT_EQ(net::NameFromObjectPath("h", "/con.txt", nullptr), "_con.txt");
    EXPECT_EQ(net::NameFromObjectPath("h", "/LPT1", nullptr), "_LPT1");
    EXPECT_EQ(net::NameFromObjectPath("h", "/com10", nullptr), "com10");
    EXPECT_EQ(net::FtpFileName("/a:b"), "_a_b");
    const std::string longName = net::SafeLocalName(std::string(300, 'x') + ".zip");
    EXPECT_EQ(longName.size(), 200u);
    EXPECT_EQ(longName.substr(196), ".zip");
}

TEST(FileNaming, TemporaryNamesTakeTheTypeExtension) {
    EXPECT_EQ(net::NameFromTemporary("C:\\T\\relA1B2.TMP", "Content-Type: text/html; charset=x\r\n"),
              "rela1b2.htm");
    EXPECT_EQ(net::NameFromTemporary("C:\\T\\rel1f.tmp", "Content-Type: application/x-unknown\r\n"), "rel1f.tmp");
    // First table entry that matches wins; the test is case-sensitive.
    EXPECT_EQ(net::ExtensionForContentType("Content-Type: application/vnd.ms-excel"), ".xls");
    EXPECT_EQ(net::ExtensionForContentType("Content-Type: Text/HTML"), "");
    EXPECT_EQ(net::ExtensionForContentType("Content-Type: application/octet-stream"), ".exe");
}

TEST(FileNaming, LoaderSensitiveNames) {
    for (const char* name : {"version.dll", "X.OCX", "a.cpl", "Archivon.job", "gleanix.ini", "app.exe.manifest",
                             "Archivon.HLP", "archivon.chm", "Archivon.cnt", "ARCHIVON.GID"})
        EXPECT_TRUE(net::IsLoaderSensitiveName(name)) << name;
    for (const char* name : {"setup.exe", "notes.txt", "dll", "a.dll.zip"})
        EXPECT_FALSE(net::IsLoaderSensitiveName(name)) << name;
}
