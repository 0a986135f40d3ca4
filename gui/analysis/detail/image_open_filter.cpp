#include "gui/analysis/detail/image_open_filter.h"

#include <QImageReader>

#include "imagecore/report.h"

QString vx_known_image_formats_filter()
{
    QString list;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        list += (list.isEmpty() ? "*." : " *.") + QString::fromLatin1(format);
    const QString filter = "Images (" + list.toLower() + " " + list + ")";
    vx_report("Known Formats %s\n", filter.toLatin1().constData());
    return filter;
}
