#include <gtest/gtest.h>

#include <QLabel>
#include <QLoggingCategory>
#include <filesystem>
#include <vector>

#include "frame_test_support.h"
#include "gui/foundation/qimage_frame.h"
#include "imagecore/files/bg16.h"
#include "imagecore/image.h"
#include "testsupport/vx_test.h"

using vx_test::printed_by;

namespace {

// Qt's image readers warn about some damaged files; here that is expected.
class quiet_image_readers {
public:
    quiet_image_readers() { QLoggingCategory::setFilterRules("qt.gui.imageio*=false"); }
    ~quiet_image_readers() { QLoggingCategory::setFilterRules(QString()); }
};

std::string readout(qimage_frame& frame, QLabel* label, QPoint point)
{
    frame_test::move(frame, point, Qt::NoButton);
    return label->text().toStdString();
}

}  // namespace

TEST(FrameFiles, PicturesAndGreyFilesLoadThroughTheFrame)
{
    vx_test::TempDir dir;
    const std::string png = dir.file("colour.png");
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(qRgb(1, 2, 3));
    picture.setPixel(1, 0, qRgb(10, 20, 30));
    ASSERT_TRUE(picture.save(QString::fromStdString(png)));
    qimage_frame frame(png.c_str(), nullptr);
    EXPECT_EQ(frame.ImageWidth() * 10 + frame.ImageHeight(), 32);
    EXPECT_EQ(frame.get_t_image()->pixels[1], 0x0A141E);  // top byte cleared
    EXPECT_EQ(frame_test::screen_of(frame).pixel(1, 0), qRgb(10, 20, 30));
    frame.setZoomWindow(2, 0, 0);
    const std::string printed = printed_by([&] { frame.load_image(png.c_str()); });
    EXPECT_NE(printed.find("Numbytes 24\n"), std::string::npos);
    EXPECT_EQ(frame.get_t_image()->pixels[1], static_cast<int>(0xFF0A141Eu));  // kept
    EXPECT_EQ(frame.DisplayFrameWidth(), 3);

    const std::string pgm = dir.file("grey.pgm");
    vx_test::write_file(pgm, std::string("P5\n2 1\n255\n\x05\xF0", 13));
    qimage_frame grey(pgm.c_str(), nullptr);
    EXPECT_EQ(grey.get_t_image()->pixels[0], 0x050505);
    EXPECT_EQ(grey.get_t_image()->pixels[1], 0xF0F0F0);
}

TEST(FrameFiles, AGrey16FileKeepsItsValuesBehindTheEqualizedView)
{
    vx_test::TempDir dir;
    const std::string file = dir.file("values.16bg");
    const int values[4] = {-1, 300, 1000, 0};
    ASSERT_EQ(write_16bg_pixels(file.c_str(), values, 2, 2), 0);
    qimage_frame frame(file.c_str(), nullptr);
    image* typed = frame.get_t_image();
    EXPECT_EQ(typed->kind, IMAGE_GREY16);
    EXPECT_EQ(std::vector<int>(typed->pixels, typed->pixels + 4),
              std::vector<int>(values, values + 4));
    // Shown mapped onto 0..255: 255 / 1001 * (v + 1) + 0.5.
    EXPECT_EQ(frame_test::screen_of(frame).pixel(1, 0), qRgb(77, 77, 77));
    QWidget holder;
    QLabel* label = frame.initCoordinateLabel(&holder);
    EXPECT_EQ(readout(frame, label, QPoint(1, 0)), "(1 X 0) (300)");
    frame.convertGreyEuclidean();  // a conversion keeps the values
    EXPECT_EQ(frame.get_t_image(), typed);

    // Other content drops them; a 16-bit record brings its own.
    image* eight = create_image(2, 2, 0x000102);
    frame.set_image(eight);
    EXPECT_EQ(frame.get_t_image()->kind, IMAGE_GREY);
    EXPECT_EQ(frame.get_t_image()->pixels[1], 0x000102);
    frame.setDisplayMode(2);
    EXPECT_EQ(readout(frame, label, QPoint(1, 0)), "(1 X 0) (0, 1, 2)");
    eight->kind = IMAGE_GREY16;
    eight->pixels[3] = 7;
    frame.reset_qimage(eight);
    EXPECT_EQ(frame.get_t_image()->pixels[3], 7);
    EXPECT_EQ(readout(frame, label, QPoint(1, 1)), "(1 X 1) (7)");
    frame.display_image(eight->pixels);
    EXPECT_EQ(frame.get_t_image()->kind, IMAGE_GREY);
    qimage_frame record(eight, nullptr);
    EXPECT_EQ(record.get_t_image()->kind, IMAGE_GREY16);
    EXPECT_NE(record.get_t_image(), eight);
    delete_image(eight);
}

TEST(FrameFiles, ASixteenBitGreyPngKeepsItsValuesAsA16bgFileDoes)
{
    vx_test::TempDir dir;
    const std::string file = dir.file("deep.png");
    QImage deep(3, 1, QImage::Format_Grayscale16);
    auto* row = reinterpret_cast<quint16*>(deep.scanLine(0));
    row[0] = 1200;
    row[1] = 51400;
    row[2] = 26300;
    ASSERT_TRUE(deep.save(QString::fromStdString(file)));
    qimage_frame frame(file.c_str(), nullptr);
    const image* typed = frame.get_t_image();
    EXPECT_EQ(typed->kind, IMAGE_GREY16);
    EXPECT_EQ(std::vector<int>(typed->pixels, typed->pixels + 3),
              std::vector<int>({1200, 51400, 26300}));
    EXPECT_EQ(frame_test::screen_of(frame).pixel(1, 0), qRgb(255, 255, 255));
}

