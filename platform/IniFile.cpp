#include "IniFile.h"

#include "CodePage.h"
#include "FileSystem.h"
#include "FormatSettings.h"
#include "WinPath.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zvo {

TIniFile::TIniFile(const QString &fileName, const QString &hostPath)
    : FFileName(fileName), FHostPath(hostPath)
{
}

TIniFile::TIniFile(const QString &winPath) : TIniFile(winPath, HostPath(winPath)) {}

TIniFile TIniFile::FromHostPath(const QString &hostPath)
{
    return TIniFile(hostPath, hostPath);
}

TIniFile::Line TIniFile::ParseLine(const QString &text)
{
    Line line;
    line.text = text;
    const QString t = TrimText(text);
    if (t.startsWith('[')) {
        const qsizetype close = t.indexOf(']');
        line.isHeader = true;
        line.section = TrimText(t.mid(1, close < 0 ? -1 : close - 1));
        return line;
    }
    const qsizetype eq = t.indexOf('=');
    if (eq > 0 && !t.startsWith(';')) {
        line.isKey = true;
        line.key = TrimText(t.left(eq));
    }
    return line;
}

// The file is read again whenever it changed on disk since the last read, so one object sees
// the writes of another, as with the profile API.
void TIniFile::Load() const
{
    const QFileInfo fi(FHostPath);
    const qint64 size = fi.exists() ? fi.size() : -1;
    const QDateTime stamp = fi.exists() ? fi.lastModified() : QDateTime();
    if (size == FLoadedSize && stamp == FLoadedStamp)
        return;
    FLines.clear();
    FLoadedSize = size;
    FLoadedStamp = stamp;
    QFile f(FHostPath);
    if (FHostPath.isEmpty() || !f.open(QIODevice::ReadOnly))
        return;
    QString text = AnsiToString(f.readAll());
    text.replace("\r\n", "\n").replace('\r', '\n');
    if (text.endsWith('\n'))
        text.chop(1);
    if (text.isEmpty() && size == 0)
        return;
    for (const QString &l : text.split('\n'))
        FLines << ParseLine(l);
}

void TIniFile::Save()
{
    QByteArray bytes;
    for (const Line &l : FLines)
        bytes += StringToAnsi(l.text) + "\r\n";
    const QFileInfo fi(FHostPath);
    QSaveFile f(FHostPath);
    if (FHostPath.isEmpty() || (fi.exists() && !fi.isWritable()) || !f.open(QIODevice::WriteOnly)
        || f.write(bytes) != bytes.size() || !f.commit()) {
        // The change did not reach the file: forget it, so reads show the file as it is.
        FLines.clear();
        FLoadedSize = -2;
        throw EIniFileException(QString("Unable to write to %1").arg(FFileName).toStdString());
    }
    const QFileInfo saved(FHostPath);
    FLoadedSize = saved.size();
    FLoadedStamp = saved.lastModified();
}

int TIniFile::FindSection(const QString &section) const
{
    const QString name = TrimText(section);
    for (int i = 0; i < FLines.size(); ++i)
        if (FLines.at(i).isHeader && SameText(FLines.at(i).section, name))
            return i;
    return -1;
}

int TIniFile::SectionEnd(int h) const
{
    int i = h + 1;
    while (i < FLines.size() && !FLines.at(i).isHeader)
        ++i;
    return i;
}

int TIniFile::FindKey(int h, const QString &key) const
{
    const QString name = TrimText(key);
    const int end = SectionEnd(h);
    for (int i = h + 1; i < end; ++i)
        if (FLines.at(i).isKey && SameText(FLines.at(i).key, name))
            return i;
    return -1;
}

QString TIniFile::ReadString(const QString &section, const QString &key,
                             const QString &def) const
{
    Load();
    const int h = FindSection(section);
    const int k = h < 0 ? -1 : FindKey(h, key);
    if (k < 0)
        return def.left(MaxValueLength);
    const QString &text = FLines.at(k).text;
    QString value = TrimText(text.mid(text.indexOf('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value.left(MaxValueLength);
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int def) const
{
    qint64 v = 0;
    return TryStrToInt(ReadString(section, key, QString()), v) ? static_cast<int>(v) : def;
}

bool TIniFile::ReadBool(const QString &section, const QString &key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

QStringList TIniFile::ReadSections() const
{
    Load();
    QStringList names;
    for (const Line &l : FLines)
        if (l.isHeader && !names.contains(l.section, Qt::CaseInsensitive))
            names << l.section;
    return names;
}

QStringList TIniFile::ReadSection(const QString &section) const
{
    Load();
    QStringList keys;
    const int h = FindSection(section);
    if (h < 0)
        return keys;
    const int end = SectionEnd(h);
    for (int i = h + 1; i < end; ++i)
        if (FLines.at(i).isKey && !keys.contains(FLines.at(i).key, Qt::CaseInsensitive))
            keys << FLines.at(i).key;
    return keys;
}

bool TIniFile::SectionExists(const QString &section) const
{
    Load();
    return FindSection(section) >= 0;
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const
{
    Load();
    const int h = FindSection(section);
    return h >= 0 && FindKey(h, key) >= 0;
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    Load();
    const QString s = TrimText(section), k = TrimText(key);
    Line line = ParseLine(k + '=' + value);
    int h = FindSection(s);
    if (h < 0) {
        Line header = ParseLine('[' + s + ']');
        FLines << header << line;
    } else if (const int at = FindKey(h, k); at >= 0) {
        FLines[at] = line;
    } else {
        // After the section's last non-blank line, so blank lines between sections stay.
        int end = SectionEnd(h);
        while (end > h + 1 && TrimText(FLines.at(end - 1).text).isEmpty())
            --end;
        FLines.insert(end, line);
    }
    Save();
}

void TIniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::EraseSection(const QString &section)
{
    Load();
    const int h = FindSection(section);
    if (h < 0)
        return;
    FLines.erase(FLines.begin() + h, FLines.begin() + SectionEnd(h));
    Save();
}

void TIniFile::DeleteKey(const QString &section, const QString &key)
{
    Load();
    const int h = FindSection(section);
    const int k = h < 0 ? -1 : FindKey(h, key);
    if (k < 0)
        return;
    FLines.removeAt(k);
    Save();
}

} // namespace zvo
