#pragma once
// The indentation levels and the divider of log and summary lines.
#include <QString>

namespace zvo {

inline const QString SP3 = QStringLiteral("   ");
inline const QString SP6 = QStringLiteral("      ");
inline const QString SP9 = QStringLiteral("         ");
inline const QString Divider = QString(60, QLatin1Char('*'));

} // namespace zvo
