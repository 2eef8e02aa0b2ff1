#pragma once
// Reading the run's text files: the list of databases and the table scripts.
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace zvo {

class ETextFileError : public std::runtime_error {
public:
    explicit ETextFileError(const QString &message)
        : std::runtime_error(message.toStdString()), FMessage(message)
    {
    }
    const QString &Message() const { return FMessage; }

private:
    QString FMessage;
};

// How a file without a byte-order mark is read.
enum class TTextEncoding { UTF8, ANSI };

// The whole file as text. A byte-order mark selects UTF-8 or UTF-16 (little or big endian);
// without one the file is read in `withoutBOM`. ETextFileError when the file cannot be read
// or is not text in its encoding (a NUL character counts as not text: SQLite would end the
// script there without a word).
QString ReadTextFile(const QString &winPath, TTextEncoding withoutBOM);
// The lines of a text ending with CR LF, LF or CR, each line one entry, blank ones included;
// the break after the last line adds no entry.
QStringList TextLines(const QString &text);

} // namespace zvo
