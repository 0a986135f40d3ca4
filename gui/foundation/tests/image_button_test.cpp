#include <gtest/gtest.h>

#include <QFocusEvent>
#include <QMouseEvent>
#include <QtTest/QTest>
#include <cstdlib>
#include <utility>
#include <vector>

#include "gui/foundation/thumbnails/vx_image_button.h"
#include "picture_files.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/vx_test.h"

using picture_files::write_png;

namespace {

// The icon shown, not premultiplied.
QImage icon_of(const VxImageButton& button)
{
    return button.icon().pixmap(button.iconSize()).toImage().convertToFormat(QImage::Format_ARGB32);
}

void focus(VxImageButton& button, QEvent::Type type)
{
    QFocusEvent event(type, Qt::OtherFocusReason);
    QApplication::sendEvent(&button, &event);
}

void release(VxImageButton& button, Qt::MouseButton released, Qt::MouseButtons stillHeld)
{
    QMouseEvent event(QEvent::MouseButtonRelease, QPointF(50, 50),
                      button.mapToGlobal(QPoint(50, 50)), released, stillHeld, Qt::NoModifier);
    QApplication::sendEvent(&button, &event);
}

}  // namespace

TEST(VxImageButton, ThumbnailsFitTheSquareWithTheirAspect)
{
    vx_test::TempDir dir;
    const QString wide = write_png(dir, "wide.png", 400, 100, qRgb(200, 10, 10));
    const QString tall = write_png(dir, "tall.png", 90, 300, qRgb(10, 200, 10));
    const QString square = write_png(dir, "square.png", 50, 50, qRgb(10, 10, 200));
    VxImageButton button(wide, 3, "label", nullptr, "Image Button");
    EXPECT_EQ(button.size(), QSize(200, 200));
    EXPECT_EQ(button.iconSize(), QSize(200, 50));
    EXPECT_EQ(icon_of(button).pixel(199, 49), qRgb(200, 10, 10));
    EXPECT_EQ(button.toolTip(), wide + "\nlabel");
    EXPECT_EQ(button.getImageIndex(), 3);
    EXPECT_EQ(button.getProperties().buttonIndex, 3);

    // A JPEG is decoded at the thumbnail's size.
    QImage photo(800, 600, QImage::Format_RGB32);
    photo.fill(qRgb(40, 120, 200));
    const QString jpeg = QString::fromStdString(dir.file("photo.jpg"));
    ASSERT_TRUE(photo.save(jpeg, "JPEG"));
    button.setImage(jpeg);
    EXPECT_EQ(button.iconSize(), QSize(200, 150));
    EXPECT_LE(std::abs(qBlue(icon_of(button).pixel(100, 75)) - 200), 3);

    button.setImage(tall);
    EXPECT_EQ(button.iconSize(), QSize(60, 200));
    EXPECT_EQ(button.toolTip(), tall);
    EXPECT_EQ(button.getImageFile(), tall);
    button.setProperties(7, square);
    EXPECT_EQ(button.iconSize(), QSize(200, 200));
    EXPECT_EQ(button.getImageIndex(), 7);

    // A record sets the image index and, when it names one, the file; the
    // button index stays.
    t_imagebuttoninfo record{wide, 12, 9};
    EXPECT_EQ(vx_test::printed_by([&] { button.setProperties(record); }),
              "Set ImageButton Image " + wide.toStdString() + "\n");
    EXPECT_EQ(button.iconSize(), QSize(200, 50));
    EXPECT_EQ(button.getProperties().buttonIndex, 3);
    record = {QString(), 4, 1};
    EXPECT_EQ(vx_test::printed_by([&] { button.setProperties(record); }), "");
    EXPECT_EQ(button.getImageIndex(), 4);
    EXPECT_EQ(button.getImageFile(), wide);
}

TEST(VxImageButton, FocusFadesTheThumbnailAndEmptyOrUnreadableFilesShowWhite)
{
    vx_test::TempDir dir;
    const QString file = write_png(dir, "red.png", 20, 10, qRgb(255, 0, 0));
    vx_test::write_file(dir.file("text.png"), "not a picture");
    VxImageButton button(file, 0, "", nullptr, "Image Button");
    focus(button, QEvent::FocusIn);
    EXPECT_EQ(icon_of(button).pixel(5, 5), 0x50FF0000u);
    focus(button, QEvent::FocusOut);
    EXPECT_EQ(icon_of(button).pixel(5, 5), qRgb(255, 0, 0));

    button.setImage(QString::fromStdString(dir.file("text.png")));
    EXPECT_EQ(button.iconSize(), QSize(200, 200));
    EXPECT_EQ(icon_of(button).pixel(100, 100), qRgb(255, 255, 255));

    button.setImage(file);
    button.setEmpty();
    EXPECT_EQ(button.getImageIndex(), -1);
    EXPECT_EQ(button.toolTip(), "Empty");
    EXPECT_EQ(button.iconSize(), QSize(200, 200));
    focus(button, QEvent::FocusIn);
    EXPECT_EQ(icon_of(button).pixel(150, 150), 0x50FFFFFFu);
}

TEST(VxImageButton, ReleasesReportTheButtonsHeldAndNeverOnAnEmptyButton)
{
    vx_test::TempDir dir;
    VxImageButton button(write_png(dir, "a.png", 8, 8, qRgb(1, 2, 3)), 5, "", nullptr, "B");
    // Each signal noted as "left 5/5": image and button index.
    std::vector<std::string> seen;
    const std::pair<void (VxImageButton::*)(t_imagebuttoninfo&), const char*> reports[] = {
        {&VxImageButton::leftClick, "left"},
        {&VxImageButton::rightClick, "right"},
        {&VxImageButton::middleClickImagebutton, "middle"}};
    for (const auto& [signal, name] : reports)
        QObject::connect(&button, signal, [&seen, name = name](t_imagebuttoninfo& info) {
            seen.push_back(std::string(name) + " " + std::to_string(info.imageIndex) + "/" +
                           std::to_string(info.buttonIndex));
        });
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_FALSE(button.isDown());
    QTest::mouseClick(&button, Qt::MiddleButton);
    release(button, Qt::RightButton, Qt::LeftButton | Qt::MiddleButton);
    EXPECT_EQ(seen, std::vector<std::string>(
                        {"left 5/5", "middle 5/5", "left 5/5", "right 5/5", "middle 5/5"}));
    button.setEmpty();
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_FALSE(button.isDown());
    EXPECT_EQ(seen.size(), 5u);
}
