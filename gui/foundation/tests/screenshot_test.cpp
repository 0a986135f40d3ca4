// The foundation widgets with known content, saved as screenshots.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <QtTest/QTest>
#include <string>
#include <vector>

#include "frame_test_support.h"
#include "gui/foundation/detail/display_palettes.h"
#include "gui/foundation/equalize_image.h"
#include "gui/foundation/preprocessing/vx_roi_extraction_dialog.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/thumbnails/vx_display_image_list.h"
#include "gui/foundation/thumbnails/vx_image_button.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/vx_edit_dialog.h"
#include "gui/foundation/vx_image_file_formats.h"
#include "gui/foundation/vx_message_popup.h"
#include "imagecore/files/bg16.h"
#include "imagecore/image.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/vx_test.h"

TEST(Screenshots, RuleEditor)
{
    vx_test::TempDir dir;
    vx_test::write_file(dir.file("Attributes.rule"),
                        "DECLS:\n conv := (4 * area * 3.14176) / (pow((perimeter), 2.0));\n"
                        " FDC := 5;\n#DECLS\nRULES:\nTD:\n area > 100\n#RULES\n");
    VxBasePaths paths("/app", "/app/Attributes.rule", "", "/rules", "/work", nullptr, "P", 0);
    VxEditDialog editor(&paths, QString::fromStdString(dir.file("Attributes.rule")), nullptr,
                        "Edit Global Update Rule", 1);
    editor.resize(500, 300);
    const QImage picture = vx_gui_test::save_screenshot(editor, "VxEditDialog");
    ASSERT_EQ(picture.size(), editor.size() * editor.devicePixelRatio());

    auto* text = editor.findChild<QPlainTextEdit*>();
    const QRect area = text->geometry();
    const QRgb base = text->palette().color(QPalette::Base).rgb();
    EXPECT_EQ(picture.pixel(area.right() - 10, area.bottom() - 10), base);
    EXPECT_GT(vx_gui_test::dark_pixels(picture, area.adjusted(4, 4, -4, -area.height() / 2)), 100);
}

TEST(Screenshots, MessagePopUp)
{
    VxMessagePopUp popUp(4, "!!File Save Error!!", "Unable to open file for write\n/no/such.rule");
    const QImage picture = vx_gui_test::save_screenshot(popUp, "VxMessagePopUp");
    ASSERT_EQ(picture.size(), popUp.size());
    EXPECT_EQ(picture.pixel(picture.width() - 1, 0), popUp.palette().color(QPalette::Window).rgb());
    auto* acknowledge = popUp.findChild<QPushButton*>();
    EXPECT_GT(vx_gui_test::dark_pixels(picture, acknowledge->geometry()), 10);
}

TEST(Screenshots, FormatChooser)
{
    VxImageFileFormats formats(nullptr, "Image Format", 0);
    QString text = "No writer knows the extension \"tree\"";
    formats.initGraphicalSelection(text);
    const QImage picture = vx_gui_test::save_screenshot(formats, "VxImageFileFormats");
    ASSERT_EQ(picture.size(), formats.size());
    const QList<QPushButton*> buttons = formats.findChildren<QPushButton*>();
    ASSERT_FALSE(buttons.isEmpty());
    const QRect last = buttons.last()->geometry().translated(
        buttons.last()->parentWidget()->mapTo(&formats, QPoint(0, 0)));
    EXPECT_LE(last.bottom(), picture.height());
    EXPECT_GT(vx_gui_test::dark_pixels(picture, last), 10);
}

