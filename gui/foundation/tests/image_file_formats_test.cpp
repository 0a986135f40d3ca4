#include <gtest/gtest.h>

#include <QGroupBox>
#include <QImageWriter>
#include <QPushButton>
#include <QSignalSpy>

#include "gui/foundation/vx_image_file_formats.h"
#include "testsupport/gui/gui_test.h"

TEST(VxImageFileFormats, KnowsTheWritersFormatsInEitherCase)
{
    VxImageFileFormats formats(nullptr, "Choose a Format", 1);
    EXPECT_EQ(formats.windowTitle(), "Choose a Format");
    EXPECT_FALSE(formats.isModal());
    const int png = formats.knownFormat("png");
    EXPECT_GE(png, 0);
    EXPECT_EQ(formats.knownFormat("PNG"), png);
    EXPECT_EQ(formats.knownFormat("tree"), -1);
    EXPECT_EQ(formats.Selection(), "");
    EXPECT_EQ(formats.SelectionIDX(), -1);
}

TEST(VxImageFileFormats, ReleasingAButtonChoosesItsFormat)
{
    VxImageFileFormats formats(nullptr, nullptr, 0);
    QString text = "Unknown extension";
    formats.initGraphicalSelection(text);
    const QList<QPushButton*> buttons = formats.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), QImageWriter::supportedImageFormats().size());
    EXPECT_EQ(formats.findChild<QGroupBox*>()->title(), "File Format Selection");
    for (QPushButton* button : buttons)
        EXPECT_EQ(button->objectName(), "Format Selection Button");

    QSignalSpy chosen(&formats, &VxImageFileFormats::selectedImageFormat);
    const int png = formats.knownFormat("png");
    buttons[png]->click();
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toString(), "PNG");
    EXPECT_EQ(formats.Selection(), "PNG");
    EXPECT_EQ(formats.SelectionIDX(), png);
    EXPECT_EQ(formats.result(), 0);

    formats.FormatSelection(-1);
    formats.FormatSelection(static_cast<int>(buttons.size()));
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_EQ(formats.SelectionIDX(), png);
}

TEST(VxImageFileFormats, AModalChooserEndsWithTheChoice)
{
    VxImageFileFormats formats(nullptr, nullptr, 0);
    QString text = "Pick";
    formats.initGraphicalSelection(text);
    formats.setModal(true);
    vx_gui_test::dialogs().answer([](QDialog& dialog) {
        auto& chooser = static_cast<VxImageFileFormats&>(dialog);
        chooser.FormatSelection(chooser.knownFormat("bmp"));
        return dialog.result();
    });
    EXPECT_EQ(vx_dialogs().exec(formats), QDialog::Accepted);
    EXPECT_EQ(formats.Selection(), "BMP");
}
