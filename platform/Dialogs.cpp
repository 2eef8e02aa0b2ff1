#include "Dialogs.h"

#include "FileSystem.h"
#include "WinPath.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>

namespace zvo {

namespace {

TDialogResponder *&responder()
{
    static TDialogResponder *r = nullptr;
    return r;
}

bool haveGui()
{
    return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr;
}

QMessageBox::Icon iconOf(TMsgDlgType kind)
{
    switch (kind) {
    case TMsgDlgType::mtWarning: return QMessageBox::Warning;
    case TMsgDlgType::mtError: return QMessageBox::Critical;
    case TMsgDlgType::mtInformation: return QMessageBox::Information;
    case TMsgDlgType::mtConfirmation: return QMessageBox::Question;
    case TMsgDlgType::mtCustom: break;
    }
    return QMessageBox::NoIcon;
}

QString titleOf(TMsgDlgType kind)
{
    switch (kind) {
    case TMsgDlgType::mtWarning: return "Warning";
    case TMsgDlgType::mtError: return "Error";
    case TMsgDlgType::mtInformation: return "Information";
    case TMsgDlgType::mtConfirmation: return "Confirm";
    case TMsgDlgType::mtCustom: break;
    }
    return QCoreApplication::applicationName();
}

QMessageBox::ButtonRole roleOf(TMsgDlgBtn b)
{
    switch (b) {
    case TMsgDlgBtn::mbYes: case TMsgDlgBtn::mbYesToAll: case TMsgDlgBtn::mbAll:
        return QMessageBox::YesRole;
    case TMsgDlgBtn::mbNo: case TMsgDlgBtn::mbNoToAll:
        return QMessageBox::NoRole;
    case TMsgDlgBtn::mbCancel: case TMsgDlgBtn::mbClose: case TMsgDlgBtn::mbAbort:
        return QMessageBox::RejectRole;
    case TMsgDlgBtn::mbHelp:
        return QMessageBox::HelpRole;
    default:
        return QMessageBox::AcceptRole;
    }
}

TModalResult showQt(const TMessageRequest &r)
{
    QMessageBox box(iconOf(r.Kind), titleOf(r.Kind), r.Text);
    QList<QPushButton *> buttons;
    for (int i = 0; i < r.Buttons.size(); ++i) {
        QPushButton *b = box.addButton(r.Captions.value(i, DefaultCaption(r.Buttons.at(i))),
                                       roleOf(r.Buttons.at(i)));
        buttons << b;
        if (r.Buttons.at(i) == r.DefaultButton)
            box.setDefaultButton(b);
    }
    box.exec();
    const int pressed = buttons.indexOf(qobject_cast<QPushButton *>(box.clickedButton()));
    if (pressed < 0) // closed with Escape or the title bar: Cancel as the box would
        return mrCancel;
    return ModalResultOf(r.Buttons.at(pressed));
}

} // namespace

TModalResult ModalResultOf(TMsgDlgBtn button)
{
    switch (button) {
    case TMsgDlgBtn::mbYes: return mrYes;
    case TMsgDlgBtn::mbNo: return mrNo;
    case TMsgDlgBtn::mbOK: return mrOk;
    case TMsgDlgBtn::mbCancel: return mrCancel;
    case TMsgDlgBtn::mbAbort: return mrAbort;
    case TMsgDlgBtn::mbRetry: return mrRetry;
    case TMsgDlgBtn::mbIgnore: return mrIgnore;
    case TMsgDlgBtn::mbAll: return mrAll;
    case TMsgDlgBtn::mbNoToAll: return mrNoToAll;
    case TMsgDlgBtn::mbYesToAll: return mrYesToAll;
    case TMsgDlgBtn::mbHelp: return mrHelp;
    case TMsgDlgBtn::mbClose: return mrClose;
    }
    return mrNone;
}

QString DefaultCaption(TMsgDlgBtn button)
{
    static const char *const captions[] = {"Yes",  "No",  "OK",        "Cancel",
                                           "Abort", "Retry", "Ignore", "All",
                                           "No to All", "Yes to All", "Help", "Close"};
    return captions[static_cast<int>(button)];
}

TModalResult TDialogs::ShowMessage(const TMessageRequest &request)
{
    TMessageRequest r = request;
    r.Text.replace("\r\n", "\n").replace('\r', '\n');
    for (int i = r.Captions.size(); i < r.Buttons.size(); ++i)
        r.Captions << DefaultCaption(r.Buttons.at(i));
    if (responder())
        return responder()->AnswerMessage(r);
    if (haveGui())
        return showQt(r);
    std::fprintf(stderr, "%s\n", qPrintable(r.Text));
    return r.Buttons.contains(TMsgDlgBtn::mbCancel) ? mrCancel : ModalResultOf(r.DefaultButton);
}

std::optional<QString> TDialogs::BrowseForFolder(const TFolderRequest &request)
{
    if (responder())
        return responder()->AnswerFolder(request);
    if (!haveGui())
        return std::nullopt;
    QFileDialog dialog(nullptr, request.Caption);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, !request.ShowFiles);
    // Qt's own dialog, so the folder lists keep to what is asked (files shown, no new folder).
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (!request.InitialFolder.isEmpty())
        dialog.setDirectory(HostPath(request.InitialFolder));
    if (!request.AllowNewFolder)
        for (QWidget *w : dialog.findChildren<QWidget *>("newFolderButton"))
            w->hide();
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return WindowsPath(dialog.selectedFiles().first());
}

void TDialogs::SetResponder(TDialogResponder *r)
{
    responder() = r;
}

TDialogResponder *TDialogs::Responder()
{
    return responder();
}

// ---------------------------------------------------------------- scripted responder

TScriptedResponder::TScriptedResponder() : FPrevious(TDialogs::Responder())
{
    TDialogs::SetResponder(this);
}

TScriptedResponder::~TScriptedResponder()
{
    TDialogs::SetResponder(FPrevious);
}

TScriptedResponder &TScriptedResponder::Press(const QString &caption)
{
    FAnswers << Answer{false, caption, false};
    return *this;
}

TScriptedResponder &TScriptedResponder::PickFolder(const QString &winPath)
{
    FAnswers << Answer{true, winPath, false};
    return *this;
}

TScriptedResponder &TScriptedResponder::CancelFolder()
{
    FAnswers << Answer{true, QString(), true};
    return *this;
}

TModalResult TScriptedResponder::AnswerMessage(const TMessageRequest &request)
{
    FMessages << request;
    if (FAnswers.isEmpty() || FAnswers.first().isFolder) {
        FUnexpected << request.Text;
        return request.Buttons.contains(TMsgDlgBtn::mbCancel) ? mrCancel
                                                              : ModalResultOf(request.DefaultButton);
    }
    const Answer a = FAnswers.takeFirst();
    const int i = request.Captions.indexOf(a.text);
    if (i < 0) {
        FUnexpected << QString("no button \"%1\" in: %2").arg(a.text, request.Text);
        return mrCancel;
    }
    return ModalResultOf(request.Buttons.at(i));
}

std::optional<QString> TScriptedResponder::AnswerFolder(const TFolderRequest &request)
{
    FFolders << request;
    if (FAnswers.isEmpty() || !FAnswers.first().isFolder) {
        FUnexpected << "folder picker: " + request.Caption;
        return std::nullopt;
    }
    const Answer a = FAnswers.takeFirst();
    if (a.cancel)
        return std::nullopt;
    return a.text;
}

QStringList TScriptedResponder::MessageTexts() const
{
    QStringList texts;
    for (const TMessageRequest &m : FMessages)
        texts << m.Text;
    return texts;
}

} // namespace zvo
