#pragma once
// INI profile files with the semantics of the Windows profile API: section and key names
// without regard to case, values trimmed with one pair of enclosing quotes dropped, at most
// 2047 characters read, a write that changes only its own line, text in the ANSI code page.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace zvo {

class EIniFileException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TIniFile {
public:
    static constexpr int MaxValueLength = 2047;

    explicit TIniFile(const QString &winPath);
    static TIniFile FromHostPath(const QString &hostPath);

    const QString &FileName() const { return FFileName; }

    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    // An integer (decimal, or hexadecimal with "0x" or "$"); anything else gives the default.
    int ReadInteger(const QString &section, const QString &key, int def) const;
    bool ReadBool(const QString &section, const QString &key, bool def) const;
    // Section names in file order, each once (the first spelling).
    QStringList ReadSections() const;
    // Key names of the section in file order, each once.
    QStringList ReadSection(const QString &section) const;
    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;

    // Writes raise EIniFileException when the file cannot be written, for example when its
    // folder does not exist: the file is created, its folder is not.
    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteBool(const QString &section, const QString &key, bool value);
    void EraseSection(const QString &section);
    void DeleteKey(const QString &section, const QString &key);

private:
    TIniFile(const QString &fileName, const QString &hostPath);

    struct Line {
        QString text;
        QString section; // for a header line: the section's name
        QString key;     // for a key line: the key
        bool isHeader = false;
        bool isKey = false;
    };

    void Load() const;
    void Save();
    // Index of the first header of `section`, or -1.
    int FindSection(const QString &section) const;
    // Index past the last line of the section starting at header `h`.
    int SectionEnd(int h) const;
    int FindKey(int h, const QString &key) const;
    static Line ParseLine(const QString &text);

    QString FFileName;
    QString FHostPath;
    mutable QList<Line> FLines;
    mutable QDateTime FLoadedStamp;
    mutable qint64 FLoadedSize = -2;
};

} // namespace zvo
