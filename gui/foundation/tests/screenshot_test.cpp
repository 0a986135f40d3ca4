// The foundation widgets with known content, saved as screenshots.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>

#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/vx_edit_dialog.h"
#include "gui/foundation/vx_image_file_formats.h"
#include "gui/foundation/vx_message_popup.h"
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
