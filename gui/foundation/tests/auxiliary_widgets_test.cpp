#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <cstdlib>
#include <vector>

#include "gui/foundation/equalize_image.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/vx_analyse_signals.h"
#include "gui/foundation/vx_image_io.h"
#include "imagecore/grey_mapping.h"
#include "imagecore/image.h"
#include "testsupport/vx_test.h"

using vx_test::printed_by;

namespace {

std::vector<int> shown(EqualizeImage& viewer)
{
    image* words = viewer.findChild<qimage_frame*>()->get_t_image();
    return std::vector<int>(words->pixels, words->pixels + words->width * words->height);
}

std::vector<int> mapped(const std::vector<double>& values, double weight)
{
    int* levels =
        equalize_double_array_256(values.data(), static_cast<int>(values.size()), weight, 2);
    std::vector<int> result(levels, levels + values.size());
    std::free(levels);
    return result;
}

}  // namespace

TEST(EqualizeImage, TheSliderSetsTheWeightOfTheLogarithmicMapping)
{
    const std::vector<double> values = {-1.0, 0.0, 3.0, 10.0, 100.0, 1000.0};
    image* doubles = create_double_image(3, 2, 0.0);
    std::copy(values.begin(), values.end(), doubles->dpixels);
    std::vector<int> at128;
    {
        EqualizeImage viewer(doubles, nullptr);
        auto* slider = viewer.findChild<QSlider*>();
        EXPECT_EQ(slider->minimum(), 0);
        EXPECT_EQ(slider->maximum(), 250);
        EXPECT_EQ(viewer.findChild<QLabel*>()->text(), "(xPos X yPos) (Color)");
        EXPECT_EQ(shown(viewer), mapped(values, 1.0));
        printed_by([&] { slider->setValue(250); });
        EXPECT_EQ(shown(viewer), mapped(values, 250 / 255.0));
        printed_by([&] { slider->setValue(128); });
        at128 = shown(viewer);
        printed_by([&] { slider->setValue(0); });
        // Weight 0 maps every value with a logarithm to the top.
        EXPECT_EQ(shown(viewer), std::vector<int>({0, 0, 255, 255, 255, 255}));
    }
    // 128 / 255 in whole numbers would be weight 0 again.
    EXPECT_EQ(at128, mapped(values, 128 / 255.0));
    EXPECT_NE(at128, std::vector<int>({0, 0, 255, 255, 255, 255}));
    EXPECT_EQ(std::vector<double>(doubles->dpixels, doubles->dpixels + 6), values);
    delete_image(doubles);

    // A record without doubles is read through its int pixels.
    image* ints = create_image(2, 1, 1);
    ints->pixels[1] = 100;
    EqualizeImage viewer(ints, nullptr);
    EXPECT_EQ(shown(viewer), mapped({1.0, 100.0}, 1.0));
    delete_image(ints);
}

TEST(VxAnalyseSignals, PassesProgressOn)
{
    VxAnalyseSignals carrier;
    EXPECT_EQ(carrier.parent(), nullptr);
    QSignalSpy progress(&carrier, &VxAnalyseSignals::setProgress);
    carrier.setProgressOutput(11, 4);
    ASSERT_EQ(progress.count(), 1);
    EXPECT_EQ(progress.at(0), QList<QVariant>({11, 4}));
}

TEST(VxImageIo, BridgesRecordsFilesAndGreyValues)
{
    image* record = create_image(2, 1, 0);
    record->pixels[0] = 0x1FF;  // only the low byte counts
    record->pixels[1] = 5;
    image* grey = vx_image_io(record).vx_image_io_load();
    EXPECT_EQ(std::vector<int>(grey->pixels, grey->pixels + 2), std::vector<int>({255, 5}));
    delete_image(grey);
    delete_image(record);

    vx_test::TempDir dir;
    const std::string red = dir.file("red.png");
    QImage picture(1, 1, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 0));
    picture.save(QString::fromStdString(red));
    image* loaded = nullptr;
    EXPECT_EQ(printed_by([&] { loaded = vx_image_io(red.c_str()).vx_image_io_load(); }),
              "Loaded " + red + "\n");
    EXPECT_EQ(loaded->pixels[0], 85);
    delete_image(loaded);

    const std::string text = dir.file("notes.txt");
    vx_test::write_file(text, "just words\n");
    EXPECT_EQ(printed_by([&] { loaded = vx_image_io(text.c_str()).vx_image_io_load(); }),
              "Unknown Format " + text + "\n");
    EXPECT_EQ(loaded->width + loaded->height, 0);
    delete_image(loaded);
}
