// The installation log: its line format, the file's exact bytes after every line, the log
// file names and the offer to view the log.
#include "Dialogs.h"
#include "FamilyFormats.h"
#include "InstallLog.h"
#include "LogStrings.h"
#include "MemoDialog.h"
#include "TempDrive.h"

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QTimer>
#include <gtest/gtest.h>

using namespace zvo;

class InstallLog : public ::testing::Test {
protected:
    void SetUp() override { InitFamilyFormats(); }

    QStringList Lines() const { return FMemo.toPlainText().split('\n'); }
    QStringList LogFiles() const { return QDir(FDrive.Host("LOGS")).entryList(QDir::Files); }

    test::TempDrive FDrive;
    QPlainTextEdit FMemo;
    QDateTime FNow{QDate(2024, 3, 5), QTime(9, 5, 1)};
    TInstallLog FLog{&FMemo, "C:\\LOGS", [this] { return FNow; }};
};

TEST_F(InstallLog, LinesCarryTheTimeAndKeepTheTextAsGiven)
{
    struct Case {
        QString text;
        bool divider, blank;
        QStringList lines;
    };
    const QString stamp = "   09:05:01   ";
    const Case cases[] = {
        {"", false, false, {"   "}},
        {" \t\r ", false, false, {"   "}},
        {"   x", false, false, {stamp + "   x"}},
        {"INSTALLATION STARTED", true, true, {stamp + "INSTALLATION STARTED", SP3 + Divider, ""}},
        {"", true, false, {"   ", SP3 + Divider}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        FMemo.clear();
        FLog.SwitchLogFile(false);
        FLog.AddToLog(c.text, c.divider, c.blank);
        EXPECT_EQ(Lines(), c.lines);
    }
    EXPECT_EQ(Divider, QString(60, '*'));
}

TEST_F(InstallLog, TheFileHoldsTheWholeMemoAfterEveryLine)
{
    FLog.SwitchLogFile(true);
    EXPECT_EQ(FLog.FLogDir(), "C:\\LOGS\\");
    EXPECT_EQ(FLog.FLogName(), "C:\\LOGS\\InstallLog_2024-03-05_0905.txt");
    const QString file = "LOGS/InstallLog_2024-03-05_0905.txt";

    FLog.AddToLog("INSTALLATION STARTED", true, false);
    EXPECT_EQ(FDrive.ReadFile(file),
              "   09:05:01   INSTALLATION STARTED\r\n   " + QByteArray(60, '*') + "\r\n");
    FNow = FNow.addSecs(3);
    FLog.AddToLog(SP6 + QString::fromUtf8("Café.zip extracted"), false, true);
    FLog.AddToLog("");
    EXPECT_EQ(FDrive.ReadFile(file),
              "   09:05:01   INSTALLATION STARTED\r\n"
              "   " + QByteArray(60, '*') + "\r\n"
              "   09:05:04         Caf\xe9.zip extracted\r\n"
              "\r\n"
              "   \r\n");
    EXPECT_EQ(LogFiles(), QStringList({"InstallLog_2024-03-05_0905.txt"}));
}

TEST_F(InstallLog, SwitchingSavesTheMemoUnderTheOldNameFirst)
{
    FLog.SwitchLogFile(false); // empty memo: a name only, no file
    EXPECT_EQ(FLog.FLogName(), "C:\\LOGS\\ConfirmationLog_2024-03-05_0905.txt");
    EXPECT_TRUE(LogFiles().isEmpty());

    FMemo.setPlainText("Summary line");
    FNow = FNow.addSecs(30); // same minute: the same name
    FLog.SwitchLogFile(false);
    EXPECT_EQ(FLog.FLogName(), "C:\\LOGS\\ConfirmationLog_2024-03-05_0905.txt");
    FNow = QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59));
    FLog.SwitchLogFile(true);
    EXPECT_EQ(FLog.FLogName(), "C:\\LOGS\\InstallLog_2024-12-31_2359.txt");
    EXPECT_EQ(FDrive.ReadFile("LOGS/ConfirmationLog_2024-03-05_0905.txt"), "Summary line\r\n");
    EXPECT_EQ(LogFiles(), QStringList({"ConfirmationLog_2024-03-05_0905.txt"}));

    FMemo.clear();
    FLog.SaveLog(); // an empty memo still writes its (empty) file
    EXPECT_EQ(FDrive.ReadFile("LOGS/InstallLog_2024-12-31_2359.txt"), "");
}

TEST_F(InstallLog, AFailedWriteRaises)
{
    FDrive.WriteFile("NotAFolder", "x");
    QPlainTextEdit memo;
    TInstallLog log(&memo, "C:\\NotAFolder\\LOGS\\", [this] { return FNow; });
    log.SwitchLogFile(false);
    EXPECT_THROW(log.AddToLog("line"), ELogFileError);
    EXPECT_EQ(memo.toPlainText(), "   09:05:01   line"); // the memo still shows it
}

TEST_F(InstallLog, OfferLogViewShowsTheSavedFileOnYes)
{
    FLog.SwitchLogFile(true);
    FLog.AddToLog("first");

    TScriptedResponder no;
    no.Press("No");
    FLog.OfferLogView();
    ASSERT_EQ(no.MessageTexts().size(), 1);
    EXPECT_EQ(no.MessageTexts().at(0),
              "Log saved to \nC:\\LOGS\\InstallLog_2024-03-05_0905.txt\n\nView it now");
    EXPECT_EQ(no.Messages().at(0).DefaultButton, TMsgDlgBtn::mbNo);
    EXPECT_EQ(no.Messages().at(0).Kind, TMsgDlgType::mtConfirmation);

    FMemo.appendPlainText("a line the file does not have yet");
    TScriptedResponder yes;
    yes.Press("Yes");
    QString shown, caption, name;
    bool readOnly = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<TMemoDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        name = dialog->objectName();
        caption = dialog->windowTitle();
        shown = dialog->Text();
        readOnly = dialog->Memo()->isReadOnly();
        dialog->reject();
    });
    FLog.OfferLogView();
    EXPECT_TRUE(yes.Unexpected().isEmpty());
    EXPECT_EQ(name, "mdlgLog");
    EXPECT_EQ(caption, "Installation Log");
    EXPECT_TRUE(readOnly);
    EXPECT_EQ(shown, "   09:05:01   first\na line the file does not have yet");
}
