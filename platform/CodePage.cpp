#include "CodePage.h"

#include <cerrno>
#include <cstring>
#include <functional>
#include <iconv.h>
#include <stdexcept>

namespace zvo {

namespace {

using Replacement = std::function<QByteArray(const char *skipped)>;

// One conversion through iconv. An input unit that cannot be converted is replaced by what
// `replace` makes of it (in the target encoding) and the conversion goes on.
QByteArray convert(const char *to, const char *from, const QByteArray &in,
                   const Replacement &replace, int inUnit)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    QByteArray out;
    out.resize(in.size() * 4 + 16);
    char *src = const_cast<char *>(in.constData());
    size_t srcLeft = static_cast<size_t>(in.size());
    char *dst = out.data();
    size_t dstLeft = static_cast<size_t>(out.size());
    auto grow = [&]() {
        const qsizetype used = dst - out.data();
        out.resize(out.size() * 2);
        dst = out.data() + used;
        dstLeft = static_cast<size_t>(out.size() - used);
    };
    while (srcLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG) {
            grow();
        } else { // EILSEQ or EINVAL: skip one input unit, write the replacement
            const size_t skip = std::min<size_t>(srcLeft, inUnit);
            const QByteArray replacement = replace(src);
            src += skip;
            srcLeft -= skip;
            while (dstLeft < static_cast<size_t>(replacement.size()))
                grow();
            memcpy(dst, replacement.constData(), replacement.size());
            dst += replacement.size();
            dstLeft -= replacement.size();
        }
    }
    for (;;) { // flush shift state (UTF-7 ends an open base64 run here)
        if (iconv(cd, nullptr, nullptr, &dst, &dstLeft) != static_cast<size_t>(-1))
            break;
        if (errno != E2BIG)
            break;
        grow();
    }
    iconv_close(cd);
    out.resize(dst - out.data());
    return out;
}

QByteArray toUtf16(const QString &text)
{
    return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

QString fromUtf16(const QByteArray &bytes)
{
    return QString(reinterpret_cast<const QChar *>(bytes.constData()), bytes.size() / 2);
}

QByteArray question(const char *)
{
    return "?";
}

} // namespace

QString AnsiToString(const QByteArray &bytes)
{
    // Windows-1252 leaves five bytes unassigned; Windows maps each to the code point of the
    // same value, so a round trip keeps them.
    const auto sameCodePoint = [](const char *b) {
        return QByteArray(1, *b) + QByteArray(1, '\0');
    };
    return fromUtf16(convert("UTF-16LE", "WINDOWS-1252", bytes, sameCodePoint, 1));
}

QByteArray StringToAnsi(const QString &text)
{
    const auto unassignedOrQuestion = [](const char *unit) {
        const auto lo = static_cast<unsigned char>(unit[0]);
        const bool unassigned = unit[1] == 0 && (lo == 0x81 || lo == 0x8D || lo == 0x8F
                                                 || lo == 0x90 || lo == 0x9D);
        return unassigned ? QByteArray(1, static_cast<char>(lo)) : QByteArray("?");
    };
    return convert("WINDOWS-1252", "UTF-16LE", toUtf16(text), unassignedOrQuestion, 2);
}

QString Utf7ToString(const QByteArray &bytes)
{
    const auto replacementChar = [](const char *) { return QByteArray("\xFD\xFF", 2); };
    return fromUtf16(convert("UTF-16LE", "UTF-7", bytes, replacementChar, 1));
}

QByteArray StringToUtf7(const QString &text)
{
    return convert("UTF-7", "UTF-16LE", toUtf16(text), question, 2);
}

} // namespace zvo
