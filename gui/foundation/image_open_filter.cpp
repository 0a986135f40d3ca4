#include "gui/foundation/image_open_filter.h"

#include <QImageReader>

#include "imagecore/report.h"

QString vx_image_formats_list()
{
    QString list;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        list += (list.isEmpty() ? "*." : " *.") + QString::fromLatin1(format);
    return list;
}

QString vx_images_filter(const QString& list)
{
    return "Images (" + list.toLower() + " " + list + ")";
}

QString vx_known_image_formats_filter()
{
    const QString filter = vx_images_filter(vx_image_formats_list());
    vx_report("Known Formats %s\n", filter.toLatin1().constData());
    return filter;
}
