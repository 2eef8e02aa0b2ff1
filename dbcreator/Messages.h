#pragma once
// The program's two kinds of box: a plain message with OK, and the error box that reports
// an error raised by a step.
#include <QString>
#include <exception>

namespace zvo {

void ShowPlainMessage(const QString &Msg);
// The error's message in the family's error box.
void ShowExceptionDlg(const std::exception &e);

} // namespace zvo
