#include "gui/foundation/text_files.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QTextDocument>

#include "gui/foundation/vx_message_popup.h"
#include "imagecore/files/checked_file.h"

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
    checked_file out(QFile::encodeName(file).constData(), "wb");
    return out.write(bytes.constData(), static_cast<size_t>(bytes.size())) && out.close();
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
