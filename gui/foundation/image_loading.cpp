#include "gui/foundation/image_loading.h"

#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "gui/foundation/detail/reader_messages.h"
#include "imagecore/files/bg16.h"

QImage vx_picture_32(const QImage& picture)
{
    return picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32
                                                             : QImage::Format_RGB32);
}

namespace {

// Qt's reading of the file in the picture's own format; null, with the
// reader's reason in *failure when given, when no reader takes it or its
// data ends early.
QImage read_platform(const QString& file, QString* failure)
{
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    QImage picture;
    ReaderMessages messages;
    const bool read = reader.read(&picture);
    if (read && !messages.dataEndedEarly()) {
        messages.release();
        return picture;
    }
    if (failure != nullptr) {
        QStringList reasons;
        if (!read)
            reasons << reader.errorString();
        if (!messages.text().isEmpty())
            reasons << messages.text();
        *failure = reasons.join('\n');
    }
    return QImage();
}

// The values of a 16-bit grey picture as a new kind-4 record, the record a
// "16BG" file gives.
image* grey16_record(const QImage& picture)
{
    image* values = create_image(picture.width(), picture.height(), 0);
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const quint16*>(picture.constScanLine(y));
        std::copy(row, row + picture.width(),
                  values->pixels + static_cast<size_t>(y) * static_cast<size_t>(picture.width()));
    }
    values->kind = IMAGE_GREY16;
    update_image_struct(values);
    return values;
}

}  // namespace

QImage vx_read_platform_picture(const QString& file, QString* failure)
{
    const QImage picture = read_platform(file, failure);
    return picture.isNull() ? picture : vx_picture_32(picture);
}

image* vx_read_16bg_file(const QString& file, QString* failure)
{
    // Opened here, so that a missing file is a refusal and never the image
    // core's fatal "cannot open"; the stream reader checks magic, size and
    // length before it allocates.
    FILE* f = std::fopen(QFile::encodeName(file).constData(), "rb");
    if (f == nullptr)
        return nullptr;
    image* grey16 = nullptr;
    const bg16_status status = read_16bg_stream(f, &grey16);
    std::fclose(f);
    if (status == BG16_CORRUPT && failure != nullptr)
        *failure = QStringLiteral("A \"16BG\" file of an impossible size or missing pixels");
    return grey16;
}

image* vx_equalized_copy(const image* img)
{
    image* copy = create_copy_image(img);
    equalize_image(copy, 255.0);
    return copy;
}

image* vx_display_grey(const image* img)
{
    if (img->pixels == nullptr)
        return create_image(img->width, img->height, 0);
    image* grey = create_copy_image(img);
    update_image_struct(grey);
    if (grey->min < 0 || grey->max > 255)
        equalize_image(grey, 255.0);
    grey->kind = IMAGE_GREY;
    return grey;
}

QImage vx_grey16_picture(const image* grey16)
{
    image* levels = vx_equalized_copy(grey16);
    QImage picture(levels->width, levels->height, QImage::Format_Indexed8);
    if (picture.isNull()) {
        delete_image(levels);
        return picture;
    }
    QList<QRgb> greys(256);
    for (int i = 0; i < 256; ++i)
        greys[i] = 0xFF000000u + static_cast<QRgb>(i) * 0x010101u;
    picture.setColorTable(greys);
    for (int y = 0; y < levels->height; ++y) {
        uchar* row = picture.scanLine(y);
        const int* values = levels->pixels + static_cast<size_t>(y) * levels->width;
        for (int x = 0; x < levels->width; ++x)
            row[x] = static_cast<uchar>(values[x]);
    }
    delete_image(levels);
    return picture;
}

QImage vx_read_picture(const QString& file, image** grey16, QString* failure)
{
    *grey16 = nullptr;
    QImage picture = read_platform(file, failure);
    // Qt's 32 bits would cut a 16-bit grey picture to 8 bits: its values are
    // kept as a "16BG" file's are.
    image* values = nullptr;
    if (picture.format() == QImage::Format_Grayscale16)
        values = grey16_record(picture);
    else if (!picture.isNull())
        return vx_picture_32(picture);
    else
        values = vx_read_16bg_file(file, failure);
    if (values == nullptr)
        return QImage();
    picture = vx_picture_32(vx_grey16_picture(values));
    if (picture.isNull()) {
        delete_image(values);
        if (failure != nullptr)
            *failure = QStringLiteral("The picture is too large to show");
        return QImage();
    }
    *grey16 = values;
    return picture;
}

image* vx_read_grey_image(const QString& file, VxGreyRule rule, QString* failure)
{
    image* grey16 = nullptr;
    const QImage picture = vx_read_picture(file, &grey16, failure);
    if (grey16 != nullptr || picture.isNull())
        return grey16;
    image* grey = create_image(picture.width(), picture.height(), 0);
    vx_grey_words(picture, rule, grey->pixels);
    return grey;
}

void vx_copy_picture_words(const QImage& picture32, int* words, bool keepTopByte)
{
    const uint32_t mask = keepTopByte ? 0xFFFFFFFFu : 0x00FFFFFFu;
    const int w = picture32.width();
    for (int y = 0; y < picture32.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture32.constScanLine(y));
        int* out = words + static_cast<size_t>(y) * static_cast<size_t>(w);
        for (int x = 0; x < w; ++x)
            out[x] = static_cast<int>(row[x] & mask);
    }
}
