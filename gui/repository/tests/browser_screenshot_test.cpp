// The repository browser, the query-result browser and the query dialog
// over a stored repository of two pictures, saved as screenshots.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "gui/foundation/thumbnails/vx_image_button.h"
#include "gui/repository/tests/browser_test_support.h"
#include "gui/repository/vx_browse_query_result.h"
#include "gui/repository/vx_browse_repository.h"
#include "gui/repository/vx_query_repository_dialog.h"

using browser_test::q;
using StoredRepositoryScreenshot = browser_test::StoredRepository;

namespace {

// The screenshot, and the area of the second thumbnail in it (the first
// has the focus and shows faded).
QImage screenshot(QWidget& browser, const char* name, QRect* thumbnail)
{
    const QImage picture = vx_gui_test::save_screenshot(browser, name);
    EXPECT_EQ(picture.size(), browser.size());
    VxImageButton* second = browser.findChildren<VxImageButton*>().value(1);
    if (second != nullptr)
        *thumbnail = QRect(second->mapTo(&browser, QPoint(0, 0)), second->size());
    return picture;
}

}  // namespace

TEST_F(StoredRepositoryScreenshot, BrowsersShowTheirPicturesAndTheQueryDialogItsRows)
{
    QRect thumbnail;
    std::unique_ptr<VxBrowseRepository> repository(vx_test::capturing_stdout(
        [&] { return new VxBrowseRepository(&paths, q(vxr), nullptr, "Browse Repository"); }));
    QImage picture = screenshot(*repository, "VxBrowseRepository", &thumbnail);
    EXPECT_GT(vx_gui_test::dark_pixels(picture, thumbnail), 400) << "the dark blob, enlarged";

    const std::string vxq = queryResult();
    std::unique_ptr<VxBrowseQueryResult> result(vx_test::capturing_stdout(
        [&] { return new VxBrowseQueryResult(&paths, q(vxq), nullptr, "Query Result"); }));
    picture = screenshot(*result, "VxBrowseQueryResult", &thumbnail);
    int coloured = 0;  // the hits in their query's colour
    for (int y = thumbnail.top(); y <= thumbnail.bottom(); ++y)
        for (int x = thumbnail.left(); x <= thumbnail.right(); ++x)
            coloured += qRed(picture.pixel(x, y)) != qBlue(picture.pixel(x, y)) ? 1 : 0;
    EXPECT_GT(coloured, 4000);
    auto* mode =
        result->findChild<QPushButton*>("browse query result mode selection in status bar");
    EXPECT_GT(
        vx_gui_test::dark_pixels(picture, QRect(mode->mapTo(result.get(), QPoint()), mode->size())),
        20);

    VxQueryRepositoryDialog dialog(&paths, nullptr, "Query Repository", 0);
    dialog.findChild<QLineEdit*>("Repository Filename")->setText(q(vxr));
    auto* query = dialog.findChild<QLineEdit*>("Query Rule");
    for (const std::string& rule : {brightRule, darkRule}) {
        query->setText(q(rule));
        emit query->returnPressed();
    }
    picture = vx_gui_test::save_screenshot(dialog, "VxQueryRepositoryDialog");
    ASSERT_EQ(picture.size(), QSize(500, 600));
    auto* rows = dialog.findChild<QTreeWidget*>("Selected Query Rules");
    EXPECT_GT(vx_gui_test::dark_pixels(picture, rows->geometry()), 100);
    auto* editor = dialog.findChild<QPlainTextEdit*>("Rule Editor");
    EXPECT_GT(vx_gui_test::dark_pixels(picture, editor->geometry()), 50);
    EXPECT_EQ(dialog.findChild<QLabel*>("Edit Rule Label")->text(), q(darkRule));
}
