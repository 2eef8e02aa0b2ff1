#include "WinPath.h"

#include <QRegularExpression>

namespace zvo {

QString TrimText(const QString &s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s.at(b).unicode() <= 0x20)
        ++b;
    while (e > b && s.at(e - 1).unicode() <= 0x20)
        --e;
    return s.mid(b, e - b);
}

bool SameText(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString IncludeTrailingBackslash(const QString &path)
{
    return path.endsWith('\\') ? path : path + '\\';
}

QString ExcludeTrailingBackslash(const QString &path)
{
    QString p = path;
    while (p.endsWith('\\'))
        p.chop(1);
    return p;
}

static qsizetype lastSeparator(const QString &path)
{
    return std::max(path.lastIndexOf('\\'), path.lastIndexOf(':'));
}

QString ExtractFilePath(const QString &path)
{
    return path.left(lastSeparator(path) + 1);
}

QString ExtractFileDir(const QString &path)
{
    const qsizetype i = lastSeparator(path);
    if (i < 0)
        return QString();
    if (i == 2 && path.at(1) == ':') // "C:\x" keeps its root
        return path.left(3);
    if (path.at(i) == ':')
        return path.left(i + 1);
    return path.left(i);
}

QString ExtractFileName(const QString &path)
{
    return path.mid(lastSeparator(path) + 1);
}

bool IsDriveRoot(const QString &dir)
{
    return dir.size() <= 3 && dir.size() >= 2 && dir.at(1) == ':'
        && (dir.size() == 2 || dir.at(2) == '\\');
}

QString ParentDir(const QString &dir)
{
    const QString d = ExcludeTrailingBackslash(dir);
    if (IsDriveRoot(d))
        return IncludeTrailingBackslash(d);
    const qsizetype i = d.lastIndexOf('\\');
    if (i < 0)
        return IncludeTrailingBackslash(d);
    return d.left(i + 1);
}

QString JoinPath(const QString &dir, const QString &name)
{
    QString n = name;
    while (n.startsWith('\\'))
        n.remove(0, 1);
    return IncludeTrailingBackslash(dir) + n;
}

bool MatchesMask(const QString &name, const QString &mask)
{
    if (mask == "*" || mask == "*.*")
        return true;
    QString re;
    for (const QChar c : mask) {
        if (c == '*')
            re += ".*";
        else if (c == '?')
            re += '.';
        else
            re += QRegularExpression::escape(QString(c));
    }
    const QRegularExpression rx(QRegularExpression::anchoredPattern(re),
                                QRegularExpression::CaseInsensitiveOption);
    return rx.match(name).hasMatch();
}

} // namespace zvo
