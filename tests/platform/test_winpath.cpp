#include "WinPath.h"

#include <gtest/gtest.h>

using namespace zvo;

TEST(WinPath, TrimRemovesBlanksAndControlCharacters)
{
    EXPECT_EQ(TrimText("\t  a b \r\n\x01"), "a b");
    EXPECT_EQ(TrimText(" \t "), "");
}

TEST(WinPath, FolderPartsAndParents)
{
    struct Case { const char *path, *filePath, *fileDir, *fileName, *parent; };
    const Case cases[] = {
        {"C:\\A\\b.txt", "C:\\A\\", "C:\\A", "b.txt", "C:\\A\\"},
        {"C:\\b.txt", "C:\\", "C:\\", "b.txt", "C:\\"},
        {"C:\\A\\B\\", "C:\\A\\B\\", "C:\\A\\B", "", "C:\\A\\"},
        {"C:\\", "C:\\", "C:\\", "", "C:\\"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ExtractFilePath(c.path), c.filePath);
        EXPECT_EQ(ExtractFileDir(c.path), c.fileDir);
        EXPECT_EQ(ExtractFileName(c.path), c.fileName);
        EXPECT_EQ(ParentDir(c.path), c.parent);
    }
    EXPECT_EQ(IncludeTrailingBackslash("C:\\A"), "C:\\A\\");
    EXPECT_EQ(IncludeTrailingBackslash(""), "\\");
    EXPECT_EQ(JoinPath("C:\\A", "\\b"), "C:\\A\\b");
}

TEST(WinPath, MasksIgnoreCase)
{
    EXPECT_TRUE(MatchesMask("A.RC2", "*.rc2"));
    EXPECT_TRUE(MatchesMask("zone01.zip", "zone??.zip"));
    EXPECT_FALSE(MatchesMask("a.rc2.bak", "*.rc2"));
    EXPECT_FALSE(MatchesMask("a+b.txt", "a.b.txt")); // mask text is literal, not a pattern
    EXPECT_TRUE(MatchesMask("anything", "*.*"));
}
