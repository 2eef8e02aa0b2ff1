#include "MemoDialog.h"

#include "CodePage.h"
#include "FileSystem.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFont>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace zvo {

TMemoDialog::TMemoDialog(QWidget *parent, const QString &objectName, const QString &caption)
    : QDialog(parent), FMemo(new QPlainTextEdit(this))
{
    setObjectName(objectName);
    setWindowTitle(caption);
    setSizeGripEnabled(true);
    resize(600, 600);
    FMemo->setObjectName(QStringLiteral("memText"));
    FMemo->setReadOnly(true);
    FMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font(QStringLiteral("Lucida Console"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(13);
    FMemo->setFont(font);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(FMemo);
    layout->addWidget(buttons);
}

void TMemoDialog::Clear()
{
    FMemo->clear();
}

bool TMemoDialog::LoadFromFile(const QString &winPath)
{
    QFile f(HostPath(winPath));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    QString text = AnsiToString(f.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (text.endsWith('\n'))
        text.chop(1);
    FMemo->setPlainText(text);
    return true;
}

QString TMemoDialog::Text() const
{
    return FMemo->toPlainText();
}

void TMemoDialog::Execute()
{
    exec();
}

} // namespace zvo
