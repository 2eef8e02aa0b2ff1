#include "DBCreatorFixture.h"
#include "TextFiles.h"

using namespace zvo;
using namespace zvo::test;

using dbcreator_TextFiles = TDBCreatorTest;

TEST_F(dbcreator_TextFiles, ListFileEncodingsAndLineBreaks)
{
    struct Case {
        const char *what;
        QByteArray bytes;
        QStringList lines;
    };
    const QString eAcute = QString::fromUtf8("caf\xC3\xA9");
    const Case cases[] = {
        {"UTF-8 without mark, CR LF", "aavso\r\nalcdef\r\n", {"aavso", "alcdef"}},
        {"UTF-8 mark, LF, no final break", "\xEF\xBB\xBF" + eAcute.toUtf8() + "\nb",
         {eAcute, "b"}},
        {"UTF-16 LE mark, CR", Utf16LE("a\rb\r"), {"a", "b"}},
        {"UTF-16 BE mark, mixed breaks", Utf16BE(eAcute + "\r\nb\nc\r"), {eAcute, "b", "c"}},
        {"blank lines and blanks are entries", "a\n\n b \n", {"a", "", " b "}},
        {"one line break is one blank entry", "\r\n", {""}},
        {"empty file", "", {}},
        {"only a mark", "\xEF\xBB\xBF", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Drive.WriteFile("list.txt", c.bytes);
        EXPECT_EQ(TextLines(ReadTextFile("C:\\list.txt", TTextEncoding::UTF8)), c.lines);
    }
}

TEST_F(dbcreator_TextFiles, ScriptsWithoutMarkAreWindows1252)
{
    Drive.WriteFile("s.sql", "INSERT INTO t VALUES('\xE9\x80');");
    EXPECT_EQ(ReadTextFile("C:\\s.sql", TTextEncoding::ANSI),
              QString::fromUtf8("INSERT INTO t VALUES('\xC3\xA9\xE2\x82\xAC');"));
    Drive.WriteFile("s.sql", "\xEF\xBB\xBF" "CREATE TABLE \xC3\xA9(x);");
    EXPECT_EQ(ReadTextFile("C:\\s.sql", TTextEncoding::ANSI),
              QString::fromUtf8("CREATE TABLE \xC3\xA9(x);"));
}

TEST_F(dbcreator_TextFiles, WhatIsNotTextIsRefusedWithTheFileName)
{
    struct Case {
        const char *what;
        QByteArray bytes;
        TTextEncoding encoding;
    };
    const Case cases[] = {
        {"invalid UTF-8", "aavso\n\xFF\xFE\xFD\x80", TTextEncoding::UTF8},
        {"UTF-16 without mark", Utf16LE("aavso", false), TTextEncoding::UTF8},
        {"UTF-16 with an odd byte count", Utf16LE("ab") + "x", TTextEncoding::UTF8},
        {"a NUL byte would end the script early",
         QByteArray("CREATE TABLE a(x);\0DROP TABLE b;", 32), TTextEncoding::ANSI},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Drive.WriteFile("f.txt", c.bytes);
        try {
            ReadTextFile("C:\\f.txt", c.encoding);
            ADD_FAILURE() << "read as text";
        } catch (const ETextFileError &e) {
            EXPECT_EQ(e.Message(), "The file \"C:\\f.txt\" is not a text file");
        }
    }
    EXPECT_THROW(ReadTextFile("C:\\missing.txt", TTextEncoding::UTF8), ETextFileError);
}
