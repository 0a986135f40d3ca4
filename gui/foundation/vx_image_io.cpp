#include "gui/foundation/vx_image_io.h"

#include <QFile>

#include "gui/foundation/image_loading.h"
#include "imagecore/report.h"

vx_image_io::vx_image_io(const image* img) : picture(img->width, img->height, QImage::Format_RGB32)
{
    for (int y = 0; y < img->height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        const int* values = img->pixels + static_cast<size_t>(y) * img->width;
        for (int x = 0; x < img->width; ++x)
            row[x] = 0xFF000000u + (static_cast<QRgb>(values[x]) & 0xFFu) * 0x010101u;
    }
}

vx_image_io::vx_image_io(const char* file)
    : picture(vx_read_platform_picture(QFile::decodeName(file)))
{
    if (picture.isNull())
        vx_report("Unknown Format %s\n", file);
    else
        vx_report("Loaded %s\n", file);
}

image* vx_image_io::vx_image_io_load() const
{
    image* grey = create_image(picture.width(), picture.height(), 0);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            grey->pixels[static_cast<size_t>(y) * picture.width() + x] =
                (qRed(pixel) + qGreen(pixel) + qBlue(pixel)) / 3;
        }
    return grey;
}
