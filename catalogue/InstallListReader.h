#pragma once
// Turns a local copy of the install list into install records: one per section, in file
// order, with the list's key rules.
#include "InstallTable.h"

#include <QString>

namespace zvo {

// Appends a record per section to mtInstall. On the first section that cannot be stored
// it stops with false and `error` holding the message ("Error reading " + section); the
// records before it stay. A file that is not text, or has a section twice, is refused too.
bool ReadInstallList(const QString &winPath, TInstallTable &mtInstall, QString &error);

} // namespace zvo
