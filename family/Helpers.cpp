#include "Helpers.h"

#include "FileSystem.h"
#include "RootDirs.h"
#include "WinPath.h"

#include <QFile>
#include <dlfcn.h>

namespace zvo {

void DeleteFiles(const QString &Dir, const QString &Mask)
{
    for (const TSearchRec &f : ListFiles(Dir, Mask))
        DeleteFile(Dir + f.Name);
}

TModalResult ShowMessageDlg(const QString &Msg, const TMsgDlgButtons &Buttons,
                            TMsgDlgBtn DefaultButton, TMsgDlgType Kind)
{
    TMessageRequest r;
    r.Text = Msg;
    r.Kind = Kind;
    r.Buttons = Buttons;
    r.DefaultButton = DefaultButton;
    return TDialogs::ShowMessage(r);
}

TModalResult ShowCaptionDlg(const QString &Msg, const TMsgDlgButtons &Buttons,
                            TMsgDlgBtn DefaultButton, const QStringList &Captions)
{
    TMessageRequest r;
    r.Text = Msg;
    r.Kind = TMsgDlgType::mtConfirmation;
    r.Buttons = Buttons;
    r.DefaultButton = DefaultButton;
    r.Captions = Captions.mid(0, Buttons.size());
    return TDialogs::ShowMessage(r);
}

void ShowErrorDlg(const QString &Msg)
{
    ShowMessageDlg(Msg, {TMsgDlgBtn::mbOK}, TMsgDlgBtn::mbOK, TMsgDlgType::mtError);
}

bool CheckSSLLibraries()
{
    if (TrimText(ZVOProgramsDir).isEmpty())
        return false;
    for (const char *name : {"libeay32.dll", "ssleay32.dll"}) {
        const QString host = HostPath(ZVOProgramsDir + name);
        if (!host.isEmpty()) // stays loaded for the life of the process when it loads at all
            dlopen(QFile::encodeName(host).constData(), RTLD_NOW | RTLD_GLOBAL);
    }
    return true;
}

void AddProgramsDirToPath()
{
    if (TrimText(ZVOProgramsDir).isEmpty())
        return;
    const QString dir = HostPath(ZVOProgramsDir);
    if (dir.isEmpty())
        return;
    const QString path = QString::fromLocal8Bit(qgetenv("PATH"));
    if (path.contains(dir))
        return;
    // An empty PATH gets the folder alone: a leading separator would add the current folder.
    qputenv("PATH", (path.isEmpty() ? dir : path + ':' + dir).toLocal8Bit());
}

} // namespace zvo
