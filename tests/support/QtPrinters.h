#pragma once
// Readable GoogleTest output for Qt values (force-included into every test source).
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QByteArray &b, std::ostream *os)
{
    *os << '"';
    for (const char c : b) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F && c != '\\')
            *os << c;
        else {
            static const char hex[] = "0123456789ABCDEF";
            *os << "\\x" << hex[u >> 4] << hex[u & 15];
        }
    }
    *os << '"';
}

inline void PrintTo(const QStringList &l, std::ostream *os)
{
    *os << '{';
    for (qsizetype i = 0; i < l.size(); ++i) {
        if (i)
            *os << ", ";
        PrintTo(l.at(i), os);
    }
    *os << '}';
}
