#pragma once
// File, dialog and environment helpers shared by both programs.
#include "Dialogs.h"

#include <QString>
#include <QStringList>

namespace zvo {

// Deletes the plain files of Dir (ending with "\") that match Mask; hidden files and
// sub-directories are left alone, and a file that cannot be deleted is passed over.
void DeleteFiles(const QString &Dir, const QString &Mask);

// A modal box with the kind's icon, DefaultButton focused, centred on the screen.
TModalResult ShowMessageDlg(const QString &Msg, const TMsgDlgButtons &Buttons,
                            TMsgDlgBtn DefaultButton, TMsgDlgType Kind);
// A modal question whose buttons show Captions in order; the result is the button's own.
TModalResult ShowCaptionDlg(const QString &Msg, const TMsgDlgButtons &Buttons,
                            TMsgDlgBtn DefaultButton, const QStringList &Captions);
// The error box of the family: text, OK.
void ShowErrorDlg(const QString &Msg);

// Loads the two TLS libraries from the programs folder and keeps them loaded; false only when
// the programs folder is not known. The outcome of the loads themselves does not count.
bool CheckSSLLibraries();
// Appends the programs folder to this process's PATH, once.
void AddProgramsDirToPath();

} // namespace zvo
