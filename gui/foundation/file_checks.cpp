#include "gui/foundation/file_checks.h"

#include <QFileInfo>
#include <cstdio>

#include "imagecore/files/vxfopen.h"

bool vx_readable(const char* file, bool warn)
{
    FILE* in = warn ? vxfopen(file, "r") : std::fopen(file, "r");
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
