#include "SchemistWindow.h"

#include "CreationRun.h"
#include "Dialogs.h"
#include "FileSystem.h"
#include "FormatSettings.h"
#include "Messages.h"
#include "ProgramInfo.h"
#include "RootDirs.h"
#include "WinPath.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>

namespace zvo {

namespace {

constexpr int ClientWidth = 330;
constexpr int ClientHeight = 118;
constexpr int StatusHeight = 21;

// Marks a run under way, with the Action button disabled, for as long as it lives.
class TRunUnderWay {
public:
    TRunUnderWay(bool &processing, QWidget *button) : FProcessing(processing), FButton(button)
    {
        FProcessing = true;
        FButton->setEnabled(false);
    }
    ~TRunUnderWay()
    {
        FButton->setEnabled(true);
        FProcessing = false;
    }
    TRunUnderWay(const TRunUnderWay &) = delete;
    TRunUnderWay &operator=(const TRunUnderWay &) = delete;

private:
    bool &FProcessing;
    QWidget *FButton;
};

} // namespace

TfrmSchemist::TfrmSchemist(TdmSQLiteDB &dmSQLiteDB, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint),
      dmSQLiteDB(dmSQLiteDB)
{
    setObjectName("frmSchemist");
    setWindowTitle("Create / Import Data");
    QFont font("Segoe UI");
    font.setPixelSize(13);
    setFont(font);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
    setFixedSize(ClientWidth, ClientHeight);
    CreateControls();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
}

void TfrmSchemist::CreateControls()
{
    flxV12DBPath = new QLineEdit(this);
    flxV12DBPath->setObjectName("flxV12DBPath");
    flxV12DBPath->setGeometry(88, 22, 210, 25);

    flxV12DBPathLabel1 = new QLabel("V12 DB Path", this);
    flxV12DBPathLabel1->setObjectName("flxV12DBPathLabel1");
    flxV12DBPathLabel1->move(9, 26);
    flxV12DBPathLabel1->adjustSize();
    flxV12DBPathLabel1->setBuddy(flxV12DBPath);

    abtnDBPath = new QToolButton(this);
    abtnDBPath->setObjectName("abtnDBPath");
    abtnDBPath->setText("...");
    abtnDBPath->setGeometry(flxV12DBPath->geometry().right() + 2, 22, 21, 25);
    connect(abtnDBPath, &QToolButton::clicked, this, [this] { abtnDBPathClick(); });

    btnAction = new QPushButton("Action", this);
    btnAction->setObjectName("btnAction");
    btnAction->setGeometry(128, 57, 75, 25);
    connect(btnAction, &QPushButton::clicked, this, [this] { btnActionClick(); });

    sbarMain = new QStatusBar(this);
    sbarMain->setObjectName("sbarMain");
    sbarMain->setSizeGripEnabled(false);
    sbarMain->setGeometry(0, ClientHeight - StatusHeight, ClientWidth, StatusHeight);

    setTabOrder(flxV12DBPath, abtnDBPath);
    setTabOrder(abtnDBPath, btnAction);
}

void TfrmSchemist::FormCreate()
{
    // The process-wide formats are the family's fixed English ones, so months read
    // "Jan" to "Dec" whatever the user's regional settings.
    setWindowTitle("ZVO Create DBs   v" + ProgramVersionText() + "  "
                   + FormatDateTime("yyyy mmm dd  hh:nn", ProgramFileTime()));
}

void TfrmSchemist::abtnDBPathClick()
{
    if (TrimText(FDBPath).isEmpty())
        FDBPath = ZVODatabaseDir;
    if (!DirectoryExists(FDBPath))
        FDBPath.clear();
    TFolderRequest request;
    request.Caption = "Path to Databases (*.sbd)";
    request.AllowNewFolder = false;
    request.InitialFolder = FDBPath;
    request.ShowFiles = true;
    const std::optional<QString> folder = TDialogs::BrowseForFolder(request);
    if (!folder)
        return;
    flxV12DBPath->setText(IncludeTrailingBackslash(*folder));
    FDBPath = TrimText(flxV12DBPath->text());
}

void TfrmSchemist::btnActionClick()
{
    const QString path = TrimText(flxV12DBPath->text());
    if (path.isEmpty()) {
        ShowPlainMessage("No path specified");
        return;
    }
    FDBPath = IncludeTrailingBackslash(path);
    if (!DirectoryExists(FDBPath)) {
        ShowPlainMessage("Invalid directory");
        return;
    }
    try {
        DoCreateDBsAndTables();
    } catch (const std::exception &e) { // nothing may leave a Qt event handler
        ShowExceptionDlg(e);
    }
}

void TfrmSchemist::DoCreateDBsAndTables()
{
    // The run lets the window process messages at each status change: a second click
    // must not start a second run inside the first.
    const TRunUnderWay underWay(FProcessing, btnAction);
    TCreationRun(dmSQLiteDB, [this](const QString &text) { SetStatusText(text); })
        .Execute(FDBPath);
}

void TfrmSchemist::SetStatusText(const QString &text)
{
    sbarMain->showMessage(text);
    QCoreApplication::processEvents();
}

// Closing during a run would pull the session from under it.
void TfrmSchemist::closeEvent(QCloseEvent *event)
{
    if (FProcessing)
        event->ignore();
    else
        event->accept();
}

} // namespace zvo
