#pragma once
// The database creator's start-up and end: the session data module first, then the window;
// at the end the window goes first and the data module closes the session after it.
#include <memory>

namespace zvo {

class TdmSQLiteDB;
class TfrmSchemist;

class TSchemistApp {
public:
    TSchemistApp();
    ~TSchemistApp();

    // Opens the session (an error is shown and start-up goes on) and shows the window.
    void Start();
    // Destroys the window, then closes the session (an error is shown).
    void Finish();
    // Start, the message loop until the window is closed, Finish.
    int Run();

    TdmSQLiteDB *dmSQLiteDB() const { return FdmSQLiteDB.get(); }
    TfrmSchemist *frmSchemist() const { return FfrmSchemist.get(); }

private:
    std::unique_ptr<TdmSQLiteDB> FdmSQLiteDB;
    std::unique_ptr<TfrmSchemist> FfrmSchemist;
};

} // namespace zvo
