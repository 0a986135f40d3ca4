#pragma once

// Reading image files the way the display widget does: first Qt's readers
// (the format decided from the content), then the system's 16-bit grey
// format "16BG". Nothing here ends the process or prints: a file that is
// missing, unreadable, damaged or of no known format gives a null result,
// and the caller reports it, with the reason given through `failure` (when
// not null): the reader's own words. A picture whose data end early counts
// as damaged, though Qt's JPEG reader fills the rest in grey and only warns.
// GUI thread only (Qt's image readers).

#include <QImage>
#include <QString>

#include "gui/foundation/grey_conversion.h"
#include "imagecore/image.h"

// The picture in 32 bits: ARGB32 when it has an alpha channel, else RGB32.
QImage vx_picture_32(const QImage& picture);

// Qt's reading of the file in 32 bits; null when no reader takes it.
QImage vx_read_platform_picture(const QString& file, QString* failure = nullptr);

// A new kind-4 record (IMAGE_GREY16) of a "16BG" file that opens, starts
// with "16BG", has a positive size and holds every pixel; null otherwise,
// with a reason only for a damaged "16BG" file. The caller frees it with
// delete_image.
image* vx_read_16bg_file(const QString& file, QString* failure = nullptr);

// A new copy of the record whose values are mapped onto 0..255
// (equalize_image with top 255); freed by the caller.
image* vx_equalized_copy(const image* img);

// A new kind-1 copy of the record (freed by the caller) whose values suit a
// frame in mode 1, where a word is a palette index and overlays are drawn
// as codes above 255: the record's own values when they lie in 0..255, else
// mapped onto 0..255 as vx_equalized_copy maps them (a 16-bit picture). A
// frame given it shows these words and keeps no typed copy.
image* vx_display_grey(const image* img);

// The 16-bit record shown as an 8-bit grey picture: its equalized values
// through a 256-entry grey colour table.
QImage vx_grey16_picture(const image* grey16);

// Qt's readers, else "16BG"; the picture in 32 bits, null when neither
// reads the file. For a "16BG" file and a 16-bit grey picture (a PNG of 16
// bits, say) *grey16 receives the file's values as a new kind-4 record
// (freed by the caller) and the picture shows them equalized; otherwise
// *grey16 is null.
QImage vx_read_picture(const QString& file, image** grey16, QString* failure = nullptr);

// A new grey record of the file (freed by the caller), read as the display
// widget reads it: a "16BG" file or a 16-bit grey picture keeps its values
// (kind 4), any other picture gives each pixel's grey value by `rule`. Null
// when no reader takes the file.
image* vx_read_grey_image(const QString& file, VxGreyRule rule, QString* failure = nullptr);

// Copies the pixels of a 32-bit picture into words[y * width + x], each the
// pixel 0xAARRGGBB, with the top byte cleared unless keepTopByte.
void vx_copy_picture_words(const QImage& picture32, int* words, bool keepTopByte);
