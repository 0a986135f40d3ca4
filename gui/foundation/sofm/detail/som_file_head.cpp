#include "gui/foundation/sofm/detail/som_file_head.h"

#include <QFile>
#include <QList>
#include <QRegularExpression>

namespace {

// Longer lines are no head of a map the trainer wrote.
constexpr qint64 line_bound = 1 << 20;

// The next line without its line end; false at the end of the file or for
// a line longer than the bound.
bool next_line(QFile& file, QByteArray& line)
{
    if (file.atEnd())
        return false;
    line = file.readLine(line_bound);
    if (!line.endsWith('\n') && !file.atEnd())
        return false;
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return true;
}

bool column_number(const QByteArray& field, unsigned& column)
{
    bool ok = false;
    const int value = field.trimmed().toInt(&ok);
    column = static_cast<unsigned>(value);
    return ok && value >= 0;
}

}  // namespace

bool vx_read_som_head(const QString& name, VxSomFileHead& head, QString& why)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        why = QStringLiteral("The file does not open.");
        return false;
    }
    QByteArray line;
    // 1. "Generated at <date> <time> from".
    static const QRegularExpression generated(QStringLiteral("^Generated at (\\S+) (\\S+) from$"));
    const QRegularExpressionMatch match = next_line(file, line)
                                              ? generated.match(QString::fromLatin1(line))
                                              : QRegularExpressionMatch();
    if (!match.hasMatch()) {
        why = QStringLiteral("Its first line is not \"Generated at <date> <time> from\".");
        return false;
    }
    head.date = match.captured(1).toLatin1();
    head.time = match.captured(2).toLatin1();

    // 2. The table.
    if (!next_line(file, head.table)) {
        why = QStringLiteral("It names no table.");
        return false;
    }

    // 3. The column count and the columns.
    if (!next_line(file, line) || line != "ColumnSelection" || !next_line(file, line)) {
        why = QStringLiteral("It holds no column selection.");
        return false;
    }
    const QList<QByteArray> fields = line.split(',');
    bool ok = false;
    const int count = fields[0].trimmed().toInt(&ok);
    if (!ok || count < 0 || count > fields.size() - 1) {
        why = QStringLiteral("Its column count does not fit the %1 columns listed.")
                  .arg(fields.size() - 1);
        return false;
    }
    head.columns.assign(static_cast<size_t>(count), 0);
    for (int k = 0; k < count; ++k)
        if (!column_number(fields[k + 1], head.columns[static_cast<size_t>(k)])) {
            why = QStringLiteral("Its column %1 is no column number.").arg(k + 1);
            return false;
        }
    return true;
}
