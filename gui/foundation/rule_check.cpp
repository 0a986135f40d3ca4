#include "gui/foundation/rule_check.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include "analyse/handles.h"
#include "analyse/rules/rule_file.h"
#include "gui/foundation/file_checks.h"

QString vx_rule_fault(const QString& file)
{
    // The scanner ends the process on input it cannot read, a folder's say.
    const QByteArray name = QFile::encodeName(file);
    if (!QFileInfo(file).isFile() || !vx_readable(name.constData()))
        return QStringLiteral("cannot be read");
    const program_handle parsed(parse_rule_file(name.constData(), 1));
    return parsed ? QString() : vx_parse_fault();
}

QString vx_rule_text_fault(const QString& text)
{
    // The parser reads files only.
    QTemporaryFile scratch;
    if (!scratch.open())
        return QString();
    const QByteArray bytes = text.toLatin1();
    const bool written = scratch.write(bytes) == bytes.size() && scratch.flush();
    scratch.close();
    return written ? vx_rule_fault(scratch.fileName()) : QString();
}

QString vx_parse_fault()
{
    return "does not parse:\n" + QString::fromLatin1(last_rule_failure());
}

QString vx_run_fault()
{
    const QString reason = QString::fromLatin1(last_rule_failure());
    return reason.isEmpty() ? QString() : "failed while it ran:\n" + reason;
}
