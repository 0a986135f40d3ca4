#include "gui/foundation/file_checks.h"

#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>

#include "gui/foundation/dialog_service.h"
#include "gui/foundation/vx_message_popup.h"

bool vx_readable(const char* file)
{
    FILE* in = std::fopen(file, "r");
    if (in == nullptr)
        return false;
    std::fclose(in);
    return true;
}

bool vx_creatable(const QString& file)
{
    const QFileInfo info(file);
    if (file.isEmpty() || info.isDir() || (info.exists() && !info.isWritable()))
        return false;
    const QFileInfo directory(info.absolutePath());
    return directory.isDir() && directory.isWritable();
}

bool vx_write_text_file(const QString& file, const std::string& text)
{
    QSaveFile out(file);
    const qint64 size = static_cast<qint64>(text.size());
    return out.open(QIODevice::WriteOnly) && out.write(text.data(), size) == size && out.commit();
}

void vx_write_error(const QString& file)
{
    vx_message(QStringLiteral("!!Write Error!!"), "Unable to write file\n" + file);
}

void vx_message(const QString& title, const QString& text)
{
    VxMessagePopUp popUp(VxMessagePopUp::notice, title, text);
    vx_dialogs().exec(popUp);
}
