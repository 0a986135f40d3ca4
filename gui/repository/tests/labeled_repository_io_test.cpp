#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "gui/repository/qtvx_labeled_repository.h"
#include "gui/repository/qtvx_repository.h"
#include "gui/repository/tests/labeled_test_support.h"
#include "imagecore/handles.h"
#include "imagecore/palette.h"
#include "repository_io_test_support.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/repository_fixture.h"
#include "testsupport/vx_test.h"

using repository_io_test::cancel;
using repository_io_test::first_line;
using repository_io_test::q;
using repository_io_test::question;
using vx_gui_test::dialogs;
using vx_test::capturing_stdout;
using vx_test::printed_by;

namespace {

using labeled_test::labeled_dir;
using labeled_test::shown;

int pixels_of(const QImage& picture, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            n += picture.pixel(x, y) == colour;
    return n;
}

}  // namespace

TEST(QTVxLabeledRepository, WritesLabelImagesThroughTheClassPaletteAndRewritesAReadFile)
{
    labeled_dir l;
    auto labeled = l.labeled(3);
    EXPECT_STREQ(labeled->getImageFormat(), "png");
    EXPECT_NE(dynamic_cast<QTVxRepository*>(labeled->getRepository()), nullptr);
    int* palette = initGreyColorScrambledPalette(3 + 256);
    const QRgb class1 = shown(palette[256]);
    const QRgb class2 = shown(palette[257]);
    std::free(palette);

    // Capitals of the format ask nothing; the count is classes + 256.
    char name[1024];
    std::snprintf(name, sizeof name, "%s/x.PNG", l.labels.c_str());
    image_handle img(create_image(3, 1, 10));
    img->pixels[1] = 256;
    img->pixels[2] = 257;
    EXPECT_EQ(first_line(printed_by([&] { labeled->writeImage(name, img.get()); })),
              "Writing Labeled Image " + l.labels + "/x.PNG with Palette (259)\n");
    EXPECT_EQ(std::string(name), l.labels + "/x.png");
    const QImage picture(q(name));
    EXPECT_EQ(picture.pixel(0, 0), qRgb(10, 10, 10));
    EXPECT_EQ(picture.pixel(1, 0), class1);
    EXPECT_EQ(picture.pixel(2, 0), class2);
    EXPECT_TRUE(dialogs().requests().empty());

    // A ".vxq" with a label of class 1 gets its label image when read.
    const int region = 1;
    labeled->setImage(0, 1, &region, 1, labeled->getImageName(0));
    const std::string vxq = l.d.dir.file("l.vxq");
    printed_by([&] { EXPECT_EQ(labeled->write(vxq.c_str()), 1); });
    std::string output;
    auto read = capturing_stdout(
        [&] { return std::make_unique<QTVxLabeledRepository>(vxq.c_str()); }, &output);
    const std::string image = l.labels + "/labeled.img0.pgm.png";
    EXPECT_NE(output.find("Updating " + l.d.images + "/img0.pgm to " + image), std::string::npos);
    EXPECT_STREQ(read->getImageName(0), image.c_str());
    EXPECT_GT(pixels_of(QImage(q(image)), class1), 0);
    EXPECT_NE(vx_test::read_file(vxq).find(image), std::string::npos);
}

TEST(QTVxLabeledRepository, ACancelledChooserKeepsTheAskedFormatUnlessItIsTooLong)
{
    labeled_dir l;
    auto labeled = l.labeled(2);
    dialogs().answer(cancel());
    EXPECT_STREQ(labeled->setImageFormat("XYZ"), "xyz");
    EXPECT_EQ(question(dialogs().requests()[0]),
              "XYZ Unknown image format\nPlease select one of\n");
    EXPECT_STREQ(labeled->setImageFormat("BMP"), "bmp");
    EXPECT_EQ(dialogs().requests().size(), 1u);

    dialogs().answer(cancel());
    std::string output;
    EXPECT_STREQ(
        capturing_stdout([&] { return labeled->setImageFormat("abcdefghijklmnop"); }, &output),
        "bmp");
    EXPECT_NE(output.find("Could not take the image format abcdefghijklmnop"), std::string::npos);
    dialogs().answer(cancel());
    EXPECT_STREQ(labeled->setImageFormat(), "bmp");
    EXPECT_EQ(question(dialogs().requests()[2]), "bmp Active image format\nPlease select one of\n");
}
