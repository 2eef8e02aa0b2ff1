#pragma once
// Text in the ANSI code page (Windows-1252) and UTF-7, through iconv. Both directions are
// lossless for what the code page holds; characters outside it become "?" as Windows does.
#include <QByteArray>
#include <QString>

namespace zvo {

QString AnsiToString(const QByteArray &bytes);
QByteArray StringToAnsi(const QString &text);
QString Utf7ToString(const QByteArray &bytes);
QByteArray StringToUtf7(const QString &text);

} // namespace zvo
