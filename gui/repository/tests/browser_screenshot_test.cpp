// The repository browser, the query-result browser and the query dialog
// over a stored repository of two pictures, saved as screenshots.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "gui/foundation/thumbnails/vx_image_button.h"
#include "gui/repository/tests/browser_test_support.h"
#include "gui/repository/vx_browse_query_result.h"
#include "gui/repository/vx_browse_repository.h"
#include "gui/repository/vx_query_repository_dialog.h"

using browser_test::q;

using BrowserScreenshot = browser_test::StoredRepository;

namespace {

// The area of the browser's second thumbnail (the first has the focus and
// shows faded).
QRect second_thumbnail(QWidget& browser)
{
    const QList<VxImageButton*> buttons = browser.findChildren<VxImageButton*>();
    EXPECT_EQ(buttons.size(), 2);
    VxImageButton* button = buttons.value(1);
    return button != nullptr ? QRect(button->mapTo(&browser, QPoint(0, 0)), button->size())
                             : QRect();
}

// Pixels of the area in a colour that is no grey.
int coloured_pixels(const QImage& picture, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            count += qRed(pixel) != qBlue(pixel) ? 1 : 0;
        }
    return count;
}

}  // namespace

TEST_F(BrowserScreenshot, TheRepositoryBrowserShowsItsPictures)
{
    std::unique_ptr<VxBrowseRepository> browser(vx_test::capturing_stdout(
        [&] { return new VxBrowseRepository(&paths, q(vxr), nullptr, "Browse Repository"); }));
    const QImage picture = vx_gui_test::save_screenshot(*browser, "VxBrowseRepository");
    ASSERT_EQ(picture.size(), browser->size());
    // The dark blob of the picture, enlarged.
    EXPECT_GT(vx_gui_test::dark_pixels(picture, second_thumbnail(*browser)), 400);
    auto* menu = browser->findChild<QMenuBar*>("Browse Repository Controls");
    EXPECT_GT(vx_gui_test::dark_pixels(picture, menu->geometry()), 20);
}

TEST_F(BrowserScreenshot, TheQueryResultBrowserShowsItsResultsAndItsMode)
{
    const std::string vxq = queryResult();
    std::unique_ptr<VxBrowseQueryResult> browser(vx_test::capturing_stdout(
        [&] { return new VxBrowseQueryResult(&paths, q(vxq), nullptr, "Query Result"); }));
    const QImage picture = vx_gui_test::save_screenshot(*browser, "VxBrowseQueryResult");
    ASSERT_EQ(picture.size(), browser->size());
    // The hits in their query's colour.
    EXPECT_GT(coloured_pixels(picture, second_thumbnail(*browser)), 4000);
    auto* mode =
        browser->findChild<QPushButton*>("browse query result mode selection in status bar");
    const QRect area(mode->mapTo(browser.get(), QPoint(0, 0)), mode->size());
    EXPECT_GT(vx_gui_test::dark_pixels(picture, area), 20);
}

TEST_F(BrowserScreenshot, TheQueryDialogShowsItsRowsAndTheRuleEdited)
{
    VxQueryRepositoryDialog dialog(&paths, nullptr, "Query Repository", 0);
    dialog.findChild<QLineEdit*>("Repository Filename")->setText(q(vxr));
    auto* query = dialog.findChild<QLineEdit*>("Query Rule");
    for (const std::string& rule : {brightRule, darkRule}) {
        query->setText(q(rule));
        emit query->returnPressed();
    }
    const QImage picture = vx_gui_test::save_screenshot(dialog, "VxQueryRepositoryDialog");
    ASSERT_EQ(picture.size(), QSize(500, 600));
    auto* rows = dialog.findChild<QTreeWidget*>("Selected Query Rules");
    EXPECT_GT(vx_gui_test::dark_pixels(picture, rows->geometry()), 100);
    auto* editor = dialog.findChild<QPlainTextEdit*>("Rule Editor");
    EXPECT_GT(vx_gui_test::dark_pixels(picture, editor->geometry()), 50);
    EXPECT_EQ(dialog.findChild<QLabel*>("Edit Rule Label")->text(), q(darkRule));
}
