#pragma once
// The one place that shows message boxes and the folder picker. Tests install a responder
// that reads each box and presses a named button instead of showing it.
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace zvo {

enum class TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll,
                        mbNoToAll, mbYesToAll, mbHelp, mbClose };
using TMsgDlgButtons = QList<TMsgDlgBtn>; // in the order the box shows them
enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4,
                       mrIgnore = 5, mrYes = 6, mrNo = 7, mrClose = 8, mrHelp = 9,
                       mrAll = 12, mrNoToAll = 13, mrYesToAll = 14;

TModalResult ModalResultOf(TMsgDlgBtn button);
QString DefaultCaption(TMsgDlgBtn button); // "Yes", "OK", "No to All", ...

struct TMessageRequest {
    QString Text;             // "\r" already turned into line breaks
    TMsgDlgType Kind = TMsgDlgType::mtInformation;
    TMsgDlgButtons Buttons;
    TMsgDlgBtn DefaultButton = TMsgDlgBtn::mbOK;
    QStringList Captions;     // shown captions, one per button, in order
};

struct TFolderRequest {
    QString Caption;
    bool AllowNewFolder = false;
    QString InitialFolder;    // Windows path, empty for none
    bool ShowFiles = false;   // list files beside the folders (only folders can be chosen)
};

class TDialogResponder {
public:
    virtual ~TDialogResponder() = default;
    virtual TModalResult AnswerMessage(const TMessageRequest &request) = 0;
    // The chosen folder as a Windows path, or nothing for Cancel.
    virtual std::optional<QString> AnswerFolder(const TFolderRequest &request) = 0;
};

class TDialogs {
public:
    // Shows the box modally, centred on the screen; without a responder and without a GUI
    // application, the box is written to stderr and Cancel (or the default) is the answer.
    static TModalResult ShowMessage(const TMessageRequest &request);
    static std::optional<QString> BrowseForFolder(const TFolderRequest &request);
    // The responder is not owned; pass nullptr to show real dialogs again.
    static void SetResponder(TDialogResponder *responder);
    static TDialogResponder *Responder();
};

// A responder driven by a script: each expected box is answered by pressing the button with
// the given caption, each folder request by the given folder (or Cancel). Every request is
// recorded; a box that arrives with no answer left is recorded as unexpected and cancelled.
class TScriptedResponder : public TDialogResponder {
public:
    TScriptedResponder();
    ~TScriptedResponder() override;
    // It installs itself for its lifetime; a copy would leave a stale responder behind.
    TScriptedResponder(const TScriptedResponder &) = delete;
    TScriptedResponder &operator=(const TScriptedResponder &) = delete;

    TScriptedResponder &Press(const QString &caption);
    TScriptedResponder &PickFolder(const QString &winPath);
    TScriptedResponder &CancelFolder();

    TModalResult AnswerMessage(const TMessageRequest &request) override;
    std::optional<QString> AnswerFolder(const TFolderRequest &request) override;

    const QList<TMessageRequest> &Messages() const { return FMessages; }
    QStringList MessageTexts() const;
    const QList<TFolderRequest> &FolderRequests() const { return FFolders; }
    // Boxes that came with nothing scripted for them, and scripted answers never used.
    QStringList Unexpected() const { return FUnexpected; }
    int PendingAnswers() const { return FAnswers.size(); }

private:
    struct Answer {
        bool isFolder = false;
        QString text; // caption, or folder
        bool cancel = false;
    };
    QList<Answer> FAnswers;
    QList<TMessageRequest> FMessages;
    QList<TFolderRequest> FFolders;
    QStringList FUnexpected;
    TDialogResponder *FPrevious = nullptr;
};

} // namespace zvo
