#pragma once

// A bridge between the image core's records and Qt's images: a 32-bit
// picture made from a record's grey values or read from a file, handed back
// as a new grey record.

#include <QImage>

#include "imagecore/image.h"

class vx_image_io {
public:
    // Pixel (x, y) becomes the opaque grey of the low byte of the record's
    // pixel (x, y).
    explicit vx_image_io(const image* img);
    // Reads the file with Qt's readers (the format decided from the
    // content): prints "Loaded <file>", or "Unknown Format <file>" and
    // holds a 0 x 0 picture.
    explicit vx_image_io(const char* file);

    // A new record of the picture's size (freed by the caller) whose pixel
    // (x, y) is (R + G + B) / 3 of the picture's pixel.
    image* vx_image_io_load() const;

private:
    QImage picture;
};