TEST(FrameFiles, FilesThatCannotBeReadLeaveAnEmptyFrameAndTheProcessAlive)
{
    const std::string seeds = VX_TESTDATA_DIR "/malformed/bg16/";
    for (const std::string& name :
         {std::string("/no/such/file.16bg"), seeds + "pixels_cut", seeds + "wrong_magic",
          seeds + "huge_size", seeds + "negative_height", seeds + "header_cut"}) {
        qimage_frame* frame = nullptr;
        EXPECT_EQ(printed_by([&] {
                      frame = new qimage_frame(name.c_str(), nullptr);
                  }).find("Could not load " + name + "\n"),
                  0u)
            << name;
        EXPECT_EQ(frame->ImageWidth() + frame->ImageHeight(), 0) << name;
        EXPECT_EQ(frame->get_t_image()->kind, IMAGE_GREY);
        delete frame;
    }

    vx_test::TempDir dir;
    const std::string good = dir.file("good.16bg");
    const int values[2] = {1, 2};
    write_16bg_pixels(good.c_str(), values, 2, 1);
    qimage_frame frame(good.c_str(), nullptr);
    EXPECT_NE(
        printed_by([&] { frame.load_image((seeds + "text").c_str()); }).find("Could not load"),
        std::string::npos);
    EXPECT_EQ(frame.ImageWidth(), 0);
    EXPECT_EQ(frame.get_t_image()->kind, IMAGE_GREY);
}

TEST(FrameFiles, MalformedSeedsReplayThroughTheLoader)
{
    quiet_image_readers quiet;
    int files = 0;
    for (const char* reader : {"bg16", "png", "pgm"})
        for (const auto& seed : std::filesystem::directory_iterator(
                 std::string(VX_TESTDATA_DIR "/malformed/") + reader)) {
            const std::string name = seed.path().string();
            SCOPED_TRACE(name);
            bool loaded = false;
            const std::string printed = printed_by([&] {
                qimage_frame frame(name.c_str(), nullptr);
                frame.convertGreyNormalized();
                loaded = frame.ImageWidth() > 0;
            });
            EXPECT_TRUE(loaded || printed.find("Could not load " + name) == 0) << printed;
            ++files;
        }
    EXPECT_GT(files, 20);
}

TEST(FrameFiles, ScaledAndGivenScreensKeepRedrawsInsideThem)
{
    std::vector<int> words(8 * 6);
    for (int k = 0; k < 48; ++k)
        words[static_cast<size_t>(k)] = k * 5;
    qimage_frame frame(8, 6, words.data(), nullptr, nullptr, 0);
    vx_test::TempDir dir;
    const QString file = QString::fromStdString(dir.file("view.png"));
    const auto written = [&] {
        EXPECT_TRUE(frame.write_image(file));
        return QImage(file).convertToFormat(QImage::Format_RGB32);
    };

    EXPECT_EQ(printed_by([&] { frame.scale(0.5); }), "scale\n");
    EXPECT_EQ(written().size(), QSize(4, 3));
    EXPECT_EQ(written().pixel(1, 1), qRgb(0, 0, words[2 * 8 + 2]));
    frame_test::move(frame, QPoint(3, 2), Qt::RightButton);
    frame.ZoomFactorUp(3, 2);
    frame.display_image();
    frame.setDisplayMode(1);
    frame.display_pixel_orig_zoomed(1, 1);
    frame.scale(2.5);
    EXPECT_EQ(written().size(), QSize(20, 15));
    EXPECT_EQ(written().pixel(19, 14), qRgb(0, 0, words[47]));
    frame.scale(0.0);
    EXPECT_EQ(written().size(), QSize(20, 15));

    QImage given(5, 4, QImage::Format_Grayscale8);
    given.fill(90);
    frame.set_image(&given);
    EXPECT_EQ(frame.minimumSize(), QSize(5, 4));
    EXPECT_EQ(written().pixel(4, 3), qRgb(90, 90, 90));
    frame_test::move(frame, QPoint(4, 3), Qt::LeftButton);
    frame.setDisplayMode(2);  // the next redraw makes the screen 32-bit first
    EXPECT_EQ(written().size(), QSize(5, 4));
    EXPECT_EQ(written().pixel(4, 3), qRgb(0, 0, words[3 * 8 + 4]));
    frame.initImageDepth32();
    EXPECT_EQ(printed_by([&] { frame.initFlickerBuffer(); }), "Flicker Buffer\n");
}

TEST(FrameFiles, TheQImageConstructorTakesTheImage)
{
    auto* picture = new QImage(2, 1, QImage::Format_ARGB32);
    picture->fill(qRgba(1, 2, 3, 200));
    qimage_frame frame(picture, nullptr);
    EXPECT_EQ(frame.get_t_image()->pixels[0], 0x010203);
    qimage_frame empty(static_cast<QImage*>(nullptr), nullptr);
    EXPECT_EQ(empty.ImageWidth(), 0);
}
