#pragma once
// The installer's running log: time-stamped lines in the memo memConfirm, the whole memo
// written to the current log file after every line, the choice of confirmation and
// installation log names, and the offer to view the log.
#include "MemoDialog.h"

#include <QDateTime>
#include <QPointer>
#include <QString>
#include <functional>
#include <stdexcept>

class QPlainTextEdit;

namespace zvo {

// Writing the log file failed; nothing here catches it.
class ELogFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TInstallLog {
public:
    using TClock = std::function<QDateTime()>;

    // Creates LogDir with all missing parents (silently: later saves report the failure).
    // The memo stays the caller's; the log viewer is created as its child.
    TInstallLog(QPlainTextEdit *memConfirm, const QString &LogDir,
                TClock Clock = &QDateTime::currentDateTime);

    // The program's folder plus "LOGS\".
    static QString DefaultLogDir();

    const QString &FLogDir() const { return FLogDirValue; }
    const QString &FLogName() const { return FLogNameValue; }
    QPlainTextEdit *memConfirm() const { return FMemo; }
    TMemoDialog *mdlgLog() const { return FViewer; }

    void AddToLog(const QString &Text, bool AddDivider = false, bool AddBlankLine = false);
    void SaveLog();
    void SwitchLogFile(bool Install);
    void OfferLogView();

    // The line AddToLog makes of Text at the given time.
    static QString LogLine(const QString &Text, const QDateTime &time);
    // The memo as the file holds it: Windows-1252, CR LF after every line, no BOM.
    QByteArray FileBytes() const;

private:
    QPlainTextEdit *FMemo;
    QString FLogDirValue;
    QString FLogNameValue;
    TClock FClock;
    QPointer<TMemoDialog> FViewer;
};

} // namespace zvo
