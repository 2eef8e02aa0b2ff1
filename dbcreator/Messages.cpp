#include "Messages.h"

#include "Helpers.h"

namespace zvo {

void ShowPlainMessage(const QString &Msg)
{
    ShowMessageDlg(Msg, {TMsgDlgBtn::mbOK}, TMsgDlgBtn::mbOK, TMsgDlgType::mtCustom);
}

void ShowExceptionDlg(const std::exception &e)
{
    ShowErrorDlg(QString::fromUtf8(e.what())); // our errors carry their text as UTF-8
}

} // namespace zvo
