#pragma once
// A list of text lines that loads and saves files: byte-order marks for UTF-8 and UTF-16 are
// recognised on loading, none is written on saving, and lines end with CR LF.
#include <QStringList>
#include <memory>

namespace zvo {

class TStringList : public QStringList {
public:
    QString Encoding = "UTF-8"; // for files without a byte-order mark: "UTF-8" or "ANSI"
    bool WriteBOM = false;

    // False when the file cannot be read; the list is then left empty.
    bool LoadFromFile(const QString &winPath);
    // False when the file cannot be written (the old file then stays as it was).
    bool SaveToFile(const QString &winPath) const;
    QString Text() const; // every line followed by CR LF
};

// A new, empty list with the family's defaults; it belongs to the caller.
std::unique_ptr<TStringList> NewStringList();

} // namespace zvo
