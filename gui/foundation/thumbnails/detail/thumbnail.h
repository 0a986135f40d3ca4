#pragma once

// The thumbnails of image files shown by the image buttons and the preview
// of the open-image dialogs. Not exported.

#include <QImage>
#include <QSize>
#include <QString>

namespace vx_thumbnail {

// The side of a thumbnail's square.
inline constexpr int side = 200;

// The size of the thumbnail of a w x h picture: (w / h * 200, 200) when
// w < h, else (200, h / w * 200), cut toward zero; never a side below 1.
QSize size_for(QSize picture);

// The file, read by Qt's readers (the format decided from the content),
// scaled to size_for(its size) keeping the aspect ratio without smoothing;
// null when it cannot be read. A JPEG file is read at the thumbnail's size
// at once.
QImage read(const QString& file);

// A side x side white picture: the thumbnail of nothing.
QImage blank();

// A non-premultiplied ARGB32 copy with every pixel ANDed with 0x50FFFFFF:
// alpha at most 0x50, so the picture shows faded.
QImage faded(const QImage& thumbnail);

}  // namespace vx_thumbnail
