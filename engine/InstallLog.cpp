#include "InstallLog.h"

#include "CodePage.h"
#include "FileSystem.h"
#include "FormatSettings.h"
#include "Helpers.h"
#include "LogStrings.h"
#include "MemoDialog.h"
#include "WinPath.h"

#include <QPlainTextEdit>
#include <QSaveFile>

namespace zvo {

TInstallLog::TInstallLog(QPlainTextEdit *memConfirm, const QString &LogDir, TClock Clock)
    : FMemo(memConfirm), FLogDirValue(IncludeTrailingBackslash(LogDir)), FClock(std::move(Clock))
{
    ForceDirectories(FLogDirValue);
    FViewer = new TMemoDialog(memConfirm, QStringLiteral("mdlgLog"),
                              QStringLiteral("Installation Log"));
}

QString TInstallLog::DefaultLogDir()
{
    return IncludeTrailingBackslash(ProgramDir()) + QStringLiteral("LOGS\\");
}

QString TInstallLog::LogLine(const QString &Text, const QDateTime &time)
{
    if (TrimText(Text).isEmpty())
        return SP3;
    return SP3 + FormatDateTime(QStringLiteral("hh:mm:ss"), time) + SP3 + Text;
}

void TInstallLog::AddToLog(const QString &Text, bool AddDivider, bool AddBlankLine)
{
    FMemo->appendPlainText(LogLine(Text, FClock()));
    if (AddDivider)
        FMemo->appendPlainText(SP3 + Divider);
    if (AddBlankLine)
        FMemo->appendPlainText(QString());
    // Now, not at the next turn of the event loop: a run keeps the thread busy.
    FMemo->viewport()->repaint();
    SaveLog();
}

QByteArray TInstallLog::FileBytes() const
{
    if (FMemo->document()->isEmpty())
        return QByteArray();
    QByteArray bytes;
    for (const QString &line : FMemo->toPlainText().split('\n'))
        bytes += StringToAnsi(line) + "\r\n";
    return bytes;
}

void TInstallLog::SaveLog()
{
    const QByteArray bytes = FileBytes();
    const QString host = HostPath(FLogNameValue);
    QSaveFile f(host);
    if (host.isEmpty() || !f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()
        || !f.commit())
        throw ELogFileError(
            QStringLiteral("Cannot write the log file %1").arg(FLogNameValue).toStdString());
}

void TInstallLog::SwitchLogFile(bool Install)
{
    if (!FMemo->document()->isEmpty())
        SaveLog();
    const QString kind = Install ? QStringLiteral("InstallLog_") : QStringLiteral("ConfirmationLog_");
    FLogNameValue = FLogDirValue + kind + FormatDateTime(QStringLiteral("yyyy-mm-dd_hhnn"), FClock())
                  + QStringLiteral(".txt");
}

void TInstallLog::OfferLogView()
{
    const TModalResult answer =
        ShowMessageDlg(QStringLiteral("Log saved to \r") + FLogNameValue + QStringLiteral("\r\rView it now"),
                       {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}, TMsgDlgBtn::mbNo,
                       TMsgDlgType::mtConfirmation);
    if (answer != mrYes)
        return;
    SaveLog();
    FViewer->Clear();
    FViewer->LoadFromFile(FLogNameValue);
    FViewer->Execute();
}

} // namespace zvo
