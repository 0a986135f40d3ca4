#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "gui/repository/qtvx_repository.h"
#include "imagecore/files/bg16.h"
#include "imagecore/handles.h"
#include "imagecore/palette.h"
#include "repository_io_test_support.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/repository_fixture.h"
#include "testsupport/vx_test.h"

using repository_io_test::cancel;
using repository_io_test::choose;
using repository_io_test::first_line;
using repository_io_test::q;
using repository_io_test::question;
using vx_gui_test::dialogs;
using vx_test::printed_by;

namespace {

std::unique_ptr<QTVxRepository> empty_repository()
{
    return vx_test::capturing_stdout(
        [] { return std::make_unique<QTVxRepository>(nullptr, 0, "trees", "images", 3); });
}

// A one-row image of these values.
image_handle row_of(const std::vector<int>& values)
{
    image_handle img(create_image(static_cast<int>(values.size()), 1, 0));
    std::copy(values.begin(), values.end(), img->pixels);
    return img;
}

// What the repository writes for the values under that name (a buffer of
// 1024 bytes, which it renames), read back; with the printed line.
struct written {
    std::string name;
    std::string printed;
    QImage picture;
};

written write(QTVxRepository& r, const std::string& name, const std::vector<int>& values, bool grey)
{
    char buffer[1024];
    std::snprintf(buffer, sizeof buffer, "%s", name.c_str());
    image_handle img = row_of(values);
    written w;
    w.printed = printed_by([&] {
        if (grey)
            r.writeImageGrey(buffer, img.get());
        else
            r.writeImage(buffer, img.get());
    });
    w.name = buffer;
    w.picture = QImage(q(w.name));
    return w;
}

}  // namespace

TEST(QTVxRepositoryReading, KeepsColoursAsWordsOrGivesTheirGreyAndNullForWhatNoReaderTakes)
{
    vx_test::TempDir dir;
    auto r = empty_repository();
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(qRgb(77, 77, 77));
    picture.setPixel(1, 0, qRgb(200, 100, 50));
    for (const char* name : {"colour.png", "colour.bmp"}) {
        repository_io_test::save(picture, dir.file(name));
        const vx_image_handle colour(r->ReadImage(dir.file(name).c_str()));
        const vx_image_handle grey(r->ReadImageGrey(dir.file(name).c_str()));
        ASSERT_NE(colour, nullptr) << name;
        ASSERT_NE(grey, nullptr) << name;
        EXPECT_EQ(colour->nscales, 1);
        EXPECT_EQ(colour->scales[0].pixels[1], 0xC86432) << name;
        EXPECT_EQ(colour->scales[0].pixels[0], 0x4D4D4D) << name;
        // The Euclidean grey of (200, 100, 50); equal channels stay.
        EXPECT_EQ(grey->scales[0].pixels[1], 132) << name;
        EXPECT_EQ(grey->scales[0].pixels[0], 77) << name;
    }

    // A "16BG" file gives its own values.
    image_handle deep = row_of({1000, -3, 40000 & 0x7FFF});
    ASSERT_EQ(write16BitGreyPGM(dir.file("deep.16bg").c_str(), deep.get()), 0);
    const vx_image_handle read16(r->ReadImageGrey(dir.file("deep.16bg").c_str()));
    ASSERT_NE(read16, nullptr);
    EXPECT_EQ(read16->scales[0].kind, IMAGE_GREY16);
    EXPECT_EQ(read16->scales[0].pixels[0], 1000);
    EXPECT_EQ(read16->scales[0].pixels[1], -3);

    vx_test::write_file(dir.file("text.png"), "no picture");
    EXPECT_EQ(r->ReadImage(dir.file("missing.png").c_str()), nullptr);
    EXPECT_EQ(r->ReadImageGrey(dir.file("text.png").c_str()), nullptr);
    EXPECT_TRUE(dialogs().requests().empty());
}

