#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include "gui/foundation/preprocessing/qtvx_image_processing.h"
#include "imagecore/files/bg16.h"
#include "imagecore/handles.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/vx_test.h"

namespace {

vx_image_handle read(QTVxImageProcessing& chain, const std::string& file,
                     std::string* printed = nullptr)
{
    return vx_image_handle(
        vx_test::capturing_stdout([&] { return chain.readImage(file.c_str()); }, printed));
}

void write(QTVxImageProcessing& chain, const std::string& file, image* img)
{
    vx_test::printed_by([&] { chain.writeImage(file.c_str(), img); });
}

}  // namespace

TEST(QTVxImageProcessing, WritesPngThatReadsBackInGreyAndInColour)
{
    vx_test::TempDir dir;
    QTVxImageProcessing chain;
    // Grey values go through the grey palette; packed colours stay colours.
    image_handle grey(create_image(4, 3, 0));
    image_handle colour(create_image(4, 3, 0));
    for (int k = 0; k < 12; ++k) {
        grey->pixels[k] = k * 23;
        colour->pixels[k] = 0xC86432 + k * 0x010203;
    }
    write(chain, dir.file("grey.out"), grey.get());
    write(chain, dir.file("colour.png"), colour.get());
    EXPECT_TRUE(QFile::exists(QString::fromStdString(dir.file("grey.png"))));

    vx_image_handle greyBack = read(chain, dir.file("grey.png"));
    vx_image_handle colourBack = read(chain, dir.file("colour.png"));
    ASSERT_NE(greyBack, nullptr);
    ASSERT_NE(colourBack, nullptr);
    EXPECT_EQ(greyBack->nscales, 1);
    EXPECT_EQ(greyBack->width, 4);
    EXPECT_EQ(greyBack->height, 3);
    for (int k = 0; k < 12; ++k) {
        EXPECT_EQ(greyBack->scales[0].pixels[k], grey->pixels[k] * 0x010101) << k;
        EXPECT_EQ(colourBack->scales[0].pixels[k], colour->pixels[k]) << k;
    }
}

TEST(QTVxImageProcessing, ReadsSixteenBitGreyWithItsValuesAndRefusesOtherFiles)
{
    vx_test::TempDir dir;
    const int values[6] = {-300, 0, 1000, 20000, 7, 32000};
    ASSERT_EQ(write_16bg_pixels(dir.file("deep.16bg").c_str(), values, 3, 2), 0);
    vx_test::write_file(dir.file("notes.png"), "no picture");
    QTVxImageProcessing chain;
    vx_image_handle deep = read(chain, dir.file("deep.16bg"));
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(deep->scales[0].kind, IMAGE_GREY16);
    EXPECT_EQ(std::vector<int>(deep->scales[0].pixels, deep->scales[0].pixels + 6),
              std::vector<int>(values, values + 6));

    // Written, it shows its values mapped onto 0..255.
    write(chain, dir.file("deep.png"), &deep->scales[0]);
    const QImage shown(QString::fromStdString(dir.file("deep.png")));
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(2, 1), qRgb(255, 255, 255));

    std::string printed;
    EXPECT_EQ(read(chain, dir.file("notes.png"), &printed), nullptr);
    EXPECT_NE(printed.find("Could not load"), std::string::npos);
    EXPECT_EQ(read(chain, dir.file("missing.png")), nullptr);
}
