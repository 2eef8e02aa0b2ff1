#pragma once
// Directory listings of the download server: MLSD lines where the server has them, else LIST
// lines in the Unix "ls -l" or the DOS/IIS style. Callers join entry names to local folders,
// so a name that could point anywhere else is refused here.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace zvo {

enum class TFtpItemType { File, Directory, Other };

struct TFtpListItem {
    QString FileName;
    TFtpItemType ItemType = TFtpItemType::File;
    qint64 Size = -1; // bytes; -1 when the listing does not say
};

struct TFtpListing {
    QList<TFtpListItem> Items;    // in the server's order, without "." and ".."
    QStringList RefusedNames;     // entries left out because their names are unsafe
};

// A name that stays inside whatever folder it is joined to: not empty, not "." or "..",
// no "/" or "\" and no control characters.
bool IsSafeEntryName(const QString &name);

// One MLSD line ("type=file;size=12; name"). False for lines that are no entry.
bool ParseMlsdLine(const QString &line, TFtpListItem &item);
// One LIST line, Unix or DOS style. False for lines that are no entry ("total 12").
bool ParseListLine(const QString &line, TFtpListItem &item);

// The raw listing (UTF-8, CR LF or LF) as entries.
TFtpListing ParseListing(const QByteArray &raw, bool mlsd);

} // namespace zvo
