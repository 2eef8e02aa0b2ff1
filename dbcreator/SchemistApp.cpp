#include "SchemistApp.h"

#include "Messages.h"
#include "SQLiteDB.h"
#include "SchemistWindow.h"

#include <QApplication>

namespace zvo {

TSchemistApp::TSchemistApp() = default;

TSchemistApp::~TSchemistApp()
{
    Finish();
}

void TSchemistApp::Start()
{
    FdmSQLiteDB = std::make_unique<TdmSQLiteDB>();
    try {
        FdmSQLiteDB->DataModuleCreate();
    } catch (const std::exception &e) {
        ShowExceptionDlg(e); // the window still opens and can start a run
    }
    FfrmSchemist = std::make_unique<TfrmSchemist>(*FdmSQLiteDB);
    FfrmSchemist->show();
}

void TSchemistApp::Finish()
{
    FfrmSchemist.reset();
    if (!FdmSQLiteDB)
        return;
    try {
        FdmSQLiteDB->DataModuleDestroy();
    } catch (const std::exception &e) {
        ShowExceptionDlg(e);
    }
    FdmSQLiteDB.reset();
}

int TSchemistApp::Run()
{
    Start();
    const int result = QApplication::exec();
    Finish();
    return result;
}

} // namespace zvo
