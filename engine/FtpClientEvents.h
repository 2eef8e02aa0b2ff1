#pragma once
// The installer window's handlers of the download client's events: the progress shown in
// the status panel (with the Stop check) and the log lines of a closed connection. The
// window plugs in its panel, its Abort flag and its log.
#include "FtpClient.h"
#include "FtpListing.h"

#include <QString>
#include <functional>

namespace zvo {

class TFtpClientEvents {
public:
    using TTextSink = std::function<void(const QString &text)>;
    using TAbortFlag = std::function<bool()>;
    using TAddToLog = std::function<void(const QString &Text, bool AddDivider, bool AddBlankLine)>;

    // Hooks itself to the client's events for its own lifetime.
    TFtpClientEvents(TFtpClient &IdFTPDL, TTextSink pnlStats, TAbortFlag Abort,
                     TAddToLog AddToLog);
    ~TFtpClientEvents();
    TFtpClientEvents(const TFtpClientEvents &) = delete;
    TFtpClientEvents &operator=(const TFtpClientEvents &) = delete;

    QString XferPreString;  // put before the byte count in the panel
    double CurFileSize = 0; // size of the file being fetched, 0 outside a download
    TFtpListItem LI;        // the listing entry being processed

    // Every 5 MB (of 1 024 000 bytes), for the first 0.21 MB of it, the panel shows the count
    // and pending input is processed; a set Abort stops the transfer on every call.
    void IdFTPDLWork(qint64 AWorkCount);
    void ServerDisconnected();

    // Whether a count falls in the panel's update window (the whole MB a multiple of 5,
    // the fraction at most 0.21 MB).
    static bool PanelUpdateDue(qint64 AWorkCount);
    static QString PanelText(const QString &XferPreString, qint64 AWorkCount);

private:
    TFtpClient &FClient;
    TTextSink FStats;
    TAbortFlag FAbort;
    TAddToLog FAddToLog;
};

} // namespace zvo
