#include "gui/foundation/thumbnails/detail/thumbnail.h"

#include <QImageReader>
#include <algorithm>
#include <cstdint>

namespace vx_thumbnail {

namespace {
constexpr int low_quality = 25;
}

QSize size_for(QSize picture)
{
    const double w = picture.width();
    const double h = picture.height();
    const QSize size = w < h ? QSize(static_cast<int>(w / h * side), side)
                             : QSize(side, static_cast<int>(h / w * side));
    return size.expandedTo(QSize(1, 1));
}

QImage read(const QString& file)
{
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    QSize target;
    const QSize full = reader.size();
    if (!full.isEmpty()) {
        target = size_for(full);
        // Only the JPEG reader, at a quality below 50, scales without
        // smoothing, as the thumbnail asks; it decodes less for that, too.
        if (reader.format() == "jpeg" && target.width() < full.width()) {
            reader.setScaledSize(target);
            reader.setQuality(low_quality);
        }
    }
    QImage picture;
    if (!reader.read(&picture) || picture.isNull())
        return QImage();
    if (!target.isValid())
        target = size_for(picture.size());
    if (picture.size() == target)
        return picture;
    return picture.scaled(target, Qt::KeepAspectRatio, Qt::FastTransformation);
}

QImage blank()
{
    QImage white(side, side, QImage::Format_RGB32);
    white.fill(Qt::white);
    return white;
}

QImage faded(const QImage& thumbnail)
{
    QImage copy = thumbnail.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < copy.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(copy.scanLine(y));
        std::transform(row, row + copy.width(), row,
                       [](uint32_t pixel) { return pixel & 0x50FFFFFFu; });
    }
    return copy;
}

}  // namespace vx_thumbnail
