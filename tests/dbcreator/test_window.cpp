#include "DBCreatorFixture.h"
#include "FamilyFormats.h"
#include "FormatSettings.h"
#include "ProgramInfo.h"
#include "SchemistWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

using namespace zvo;
using namespace zvo::test;

using dbcreator_Window = TSchemistTest;

TEST_F(dbcreator_Window, StartsWithItsCaptionControlsAndSession)
{
    // Start-up fixes the formats whatever the user's regional settings are.
    FormatSettings() = TFormatSettings::Create("de-DE");
    InitFamilyFormats();
    MakeFolder("ZVOV12/Databases");
    Start();

    QWidget *w = Window();
    ASSERT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(),
              "ZVO Create DBs   v12.0.0.0  "
                  + QLocale::c().toString(ProgramFileTime(), "yyyy MMM dd  hh:mm"));
    EXPECT_EQ(w->size(), QSize(330, 118));
    EXPECT_EQ(w->minimumSize(), w->maximumSize());

    auto *field = Control<QLineEdit>(w, "flxV12DBPath");
    auto *label = Control<QLabel>(w, "flxV12DBPathLabel1");
    auto *browse = Control<QToolButton>(w, "abtnDBPath");
    auto *action = Control<QPushButton>(w, "btnAction");
    auto *status = Control<QStatusBar>(w, "sbarMain");
    ASSERT_TRUE(field && label && browse && action && status);
    EXPECT_EQ(field->geometry(), QRect(88, 22, 210, 25));
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_EQ(label->text(), "V12 DB Path");
    EXPECT_EQ(label->pos(), QPoint(9, 26));
    EXPECT_EQ(label->buddy(), field);
    EXPECT_EQ(browse->geometry(), QRect(299, 22, 21, 25));
    EXPECT_EQ(action->text(), "Action");
    EXPECT_EQ(action->geometry(), QRect(128, 57, 75, 25));
    EXPECT_EQ(status->geometry(), QRect(0, 97, 330, 21));
    const auto nextTabStop = [](QWidget *from) {
        QWidget *next = from->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus))
            next = next->nextInFocusChain();
        return next;
    };
    EXPECT_EQ(nextTabStop(field), browse);
    EXPECT_EQ(nextTabStop(browse), action);

    EXPECT_EQ(DatabaseNames(Session()).size(), 11);
    EXPECT_TRUE(Dialogs.Messages().isEmpty());
}

TEST_F(dbcreator_Window, StartUpErrorIsShownOnceAndTheWindowStillOpens)
{
    Dialogs.Press("OK");
    Start();

    ASSERT_EQ(Dialogs.Messages().size(), 1);
    EXPECT_EQ(Dialogs.Messages().first().Kind, TMsgDlgType::mtError);
    EXPECT_TRUE(Dialogs.MessageTexts().first().contains("unable to open database file"));
    EXPECT_TRUE(Dialogs.MessageTexts().first().contains(DefaultDBDir() + "asteroids.sdb"));
    EXPECT_TRUE(Window()->isVisible());
}

TEST_F(dbcreator_Window, ActionChecksThePathBeforeAnyRun)
{
    MakeFolder("ZVOV12/Databases");
    MakeFolder("Data");
    Start();
    struct Case {
        const char *text;
        const char *message;
    };
    const Case cases[] = {
        {"", "No path specified"},
        {" \t  ", "No path specified"},
        {"C:\\Nope", "Invalid directory"},
        {"C:\\Data\\file.txt", "Invalid directory"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const qsizetype before = Dialogs.Messages().size();
        Dialogs.Press("OK");
        RunOn(c.text);
        ASSERT_EQ(Dialogs.Messages().size(), before + 1);
        EXPECT_EQ(Dialogs.Messages().last().Text, c.message);
        EXPECT_EQ(Dialogs.Messages().last().Buttons, TMsgDlgButtons{TMsgDlgBtn::mbOK});
    }
    EXPECT_TRUE(StatusText().isEmpty());
    EXPECT_EQ(DatabaseNames(Session()).size(), 11); // no run started
}

TEST_F(dbcreator_Window, ActionAddsTheDelimiterToAnExistingFolder)
{
    MakeFolder("ZVOV12/Databases");
    MakeFolder("Data");
    Start();
    Dialogs.Press("OK");
    RunOn("  C:\\Data ");

    EXPECT_EQ(static_cast<TfrmSchemist *>(Window())->DBPath(), "C:\\Data\\");
    EXPECT_EQ(Dialogs.MessageTexts(),
              QStringList{"The file ZVOV12_DBs.txt is not in the CreateDBTables subdirectory"});
}

TEST_F(dbcreator_Window, BrowseStartsAtAKnownFolderAndCancelKeepsTheField)
{
    MakeFolder("ZVOV12/Databases");
    Start();
    auto *field = Control<QLineEdit>(Window(), "flxV12DBPath");
    ASSERT_TRUE(field);

    Dialogs.PickFolder("C:\\Picked");
    Click("abtnDBPath");
    ASSERT_EQ(Dialogs.FolderRequests().size(), 1);
    const TFolderRequest first = Dialogs.FolderRequests().at(0);
    EXPECT_EQ(first.Caption, "Path to Databases (*.sbd)");
    EXPECT_FALSE(first.AllowNewFolder);
    EXPECT_TRUE(first.ShowFiles);
    EXPECT_EQ(first.InitialFolder, DefaultDBDir()); // the root directory set's folder
    EXPECT_EQ(field->text(), "C:\\Picked\\");
    EXPECT_EQ(static_cast<TfrmSchemist *>(Window())->DBPath(), "C:\\Picked\\");

    // The picked folder does not exist, so the next browse starts with none; Cancel leaves
    // the field as it was.
    field->setText("C:\\Typed\\");
    Dialogs.CancelFolder();
    Click("abtnDBPath");
    ASSERT_EQ(Dialogs.FolderRequests().size(), 2);
    EXPECT_TRUE(Dialogs.FolderRequests().at(1).InitialFolder.isEmpty());
    EXPECT_EQ(field->text(), "C:\\Typed\\");
}

TEST_F(dbcreator_Window, BrowseWithoutADatabaseFolderStartsWithNone)
{
    Dialogs.Press("OK"); // the session cannot open
    Start();
    Dialogs.CancelFolder();
    Click("abtnDBPath");
    ASSERT_EQ(Dialogs.FolderRequests().size(), 1);
    EXPECT_TRUE(Dialogs.FolderRequests().first().InitialFolder.isEmpty());
}
