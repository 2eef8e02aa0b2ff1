#include "FtpListing.h"

#include <QRegularExpression>

namespace zvo {

namespace {

struct Token {
    qsizetype start;
    qsizetype end; // one past the last character
};

QList<Token> tokenize(const QString &line)
{
    QList<Token> tokens;
    qsizetype i = 0;
    while (i < line.size()) {
        while (i < line.size() && line.at(i).isSpace())
            ++i;
        const qsizetype start = i;
        while (i < line.size() && !line.at(i).isSpace())
            ++i;
        if (i > start)
            tokens.append({start, i});
    }
    return tokens;
}

QString text(const QString &line, const Token &t)
{
    return line.mid(t.start, t.end - t.start);
}

bool isMonth(const QString &s)
{
    static const QStringList months{"jan", "feb", "mar", "apr", "may", "jun",
                                    "jul", "aug", "sep", "oct", "nov", "dec"};
    return months.contains(s.toLower());
}

bool isUnsigned(const QString &s)
{
    static const QRegularExpression re(QStringLiteral("^[0-9]+$"));
    return re.match(s).hasMatch();
}

bool isDay(const QString &s)
{
    return isUnsigned(s) && s.size() <= 2 && s.toInt() >= 1 && s.toInt() <= 31;
}

// "drwxr-xr-x 2 owner group 4096 Dec 11 12:50 name" and the variants without group or
// owner: the size comes right before the month, the name after one blank that follows
// the time or year, so names keep their own leading blanks.
bool parseUnixLine(const QString &line, TFtpListItem &item)
{
    static const QRegularExpression perms(QStringLiteral("^[-dlcbps][-rwxsStTlL]{9}"));
    static const QRegularExpression timeOrYear(QStringLiteral("^([0-9]{1,2}:[0-9]{2}|[0-9]{4})$"));
    const QList<Token> t = tokenize(line);
    if (t.size() < 6 || !perms.match(text(line, t.at(0))).hasMatch())
        return false;
    for (int m = 2; m + 2 < t.size(); ++m) {
        if (!isMonth(text(line, t.at(m))) || !isUnsigned(text(line, t.at(m - 1)))
            || !isDay(text(line, t.at(m + 1)))
            || !timeOrYear.match(text(line, t.at(m + 2))).hasMatch())
            continue;
        QString name = line.mid(t.at(m + 2).end + 1);
        const QChar kind = line.at(t.at(0).start);
        if (kind == 'l') {
            const qsizetype arrow = name.indexOf(QStringLiteral(" -> "));
            if (arrow >= 0)
                name.truncate(arrow);
        }
        item.FileName = name;
        item.ItemType = kind == 'd' ? TFtpItemType::Directory
                      : kind == '-' ? TFtpItemType::File : TFtpItemType::Other;
        item.Size = text(line, t.at(m - 1)).toLongLong();
        return true;
    }
    return false;
}

// "12-11-26  01:02PM       <DIR>          Name" and "12-11-2026  01:02PM   1234 file.zip":
// a file's name follows its size after one blank.
bool parseDosLine(const QString &line, TFtpListItem &item)
{
    static const QRegularExpression date(QStringLiteral("^[0-9]{2}-[0-9]{2}-([0-9]{2}|[0-9]{4})$"));
    static const QRegularExpression time(
        QStringLiteral("^[0-9]{1,2}:[0-9]{2}([AaPp][Mm])?$"));
    const QList<Token> t = tokenize(line);
    if (t.size() < 4 || !date.match(text(line, t.at(0))).hasMatch()
        || !time.match(text(line, t.at(1))).hasMatch())
        return false;
    const QString field = text(line, t.at(2));
    if (field.compare(QStringLiteral("<DIR>"), Qt::CaseInsensitive) == 0) {
        item.FileName = line.mid(t.at(3).start);
        item.ItemType = TFtpItemType::Directory;
        item.Size = -1;
        return true;
    }
    if (!isUnsigned(field))
        return false;
    item.FileName = line.mid(t.at(2).end + 1);
    item.ItemType = TFtpItemType::File;
    item.Size = field.toLongLong();
    return true;
}

} // namespace

bool IsSafeEntryName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name)
        if (c == '/' || c == '\\' || c.unicode() < 32 || c.unicode() == 127)
            return false;
    return true;
}

bool ParseMlsdLine(const QString &line, TFtpListItem &item)
{
    const qsizetype blank = line.indexOf(' ');
    if (blank <= 0)
        return false;
    item = TFtpListItem();
    item.FileName = line.mid(blank + 1);
    QString type;
    for (const QString &fact : line.left(blank).split(';', Qt::SkipEmptyParts)) {
        const qsizetype eq = fact.indexOf('=');
        const QString key = fact.left(eq).toLower();
        const QString value = fact.mid(eq + 1);
        if (key == QLatin1String("type"))
            type = value.toLower();
        else if (key == QLatin1String("size") && isUnsigned(value))
            item.Size = value.toLongLong();
    }
    if (type == QLatin1String("cdir") || type == QLatin1String("pdir"))
        return false; // the folder itself and its parent
    item.ItemType = type == QLatin1String("file") ? TFtpItemType::File
                  : type == QLatin1String("dir") ? TFtpItemType::Directory
                                                 : TFtpItemType::Other;
    return true;
}

bool ParseListLine(const QString &line, TFtpListItem &item)
{
    item = TFtpListItem();
    return parseUnixLine(line, item) || parseDosLine(line, item);
}

TFtpListing ParseListing(const QByteArray &raw, bool mlsd)
{
    TFtpListing listing;
    for (QByteArray bytes : raw.split('\n')) {
        if (bytes.endsWith('\r'))
            bytes.chop(1);
        const QString line = QString::fromUtf8(bytes);
        TFtpListItem item;
        if (line.isEmpty() || !(mlsd ? ParseMlsdLine(line, item) : ParseListLine(line, item)))
            continue;
        if (item.FileName == QLatin1String(".") || item.FileName == QLatin1String(".."))
            continue;
        if (IsSafeEntryName(item.FileName))
            listing.Items.append(item);
        else
            listing.RefusedNames.append(item.FileName);
    }
    return listing;
}

} // namespace zvo
