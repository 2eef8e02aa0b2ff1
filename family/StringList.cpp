#include "StringList.h"

#include "CodePage.h"
#include "FamilyFormats.h"
#include "FileSystem.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace zvo {

bool TStringList::LoadFromFile(const QString &winPath)
{
    clear();
    QFile f(HostPath(winPath));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = f.readAll();
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        text = QString::fromUtf8(bytes.mid(3));
    else if (bytes.startsWith("\xFF\xFE"))
        text = QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.mid(2));
    else if (bytes.startsWith("\xFE\xFF"))
        text = QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.mid(2));
    else if (Encoding == "ANSI")
        text = AnsiToString(bytes);
    else
        text = QString::fromUtf8(bytes);
    if (text.isEmpty())
        return true; // no lines at all
    text.replace("\r\n", "\n").replace('\r', '\n');
    if (text.endsWith('\n')) // the break after the last line adds no line
        text.chop(1);
    append(text.split('\n'));
    return true;
}

QString TStringList::Text() const
{
    QString text;
    for (const QString &line : *this)
        text += line + "\r\n";
    return text;
}

bool TStringList::SaveToFile(const QString &winPath) const
{
    QByteArray bytes = Encoding == "ANSI" ? StringToAnsi(Text()) : Text().toUtf8();
    if (WriteBOM && Encoding != "ANSI")
        bytes.prepend("\xEF\xBB\xBF");
    QSaveFile f(HostPath(winPath));
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.commit();
}

std::unique_ptr<TStringList> NewStringList()
{
    auto list = std::make_unique<TStringList>();
    list->Encoding = FamilyEncoding;
    list->WriteBOM = false;
    return list;
}

} // namespace zvo
