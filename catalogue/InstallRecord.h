#pragma once
// One package or catalog the installer can install: a row of the install table.
#include "FormatSettings.h"

#include <QDateTime>
#include <QString>

namespace zvo {

struct TInstallRecord {
    bool Install = true;
    bool Enabled = true; // kept from the list; nothing reads it
    QString Category;
    QString NodePath;    // the tree node's texts, each followed by "\"
    QString ZipName;
    QString ServerPath;
    QString DestPath;    // relative to the family root until the run makes it absolute
    double SizeMB = 0;   // rounded to 3 decimals
    QDateTime Updated = ZeroDateTime(); // kept from the list; nothing reads it

    // Widths of the text fields: a longer value cannot be stored.
    static constexpr int CategoryWidth = 50;
    static constexpr int NodePathWidth = 100;
    static constexpr int ZipNameWidth = 50;
    static constexpr int ServerPathWidth = 80;
    static constexpr int DestPathWidth = 100;
};

} // namespace zvo
