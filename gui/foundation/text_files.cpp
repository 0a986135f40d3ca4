#include "gui/foundation/text_files.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTextDocument>

#include "gui/foundation/dialog_service.h"
#include "gui/foundation/vx_message_popup.h"

bool vx_read_text_file(const QString& file, QString* text)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    *text = QString::fromLatin1(in.readAll());
    return true;
}

bool vx_save_text_file(const QString& file, const QString& text)
{
    QSaveFile out(file);
    const QByteArray bytes = text.toLatin1();
    if (out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit())
        return true;
    VxMessagePopUp popUp(VxMessagePopUp::notice, QStringLiteral("!!File Save Error!!"),
                         "Unable to open file for write\n" + file);
    vx_dialogs().exec(popUp);
    return false;
}

QString vx_editor_text(const QPlainTextEdit& editor)
{
    QString raw = editor.document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return raw;
}
