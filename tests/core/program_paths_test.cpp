#include "common/paths.h"
#include "vault/catalog_paths.h"

#include <gtest/gtest.h>

using namespace paths;
using vault::IsTextFileType;
using vault::IsUnderBaseDir;
using vault::RelativeCatalogPath;
using vault::kDefaultTextFileTypes;
using V = std::vector<std::string>;

TEST(ProgramPaths, ParseFileListArgument) {
    V out;
    ASSERT_TRUE(ParseFileListArgument("C:\\Docs\\a.txt|b.doc", out));
    EXPECT_EQ(out, (V{"C:\\Docs\\a.txt", "C:\\Docs\\b.doc"}));
    ASSERT_TRUE(ParseFileListArgument("C:\\In\\a.txt|b.txt|", out));
    EXPECT_EQ(out, (V{"C:\\In\\a.txt", "C:\\In\\b.txt"}));
    ASSERT_TRUE(ParseFileListArgument("C:\\In\\a.txt||b.txt", out));
    EXPECT_EQ(out, (V{"C:\\In\\a.txt", "C:\\In\\", "C:\\In\\b.txt"}));
    ASSERT_TRUE(ParseFileListArgument("C:\\In\\  \"q.txt\"", out));
    EXPECT_EQ(out, (V{"C:\\In\\\"q.txt\""}));
    EXPECT_FALSE(ParseFileListArgument("a.txt", out));
    EXPECT_FALSE(ParseFileListArgument("", out));
    ASSERT_TRUE(ParseFileListArgument("C:\\In\\", out));
    EXPECT_TRUE(out.empty());
    // A later name with a backslash stays a name (refused where it is filed)
    // and takes no earlier name with it.
    ASSERT_TRUE(ParseFileListArgument("C:\\In\\x.txt|..\\a.txt|y.txt", out));
    EXPECT_EQ(out, (V{"C:\\In\\x.txt", "C:\\In\\..\\a.txt", "C:\\In\\y.txt"}));
    EXPECT_FALSE(ParseFileListArgument("x.txt|C:\\In\\a.txt", out));
}

TEST(ProgramPaths, IsTextFileType) {
    const std::string types = kDefaultTextFileTypes;
    EXPECT_TRUE(IsTextFileType("report.txt", types));
    EXPECT_TRUE(IsTextFileType("C:\\x\\Page.Htm", types));
    EXPECT_TRUE(IsTextFileType("x.ht", types));  // a plain substring search
    EXPECT_FALSE(IsTextFileType("a.txt.bak", types));
    EXPECT_FALSE(IsTextFileType("README", types));
    EXPECT_FALSE(IsTextFileType("report.txt", ".txt.htm"));
}

TEST(ProgramPaths, PathsOfTheProgram) {
    EXPECT_EQ(JobFilePathFor("C:\\Tools\\Archivon.exe"), "C:\\Tools\\Archivon.job");
    EXPECT_EQ(JobFilePathFor("C:\\Tools\\Archivon"), "");
    EXPECT_EQ(HelpFilePathFor("C:\\Tools\\Archivon.exe"), "C:\\Tools\\Archivon.htm");
    EXPECT_EQ(FileUrl("C:\\Program Files\\A#1\\x%.htm", "context-11"),
              "file:///C:/Program%20Files/A%231/x%25.htm#context-11");
    EXPECT_EQ(FileUrl("\\\\srv\\share\\h.htm"), "file://srv/share/h.htm");
    EXPECT_EQ(CreatePathPrefixes("C:\\A\\B\\C"), (V{"C:\\A", "C:\\A\\B", "C:\\A\\B\\C"}));
    EXPECT_EQ(CreatePathPrefixes("C:\\A"), (V{"C:\\A"}));
}

TEST(ProgramPaths, CatalogPathsAgainstTheRoot) {
    EXPECT_EQ(RelativeCatalogPath("C:\\V\\Root", "C:\\V\\Root"), "");
    EXPECT_EQ(RelativeCatalogPath("C:\\V\\Root\\Projects\\2003", "C:\\V\\Root"), "\\Projects\\2003");
    EXPECT_TRUE(IsUnderBaseDir("C:\\V\\Root\\a.txt", "C:\\V\\Root"));
    EXPECT_FALSE(IsUnderBaseDir("c:\\v\\root\\a.txt", "C:\\V\\Root"));
    EXPECT_FALSE(IsUnderBaseDir("C:\\V", "C:\\V\\Root"));
}
