#include "IniFile.h"
#include "TempDrive.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace zvo;
using zvo::test::TempDrive;

TEST(IniFile, ReadsWithProfileSemantics)
{
    TempDrive drive;
    drive.WriteFile("s.ini",
                    "; comment\r\n[Main]\r\n  Key One  =  spaced value  \r\nquoted=\"  a b  \"\r\n"
                    "single='x'\r\nhalf=\"open\r\nhex=0x1F\r\ndollar=$10\r\nword=true\r\n"
                    "ansi=Caf\xE9\r\n[main]\r\nlater=ignored\r\n[Other]\nlf=only\rcr=too\n");
    const TIniFile ini("C:\\S.INI");
    EXPECT_EQ(ini.ReadString("MAIN", "key one", "d"), "spaced value");
    EXPECT_EQ(ini.ReadString("Main", "quoted", "d"), "  a b  ");
    EXPECT_EQ(ini.ReadString("Main", "single", "d"), "x");
    EXPECT_EQ(ini.ReadString("Main", "half", "d"), "\"open");
    EXPECT_EQ(ini.ReadString("Main", "ansi", "d"), QString::fromUtf8("Café"));
    EXPECT_EQ(ini.ReadString("Main", "later", "d"), "d"); // a repeated section is not read
    EXPECT_EQ(ini.ReadString("Main", "missing", "def"), "def");
    EXPECT_EQ(ini.ReadString("Nope", "x", ""), "");
    EXPECT_EQ(ini.ReadString("Other", "cr", ""), "too");
    EXPECT_EQ(ini.ReadInteger("Main", "hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("Main", "dollar", 0), 16);
    EXPECT_EQ(ini.ReadInteger("Main", "word", 7), 7);
    EXPECT_EQ(ini.ReadSections(), QStringList({"Main", "Other"}));
    EXPECT_EQ(ini.ReadSection("other"), QStringList({"lf", "cr"}));
    EXPECT_TRUE(ini.ValueExists("MAIN", "HEX"));
}

TEST(IniFile, ValuesAreCutAt2047Characters)
{
    TempDrive drive;
    drive.WriteFile("long.ini", "[S]\r\nv=" + QByteArray(100000, 'x') + "\r\n");
    EXPECT_EQ(TIniFile("C:\\long.ini").ReadString("S", "v", "").size(), 2047);
}

TEST(IniFile, WritesChangeOnlyTheirOwnLine)
{
    TempDrive drive;
    drive.WriteFile("w.ini", "; keep me\n[A]\nx=1\n\n[B]\ny=2\nunrelated line\n");
    TIniFile ini("C:\\W.ini");
    ini.WriteString("a", "X", "one");
    ini.WriteString("A", "new", "n");
    ini.WriteString("C", "z", QString::fromUtf8("é"));
    EXPECT_EQ(drive.ReadFile("w.ini"),
              "; keep me\r\n[A]\r\nX=one\r\nnew=n\r\n\r\n[B]\r\ny=2\r\nunrelated line\r\n"
              "[C]\r\nz=\xE9\r\n");
    // A second object sees the first one's writes.
    EXPECT_EQ(TIniFile("C:\\w.ini").ReadString("C", "z", ""), QString::fromUtf8("é"));
}

TEST(IniFile, WriteCreatesTheFileButNotItsFolder)
{
    TempDrive drive;
    TIniFile created("C:\\fresh.ini");
    created.WriteString("S", "k", "v");
    EXPECT_EQ(drive.ReadFile("fresh.ini"), "[S]\r\nk=v\r\n");

    TIniFile missing("C:\\NoFolder\\x.ini");
    EXPECT_THROW(missing.WriteString("S", "k", "v"), EIniFileException);
    EXPECT_FALSE(QFileInfo::exists(drive.Host("NoFolder")));
}

TEST(IniFile, ReadOnlyFileIsAnError)
{
    TempDrive drive;
    drive.WriteFile("ro.ini", "[S]\r\nk=old\r\n");
    drive.MakeReadOnly("ro.ini");
    TIniFile ini("C:\\ro.ini");
    EXPECT_THROW(ini.WriteString("S", "k", "new"), EIniFileException);
    EXPECT_EQ(ini.ReadString("S", "k", ""), "old");
}
