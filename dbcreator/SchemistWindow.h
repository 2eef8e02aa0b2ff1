#pragma once
// The database creator's window: a database folder, a browse button and the Action button
// that starts the creation run, with the run's status below.
#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QToolButton;

namespace zvo {

class TdmSQLiteDB;

class TfrmSchemist : public QWidget {
    Q_OBJECT
public:
    // The window uses the session data module for its runs; it does not own it.
    explicit TfrmSchemist(TdmSQLiteDB &dmSQLiteDB, QWidget *parent = nullptr);

    const QString &DBPath() const { return FDBPath; }

    void FormCreate();
    void abtnDBPathClick();
    void btnActionClick();
    void DoCreateDBsAndTables();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void CreateControls();
    void SetStatusText(const QString &text);

    TdmSQLiteDB &dmSQLiteDB;
    QString FDBPath;
    bool FProcessing = false;

    QLineEdit *flxV12DBPath = nullptr;
    QLabel *flxV12DBPathLabel1 = nullptr;
    QToolButton *abtnDBPath = nullptr;
    QPushButton *btnAction = nullptr;
    QStatusBar *sbarMain = nullptr;
};

} // namespace zvo
