#include "ProgramInfo.h"

#include "FileSystem.h"

#include <QFileInfo>

namespace zvo {

QString ProgramVersionText()
{
    return QStringLiteral(ZVO_VERSION_TEXT);
}

QDateTime ProgramFileTime()
{
    return QFileInfo(ProgramHostPath()).lastModified();
}

} // namespace zvo