TEST(QTVxRepositoryWriting, AsksForAFormatOnlyWhenTheExtensionIsNoWritableFormat)
{
    vx_test::TempDir dir;
    auto r = empty_repository();
    EXPECT_STREQ(r->getImageFormat(), "No_Format");

    // A fresh object takes a known extension without asking.
    const written first = write(*r, dir.file("a.png"), {1}, false);
    EXPECT_EQ(first.name, dir.file("a.png"));
    EXPECT_EQ(first_line(first.printed),
              "Writing Labeled Image " + dir.file("a.png") + " with Palette (0)\n");
    EXPECT_FALSE(first.picture.isNull());
    EXPECT_STREQ(r->getImageFormat(), "png");

    // Capitals of the format: no question, the name ends lower-cased.
    const written capitals = write(*r, dir.file("b.PNG"), {1}, true);
    EXPECT_EQ(capitals.name, dir.file("b.png"));
    EXPECT_EQ(first_line(capitals.printed),
              "Writing Labeled Image " + dir.file("b.PNG") + " with Palette (0)\n");
    EXPECT_FALSE(capitals.picture.isNull());
    EXPECT_TRUE(dialogs().requests().empty());

    // An unknown extension asks; the choice names the file.
    dialogs().answer(choose("BMP"));
    const written chosen = write(*r, dir.file("c.xyz"), {1}, false);
    ASSERT_EQ(dialogs().requests().size(), 1u);
    EXPECT_EQ(dialogs().requests()[0].title, "Repository save formats");
    EXPECT_EQ(question(dialogs().requests()[0]),
              "xyz Unknown image format\nPlease select one of\n");
    EXPECT_EQ(chosen.name, dir.file("c.bmp"));
    EXPECT_FALSE(chosen.picture.isNull());
    EXPECT_STREQ(r->getImageFormat(), "bmp");

    // Without an extension in the file part the format is appended.
    std::filesystem::create_directory(dir.file("dotted.v1"));
    EXPECT_EQ(write(*r, dir.file("d"), {1}, false).name, dir.file("d.bmp"));
    EXPECT_EQ(write(*r, dir.file("dotted.v1/e"), {1}, false).name, dir.file("dotted.v1/e.bmp"));
    EXPECT_TRUE(std::filesystem::exists(dir.file("dotted.v1/e.bmp")));

    // A name that would not fit the buffer is refused and left as it was.
    const std::string longName = dir.file(std::string(1020 - dir.path().string().size(), 'f'));
    const written refused = write(*r, longName, {1}, false);
    EXPECT_EQ(refused.name, longName);
    EXPECT_NE(refused.printed.find("is longer than 1023 characters"), std::string::npos);
    std::error_code error;
    EXPECT_FALSE(std::filesystem::exists(longName + ".bmp", error));

    // The explicit question: cancelled it returns null and keeps the format.
    dialogs().clear();
    dialogs().answer(cancel());
    EXPECT_EQ(r->setImageFormat(), nullptr);
    EXPECT_EQ(question(dialogs().requests()[0]), "bmp Active image format\nPlease select one of\n");
    EXPECT_STREQ(r->getImageFormat(), "bmp");
    dialogs().answer(cancel());
    EXPECT_EQ(r->setImageFormat("tga-x"), nullptr);
    EXPECT_STREQ(r->getImageFormat(), "bmp");
    dialogs().answer(choose("PNG"));
    EXPECT_STREQ(r->setImageFormat(), "png");
}

TEST(QTVxRepositoryWriting, WritesWordsAsColoursAndGreyValuesThroughTheQueryPalette)
{
    vx_test::TempDir dir;
    auto r = empty_repository();
    const written colours = write(*r, dir.file("colours.png"), {0xC86432, 7}, false);
    EXPECT_EQ(colours.picture.pixel(0, 0), qRgb(200, 100, 50));
    EXPECT_EQ(colours.picture.pixel(1, 0), qRgb(0, 0, 7));

    // Without a palette grey values stay grey.
    const written grey = write(*r, dir.file("grey.png"), {77, 255}, true);
    EXPECT_EQ(grey.picture.pixel(0, 0), qRgb(77, 77, 77));
    EXPECT_EQ(grey.picture.pixel(1, 0), qRgb(255, 255, 255));

    // A query run's palette: greys, then a colour per query, whose packed
    // red (the low byte) the display takes for blue.
    r->initQueryImages(nullptr, nullptr, 2, nullptr, dir.path().c_str(), nullptr);
    int* expected = initGreyColorScrambledPalette(2 + 256);
    const int label = expected[257];
    std::free(expected);
    const written labels = write(*r, dir.file("labels.png"), {40, 257}, true);
    EXPECT_EQ(first_line(labels.printed),
              "Writing Labeled Image " + dir.file("labels.png") + " with Palette (258)\n");
    EXPECT_EQ(labels.picture.pixel(0, 0), qRgb(40, 40, 40));
    EXPECT_EQ(labels.picture.pixel(1, 0),
              qRgb((label >> 16) & 255, (label >> 8) & 255, label & 255));
    EXPECT_TRUE(dialogs().requests().empty());
}

TEST(QTVxRepositorySteps, SkipAnImageThatCannotBeLoadedAndReadTheirFileWithoutFormat)
{
    vx_test::repository_dir d(1);
    auto r = d.repository<QTVxRepository>(3, {"img0.pgm", "missing.png"});
    std::string output = printed_by([&] {
        r->computeRepositoryInit(3);
        EXPECT_EQ(r->computeRepositoryStep(nullptr, nullptr), 1);
        EXPECT_EQ(r->computeRepositoryStep(nullptr, nullptr), 2);
    });
    EXPECT_NE(output.find("Could not load " + d.images + "//missing.png\n"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(d.trees + "/img0.3.bright.tree"));
    EXPECT_TRUE(std::filesystem::exists(d.trees + "/img0.3.dark.tree"));
    const std::string file = d.dir.file("r.vxr");
    ASSERT_EQ(r->WriteRepository(file.c_str()), 1);
    EXPECT_NE(vx_test::read_file(file).find("\nmissing.png,-,-\n"), std::string::npos);

    auto again =
        vx_test::capturing_stdout([&] { return std::make_unique<QTVxRepository>(file.c_str()); });
    EXPECT_EQ(again->NumberOfImages(), 2);
    EXPECT_STREQ(again->getImageFormat(), "No_Format");
}
