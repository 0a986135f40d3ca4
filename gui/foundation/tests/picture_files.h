#pragma once

// Small picture files for the thumbnail tests.

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <string>

#include "testsupport/vx_test.h"

namespace picture_files {

// A w x h PNG of one colour in the directory; its full name.
inline QString write_png(const vx_test::TempDir& dir, const std::string& name, int w, int h,
                         QRgb colour)
{
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(colour);
    const QString file = QString::fromStdString(dir.file(name));
    EXPECT_TRUE(picture.save(file, "PNG")) << name;
    return file;
}

}  // namespace picture_files