TEST(Screenshots, ImageFrame)
{
    // Four blocks of palette 4 (grey ramp, constant blue, red and green
    // ramps) side by side, a band of white overlay at half alpha across them
    // and a dark overlay square.
    const int w = 64;
    const int h = 40;
    const int blocks[4] = {0, 256, 1280, 1536};
    std::vector<int> words(static_cast<size_t>(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int word = blocks[x / 16] + ((x % 16) * 16 + y * 6) % 256;
            if (y >= 14 && y < 22)
                word |= 128 << 16 | 255 << 24;
            if (x >= 28 && x < 36 && y >= 30)
                word |= 200 << 16 | 20 << 24;
            words[static_cast<size_t>(y * w + x)] = word;
        }
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* frame = new qimage_frame(w, h, words.data(), &window, nullptr, 0, "Image Frame");
    frame->setDisplayMode(1);
    frame->resizeFrame(3 * w, 3 * h);
    frame->setZoomWindow(3, 0, 0);
    frame->updateZoomWindow();
    auto* controls = new QWidget(&window);
    frame->initControls(controls);
    layout->addWidget(frame);
    layout->addWidget(controls);
    frame_test::move(*frame, QPoint(100, 50), Qt::NoButton);
    auto* readout = controls->findChild<QLabel*>();
    EXPECT_EQ(readout->text().left(10), "(33 X 16) ");

    const QImage picture = vx_gui_test::save_screenshot(window, "qimage_frame");
    ASSERT_EQ(picture.size(), window.size());
    const std::vector<unsigned char> palette4 = display_palettes::grey_value_palette4();
    const QPoint origin = frame->geometry().topLeft();
    for (const QPoint p :
         {QPoint(0, 0), QPoint(20, 5), QPoint(40, 16), QPoint(63, 39), QPoint(30, 35)}) {
        const auto word = static_cast<uint32_t>(words[static_cast<size_t>(p.y() * w + p.x())]);
        EXPECT_EQ(picture.pixel(origin + 3 * p + QPoint(1, 1)),
                  frame_test::word_colour(word, 1, palette4))
            << p.x() << "," << p.y();
    }
    const QRect label = readout->geometry().translated(controls->pos());
    EXPECT_GT(vx_gui_test::dark_pixels(picture, label), 20);
    auto* plus = controls->findChild<QPushButton*>("Resize Image View Bigger");
    EXPECT_GT(vx_gui_test::dark_pixels(picture, plus->geometry().translated(controls->pos())), 5);
}

TEST(Screenshots, ImageFrameWithA16BitFile)
{
    // Values from -2000 at the centre up to 24700, shown mapped onto 0..255
    // at zoom 2, with the readout giving the file's own value.
    const int w = 80;
    const int h = 50;
    std::vector<int> values(static_cast<size_t>(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            values[static_cast<size_t>(y * w + x)] =
                ((x - 40) * (x - 40) + (y - 25) * (y - 25)) * 12 % 32000 - 2000;
    vx_test::TempDir dir;
    const std::string file = dir.file("rings.16bg");
    ASSERT_EQ(write_16bg_pixels(file.c_str(), values.data(), w, h), 0);

    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* frame = new qimage_frame(file.c_str(), &window, "16 Bit Frame");
    frame->resizeFrame(2 * w, 2 * h);
    frame->setZoomWindow(2, 0, 0);
    frame->updateZoomWindow();
    layout->addWidget(frame);
    layout->addWidget(frame->initCoordinateLabel(&window));
    frame_test::move(*frame, QPoint(30, 20), Qt::NoButton);
    auto* readout = window.findChild<QLabel*>();
    EXPECT_EQ(readout->text(), QString::asprintf("(15 X 10) (%d)", values[10 * w + 15]));

    const QImage picture = vx_gui_test::save_screenshot(window, "qimage_frame_16bg");
    ASSERT_EQ(picture.size(), window.size());
    image* levels = create_image(w, h, 0);
    std::copy(values.begin(), values.end(), levels->pixels);
    equalize_image(levels, 255.0);
    for (const QPoint p : {QPoint(0, 0), QPoint(40, 25), QPoint(79, 49), QPoint(12, 33)}) {
        const int v = levels->pixels[p.y() * w + p.x()];
        EXPECT_EQ(picture.pixel(frame->pos() + 2 * p), qRgb(v, v, v)) << p.x() << "," << p.y();
    }
    delete_image(levels);
    EXPECT_GT(vx_gui_test::dark_pixels(picture, readout->geometry()), 20);
}

TEST(Screenshots, EqualizeImage)
{
    const int w = 90;
    const int h = 60;
    image* doubles = create_double_image(w, h, 0.0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            doubles->dpixels[y * w + x] = 1.0 + x * x * y;
    EqualizeImage viewer(doubles, nullptr);
    delete_image(doubles);
    vx_test::printed_by([&] { viewer.findChild<QSlider*>()->setValue(128); });
    const QImage picture = vx_gui_test::save_screenshot(viewer, "EqualizeImage");
    ASSERT_EQ(picture.size(), viewer.size());
    auto* frame = viewer.findChild<qimage_frame*>();
    const QPoint origin = frame->pos();
    // Mode 2 shows the grey levels 0..255 in the blue channel.
    EXPECT_EQ(picture.pixel(origin), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(origin + QPoint(w - 1, h - 1)), qRgb(0, 0, 255));
    auto* slider = viewer.findChild<QSlider*>();
    EXPECT_GT(slider->geometry().top(), frame->geometry().bottom());
}

TEST(Screenshots, RoiExtractionDialog)
{
    VxROIExtractionDialog roi;
    roi.findChild<QLineEdit*>("QueryRule")->setText("Objects.rule");
    roi.findChild<QPlainTextEdit*>("Rule Editor")
        ->setPlainText("RULES:\nTD:\n area > 400 && contrast > 20\n#RULES\n");
    roi.changeMode();
    roi.resize(420, 320);
    const QImage picture = vx_gui_test::save_screenshot(roi, "VxROIExtractionDialog");
    ASSERT_EQ(picture.size(), roi.size());
    auto* editor = roi.findChild<QPlainTextEdit*>("Rule Editor");
    const QRect text = editor->geometry();
    EXPECT_EQ(picture.pixel(text.right() - 10, text.bottom() - 10),
              editor->palette().color(QPalette::Base).rgb());
    EXPECT_GT(vx_gui_test::dark_pixels(picture, text.adjusted(4, 4, -4, -text.height() / 2)), 100);
    auto* mode = roi.findChild<QPushButton*>("Mode Selection");
    EXPECT_EQ(mode->text(), "Bright Objects");
    EXPECT_GT(vx_gui_test::dark_pixels(picture, mode->geometry()), 20);
}

TEST(Screenshots, ImageListPageAndFullSizeWindow)
{
    // 18 pictures: wide, tall and square ones in 18 hues; the page shows the
    // first 15 and a middle click opens picture 7 at full size.
    vx_test::TempDir dir;
    QStringList files;
    QStringList labels;
    const QSize shapes[3] = {QSize(160, 90), QSize(60, 120), QSize(80, 80)};
    for (int i = 0; i < 18; ++i) {
        QImage shape(shapes[i % 3], QImage::Format_RGB32);
        shape.fill(QColor::fromHsv(i * 20, 200, 230));
        files << QString::fromStdString(dir.file("shape" + std::to_string(i) + ".png"));
        labels << QString("shape %1").arg(i);
        ASSERT_TRUE(shape.save(files.back()));
    }
    VxDisplayImageList list(files, 18, labels, "Shapes", nullptr, "Browse Display Image List");
    const QImage page = vx_gui_test::save_screenshot(list, "VxDisplayImageList");
    ASSERT_EQ(page.size(), list.size());
    const QList<VxImageButton*> buttons = list.findChildren<VxImageButton*>();
    ASSERT_EQ(buttons.size(), 15);
    // A button with the focus shows its picture faded.
    for (int i : {0, 4, 7, 14}) {
        const QRgb shown = page.pixel(buttons[i]->geometry().center());
        const QRgb colour = QColor::fromHsv(i * 20, 200, 230).rgb();
        if (buttons[i]->hasFocus())
            EXPECT_NE(shown, colour);
        else
            EXPECT_EQ(shown, colour) << i;
    }
    EXPECT_GT(vx_gui_test::dark_pixels(page, list.findChild<QLabel*>()->geometry()), 30);

    QTest::mouseClick(buttons[7], Qt::MiddleButton);
    QWidget* window = vx_gui_test::top_level_widget("Current Display");
    ASSERT_NE(window, nullptr);
    const QImage full = vx_gui_test::save_screenshot(*window, "VxDisplayImageList_full_size");
    ASSERT_EQ(full.size(), window->size());
    auto* frame = window->findChild<qimage_frame*>();
    EXPECT_EQ(full.pixel(frame->pos() + QPoint(30, 60)), QColor::fromHsv(140, 200, 230).rgb());
    EXPECT_GE(full.width(), 60);
    EXPECT_GE(full.height(), 120);
}
