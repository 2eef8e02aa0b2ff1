#include "FamilyFormats.h"
#include "FileSystem.h"
#include "Helpers.h"
#include "RootDirs.h"
#include "StringList.h"
#include "TempDrive.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace zvo;
using zvo::test::TempDrive;

TEST(Helpers, DeleteFilesTakesOnlyVisiblePlainFiles)
{
    TempDrive drive;
    drive.WriteFile("D/a.rc2", "a");
    drive.WriteFile("D/b.txt", "b");
    drive.WriteFile("D/.c.rc2", "c");
    drive.WriteFile("D/sub.rc2/inner.rc2", "d");
    DeleteFiles("C:\\D\\", "*.rc2");
    EXPECT_FALSE(QFileInfo::exists(drive.Host("D/a.rc2")));
    for (const char *kept : {"D/b.txt", "D/.c.rc2", "D/sub.rc2/inner.rc2"})
        EXPECT_TRUE(QFileInfo::exists(drive.Host(kept))) << kept;
    DeleteFiles("C:\\Missing\\", "*"); // nothing there, nothing happens
}

TEST(Helpers, MessageBoxesCarryTheirButtonsAndDefaults)
{
    TScriptedResponder script;
    script.Press("No").Press("Keep going").Press("OK");
    EXPECT_EQ(ShowMessageDlg("Log saved to \rX\r\rView it now", {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo},
                             TMsgDlgBtn::mbNo, TMsgDlgType::mtConfirmation),
              mrNo);
    EXPECT_EQ(ShowCaptionDlg("Go on?", {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}, TMsgDlgBtn::mbYes,
                             {"Keep going", "Stop"}),
              mrYes);
    ShowErrorDlg("Bad");
    ASSERT_EQ(script.Messages().size(), 3);
    EXPECT_EQ(script.Messages().at(0).Text, "Log saved to \nX\n\nView it now");
    EXPECT_EQ(script.Messages().at(0).DefaultButton, TMsgDlgBtn::mbNo);
    EXPECT_EQ(script.Messages().at(1).Kind, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(script.Messages().at(1).Captions, QStringList({"Keep going", "Stop"}));
    EXPECT_EQ(script.Messages().at(2).Kind, TMsgDlgType::mtError);
    EXPECT_EQ(script.Messages().at(2).Buttons, TMsgDlgButtons({TMsgDlgBtn::mbOK}));
    EXPECT_TRUE(script.Unexpected().isEmpty());
}

TEST(Helpers, CheckSSLLibrariesNeedsOnlyAProgramsFolder)
{
    ZVOProgramsDir = "  ";
    EXPECT_FALSE(CheckSSLLibraries());
    TempDrive drive;
    ZVOProgramsDir = "C:\\Programs\\"; // the libraries are not there: still true
    EXPECT_TRUE(CheckSSLLibraries());
    ZVOProgramsDir.clear();
}

TEST(Helpers, StringListsWriteNoByteOrderMark)
{
    TempDrive drive;
    auto list = NewStringList();
    EXPECT_EQ(list->Encoding, FamilyEncoding);
    *list << QString::fromUtf8("Zürich") << "";
    ASSERT_TRUE(list->SaveToFile("C:\\l.txt"));
    EXPECT_EQ(drive.ReadFile("l.txt"), "Z\xC3\xBCrich\r\n\r\n");
    auto back = NewStringList();
    ASSERT_TRUE(back->LoadFromFile("C:\\L.TXT"));
    EXPECT_EQ(*back, *list);
    drive.WriteFile("bom.txt", QByteArray("\xFF\xFE" "a\0\r\0\n\0b\0", 10));
    ASSERT_TRUE(back->LoadFromFile("C:\\bom.txt"));
    EXPECT_EQ(*back, QStringList({"a", "b"}));
    struct Case { QByteArray bytes; QStringList lines; };
    const Case cases[] = {{"", {}}, {"\r\n", {""}}, {"\n\n", {"", ""}}, {"a\rb", {"a", "b"}},
                          {"\xEF\xBB\xBF", {}}, {"\xEF\xBB\xBF\r\n", {""}}};
    for (const Case &c : cases) {
        drive.WriteFile("lines.txt", c.bytes);
        ASSERT_TRUE(back->LoadFromFile("C:\\lines.txt"));
        EXPECT_EQ(*back, c.lines) << c.bytes.toStdString();
    }
    EXPECT_FALSE(back->LoadFromFile("C:\\missing.txt"));
    EXPECT_FALSE(list->SaveToFile("C:\\NoFolder\\l.txt"));
}
