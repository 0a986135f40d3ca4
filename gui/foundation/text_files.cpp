#include "gui/foundation/text_files.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTextDocument>

#include "gui/foundation/vx_message_popup.h"

bool vx_read_text_file(const QString& file, QString* text)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    *text = QString::fromLatin1(in.readAll());
    return true;
}

bool vx_write_text_file(const QString& file, const QByteArray& bytes)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    // Qt 6.4 keeps small writes in its buffer and commits the file although
    // writing the buffer out failed, replacing the old file with an empty
    // one: the bytes are flushed and checked first.
    if (out.write(bytes) != bytes.size() || !out.flush() || out.error() != QFileDevice::NoError) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

bool vx_save_text_file(const QString& file, const QString& text)
{
    if (vx_write_text_file(file, text.toLatin1()))
        return true;
    vx_message(QStringLiteral("!!File Save Error!!"), "Unable to open file for write\n" + file);
    return false;
}

QString vx_editor_text(const QPlainTextEdit& editor)
{
    QString raw = editor.document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return raw;
}
