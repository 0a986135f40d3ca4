#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QSignalSpy>
#include <vector>

#include "frame_test_support.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/vx_image_file_formats.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/vx_test.h"

using vx_gui_test::dialogs;

namespace {

// Colours (1, 2, 2), (255, 0, 0), (77, 77, 77), (10, 20, 31).
std::vector<int> colours()
{
    return {0x010202, 0xFF0000, 0x4D4D4D, 0x0A141F};
}

std::vector<int> converted(void (qimage_frame::*conversion)())
{
    std::vector<int> words = colours();
    qimage_frame frame(4, 1, words.data(), nullptr, nullptr, 0);
    frame.resizeFrame(9, 3);
    frame.setZoomWindow(2, 0, 0);
    vx_test::printed_by([&] { (frame.*conversion)(); });
    EXPECT_EQ(frame.minimumSize(), QSize(4, 1));
    EXPECT_EQ(frame.DisplayFrameWidth(), 4);  // zoom 1
    EXPECT_EQ(frame_test::screen_of(frame).pixel(0, 0), qRgb(words[0], words[0], words[0]));
    (frame.*conversion)();  // mode 1 already: nothing converted again
    return words;
}

VxScriptedDialogs::Action choose(const char* format)
{
    return [format](QDialog& dialog) {
        auto& chooser = static_cast<VxImageFileFormats&>(dialog);
        chooser.FormatSelection(chooser.knownFormat(format));
        return dialog.result();
    };
}

void press_ctrl(QWidget& widget, Qt::Key key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::ControlModifier);
    QApplication::sendEvent(&widget, &event);
}

}  // namespace

TEST(FrameGreyConversions, TurnColoursIntoGreyWordsOnce)
{
    // (1, 2, 2) rounds to 2 where truncation gives 1; equal channels stay.
    EXPECT_EQ(converted(&qimage_frame::convertGreyNormalized), std::vector<int>({2, 85, 77, 20}));
    EXPECT_EQ(converted(&qimage_frame::convertMaxNormalized), std::vector<int>({2, 255, 77, 31}));
    EXPECT_EQ(converted(&qimage_frame::convertGreyEuclidean), std::vector<int>({1, 147, 77, 22}));
}

TEST(FrameWriting, TheFormatComesFromTheFileNameAlone)
{
    vx_test::TempDir dir;
    const QString d = QString::fromStdString(dir.path().string());
    std::vector<int> words(4 * 3);
    for (int k = 0; k < 12; ++k)
        words[static_cast<size_t>(k)] = k * 0x111111;
    qimage_frame frame(4, 3, words.data(), nullptr, nullptr, 0);

    EXPECT_TRUE(frame.write_image(d + "/view.PNG"));
    EXPECT_EQ(QImage(d + "/view.png").pixel(3, 2), qRgb(0xBB, 0xBB, 0xBB));
    EXPECT_TRUE(frame.write_image((dir.file("given.dat")).c_str(), "bmp"));
    EXPECT_TRUE(QFile::exists(d + "/given.bmp"));
    EXPECT_TRUE(dialogs().requests().empty());

    // A dotted folder and a file without extension, and an extension no
    // writer knows, ask the chooser.
    QDir(d).mkdir("a.b");
    dialogs().answer(choose("png"));
    EXPECT_TRUE(frame.write_image(d + "/a.b/view"));
    EXPECT_TRUE(QFile::exists(d + "/a.b/view.png"));
    ASSERT_EQ(dialogs().requests().size(), 1u);
    EXPECT_EQ(dialogs().requests()[0].title, "Check Image Formats");
    EXPECT_EQ(dialogs().requests()[0].labels.value(0), "Format . unknown\nPlease select one of");
    dialogs().answer(choose("bmp"));
    EXPECT_TRUE(frame.write_image(d + "/table.tree"));
    EXPECT_TRUE(QFile::exists(d + "/table.bmp"));

    // No choice, or no folder: the pop-up and no file.
    dialogs().answer([](QDialog& dialog) {
        dialog.reject();
        return static_cast<int>(QDialog::Rejected);
    });
    dialogs().press("Acknowlege");
    EXPECT_FALSE(frame.write_image(d + "/left.tree"));
    EXPECT_FALSE(QFile::exists(d + "/left.tree"));
    EXPECT_EQ(dialogs().requests().back().title, "!!Write Error!!");
    EXPECT_TRUE(
        dialogs().requests().back().labels.contains("Unable to write file\n" + d + "/left.tree"));
    dialogs().press("Acknowlege");
    EXPECT_FALSE(frame.write_image(d + "/none/view.png"));
    EXPECT_EQ(QDir(d).entryList(QDir::Files).size(), 3);

    // What is written is the viewport: at zoom 2 in blocks of 2 x 2.
    frame.resizeFrame(8, 6);
    frame.setZoomWindow(2, 0, 0);
    frame.updateZoomWindow();
    EXPECT_TRUE(frame.write_image(d + "/zoom.png"));
    const QImage zoomed(d + "/zoom.png");
    EXPECT_EQ(zoomed.size(), QSize(8, 6));
    EXPECT_EQ(zoomed.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(zoomed.pixel(2, 1), qRgb(0x11, 0x11, 0x11));
    EXPECT_EQ(zoomed.pixel(7, 5), qRgb(0xBB, 0xBB, 0xBB));
}

TEST(FrameWriting, CtrlSExportsTheViewAsPng)
{
    vx_test::TempDir dir;
    const QString d = QString::fromStdString(dir.path().string());
    qimage_frame frame(5, 4, nullptr);
    QSignalSpy pressed(&frame, &qimage_frame::ctlSpressed);
    dialogs().answer(d + "/shot");
    press_ctrl(frame, Qt::Key_S);
    EXPECT_EQ(QImage(d + "/shot.png").size(), QSize(5, 4));
    ASSERT_EQ(dialogs().requests().size(), 1u);
    const VxDialogRequest& request = dialogs().requests()[0];
    EXPECT_EQ(request.kind, VxDialogRequest::SaveFile);
    EXPECT_EQ(request.objectName, "Export Display filename");
    EXPECT_EQ(request.caption, "Export Display filename");
    EXPECT_EQ(request.startPath, "DisplayView.png");
    EXPECT_EQ(request.filter, "(png) *.png");

    dialogs().answer(d + "/again.png");
    press_ctrl(frame, Qt::Key_S);
    dialogs().answer(QString());  // Cancel
    press_ctrl(frame, Qt::Key_S);
    frame.CTL_S_SaveDialog(1);
    press_ctrl(frame, Qt::Key_S);
    press_ctrl(frame, Qt::Key_A);
    EXPECT_EQ(pressed.count(), 4);
    EXPECT_EQ(dialogs().requests().size(), 3u);
    EXPECT_EQ(QDir(d).entryList(QDir::Files), QStringList({"again.png", "shot.png"}));
}
