#pragma once
// A modal, read-only text viewer: a monospace memo without word wrap in a resizable dialog
// with a Close button and no way to save.
#include <QDialog>
#include <QString>

class QPlainTextEdit;

namespace zvo {

class TMemoDialog : public QDialog {
    Q_OBJECT
public:
    TMemoDialog(QWidget *parent, const QString &objectName, const QString &caption);

    void Clear();
    // The file's text, read in the ANSI code page it was written in. False when unreadable.
    bool LoadFromFile(const QString &winPath);
    QString Text() const;
    QPlainTextEdit *Memo() const { return FMemo; }
    // Shows the dialog modally; returns when the user closes it.
    void Execute();

private:
    QPlainTextEdit *FMemo;
};

} // namespace zvo
