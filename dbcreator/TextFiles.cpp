#include "TextFiles.h"

#include "CodePage.h"
#include "FileSystem.h"

#include <QFile>
#include <QStringDecoder>
#include <optional>

namespace zvo {

namespace {

std::optional<QString> decodeStrict(QStringDecoder::Encoding encoding, const QByteArray &bytes)
{
    const bool utf16 = encoding != QStringDecoder::Utf8;
    if (utf16 && bytes.size() % 2 != 0)
        return std::nullopt;
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError() || !QStringView(text).isValidUtf16())
        return std::nullopt;
    return text;
}

std::optional<QString> decode(const QByteArray &bytes, TTextEncoding withoutBOM)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return decodeStrict(QStringDecoder::Utf8, bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE"))
        return decodeStrict(QStringDecoder::Utf16LE, bytes.mid(2));
    if (bytes.startsWith("\xFE\xFF"))
        return decodeStrict(QStringDecoder::Utf16BE, bytes.mid(2));
    if (withoutBOM == TTextEncoding::ANSI)
        return AnsiToString(bytes);
    return decodeStrict(QStringDecoder::Utf8, bytes);
}

} // namespace

QString ReadTextFile(const QString &winPath, TTextEncoding withoutBOM)
{
    QFile file(HostPath(winPath));
    if (!file.open(QIODevice::ReadOnly))
        throw ETextFileError("Cannot open file \"" + winPath + "\". " + file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ETextFileError("Cannot read file \"" + winPath + "\". " + file.errorString());
    const std::optional<QString> text = decode(bytes, withoutBOM);
    if (!text || text->contains(QChar(0)))
        throw ETextFileError("The file \"" + winPath + "\" is not a text file");
    return *text;
}

QStringList TextLines(const QString &text)
{
    QString t = text;
    t.replace("\r\n", "\n").replace('\r', '\n');
    if (t.isEmpty())
        return {};
    if (t.endsWith('\n'))
        t.chop(1);
    return t.split('\n');
}

} // namespace zvo
