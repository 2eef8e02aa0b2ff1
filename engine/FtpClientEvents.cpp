#include "FtpClientEvents.h"

#include "FormatSettings.h"
#include "LogStrings.h"

#include <QCoreApplication>

namespace zvo {

namespace {

constexpr qint64 kMB = 1024000;
constexpr qint64 kPanelPeriodMB = 5;
// 0.21 MB in bytes, exactly, so the edge of the window does not depend on rounding.
constexpr qint64 kPanelWindowBytes = kMB * 21 / 100;

} // namespace

TFtpClientEvents::TFtpClientEvents(TFtpClient &IdFTPDL, TTextSink pnlStats, TAbortFlag Abort,
                                   TAddToLog AddToLog)
    : FClient(IdFTPDL), FStats(std::move(pnlStats)), FAbort(std::move(Abort)),
      FAddToLog(std::move(AddToLog))
{
    FClient.OnWork = [this](qint64 count) { IdFTPDLWork(count); };
    FClient.OnDisconnected = [this] { ServerDisconnected(); };
}

TFtpClientEvents::~TFtpClientEvents()
{
    FClient.OnWork = nullptr;
    FClient.OnDisconnected = nullptr;
}

bool TFtpClientEvents::PanelUpdateDue(qint64 AWorkCount)
{
    return (AWorkCount / kMB) % kPanelPeriodMB == 0 && AWorkCount % kMB <= kPanelWindowBytes;
}

QString TFtpClientEvents::PanelText(const QString &XferPreString, qint64 AWorkCount)
{
    return XferPreString + ' '
         + FormatFloat(QStringLiteral("####0.00"), double(AWorkCount) / double(kMB))
         + QStringLiteral(" MB");
}

void TFtpClientEvents::IdFTPDLWork(qint64 AWorkCount)
{
    if (PanelUpdateDue(AWorkCount)) {
        if (FStats)
            FStats(PanelText(XferPreString, AWorkCount));
        QCoreApplication::processEvents(); // where a click on Stop is taken during a download
    }
    if (FAbort && FAbort())
        FClient.Abort();
}

void TFtpClientEvents::ServerDisconnected()
{
    if (FAddToLog) {
        FAddToLog(Divider, false, false);
        FAddToLog(QStringLiteral("FTP connection closed"), false, false);
    }
    QCoreApplication::processEvents();
}

} // namespace zvo
