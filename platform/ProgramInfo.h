#pragma once
// What the program knows of its own file: the version text of the build and the file's
// last-write time.
#include <QDateTime>
#include <QString>

namespace zvo {

// Four-part file version of this build, e.g. "12.0.0.0".
QString ProgramVersionText();
// Last-write time of the running program's file (local time).
QDateTime ProgramFileTime();

} // namespace zvo
