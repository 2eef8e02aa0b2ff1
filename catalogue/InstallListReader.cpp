#include "InstallListReader.h"

#include "CodePage.h"
#include "Conversions.h"
#include "FileSystem.h"
#include "FormatSettings.h"
#include "IniFile.h"
#include "WinPath.h"

#include <QFile>
#include <cmath>

namespace zvo {

namespace {

// Section headers in file order, duplicates included, read the way the profile file reads
// them ("[" first on a trimmed line, the name up to "]", trimmed). Streams the file and
// stops at the first NUL byte: such a file is no text file and is never parsed further.
struct TSectionScan {
    bool Readable = false;
    bool Binary = false;
    QString Problem;
    QStringList Sections;
};

class TSectionScanner {
public:
    void Feed(char c)
    {
        if (c == '\n' || c == '\r') {
            EndLine();
        } else if (FState == State::LineStart) {
            if (c == '[')
                FState = State::Header;
            else if (static_cast<unsigned char>(c) > ' ')
                FState = State::Skip;
        } else if (FState == State::Header) {
            if (c == ']')
                EndHeader();
            else if (FName.size() < kMaxName)
                FName += c;
        }
    }
    void EndLine()
    {
        if (FState == State::Header)
            EndHeader();
        FState = State::LineStart;
    }
    QStringList Sections;

private:
    static constexpr qsizetype kMaxName = 4096;
    enum class State { LineStart, Header, Skip };
    void EndHeader()
    {
        Sections << TrimText(AnsiToString(FName));
        FName.clear();
        FState = State::Skip;
    }
    State FState = State::LineStart;
    QByteArray FName;
};

TSectionScan scanSections(const QString &hostPath)
{
    TSectionScan scan;
    QFile f(hostPath);
    if (!f.open(QIODevice::ReadOnly)) {
        scan.Problem = f.errorString();
        return scan;
    }
    scan.Readable = true;
    TSectionScanner scanner;
    char buffer[65536];
    qint64 n = 0;
    while ((n = f.read(buffer, sizeof buffer)) > 0) {
        for (qint64 i = 0; i < n; ++i) {
            if (buffer[i] == '\0') {
                scan.Binary = true;
                return scan;
            }
            scanner.Feed(buffer[i]);
        }
    }
    scanner.EndLine();
    scan.Sections = scanner.Sections;
    return scan;
}

// "0" is false, any other integer true ("0x" for hexadecimal); anything else is absent.
bool readFlag(const TIniFile &ini, const QString &section, const char *key)
{
    return ini.ReadInteger(section, QString::fromLatin1(key), 1) != 0;
}

TInstallRecord readRecord(const TIniFile &ini, const QString &section)
{
    TInstallRecord r;
    r.Enabled = readFlag(ini, section, "Enabled");
    r.Install = readFlag(ini, section, "Install");
    r.Category = ini.ReadString(section, QStringLiteral("Category"), QString());
    r.NodePath = ini.ReadString(section, QStringLiteral("NodePath"), QString());
    r.ZipName = ini.ReadString(section, QStringLiteral("ZipName"), QString());
    r.ServerPath = ini.ReadString(section, QStringLiteral("ServerPath"), QString());
    r.DestPath = ini.ReadString(section, QStringLiteral("DestPath"), QString());
    r.SizeMB = StrToRoundedFloat(ini.ReadString(section, QStringLiteral("SizeMB"), QString()), 0, 1000);
    if (!std::isfinite(r.SizeMB))
        throw EInstallTableError("SizeMB is out of range");
    QDateTime updated;
    if (TryStrToDateTime(ini.ReadString(section, QStringLiteral("Updated"), QString()), updated))
        r.Updated = updated;
    return r;
}

} // namespace

bool ReadInstallList(const QString &winPath, TInstallTable &mtInstall, QString &error)
{
    const QString fileName = ExtractFileName(winPath);
    const TSectionScan scan = scanSections(HostPath(winPath));
    if (!scan.Readable) {
        error = QStringLiteral("Error reading ") + fileName + '\r' + scan.Problem;
        return false;
    }
    if (scan.Binary) {
        error = QStringLiteral("Error reading ") + fileName + QStringLiteral("\rThe file is not a text file");
        return false;
    }
    const TIniFile ini(winPath);
    QStringList seen;
    for (const QString &section : scan.Sections) {
        try {
            // A second section of a name is unreachable: its keys would silently be the first's.
            if (seen.contains(section, Qt::CaseInsensitive))
                throw EInstallTableError("section appears twice");
            seen << section;
            mtInstall.Append(readRecord(ini, section));
        } catch (const std::exception &) {
            error = QStringLiteral("Error reading ") + section;
            return false;
        }
    }
    return true;
}

} // namespace zvo
