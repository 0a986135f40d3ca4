#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include "gui/foundation/thumbnails/vx_image_button.h"
#include "gui/repository/tests/browser_test_support.h"
#include "gui/repository/vx_browse_repository.h"

using browser_test::q;
using vx_gui_test::dialogs;

namespace {

class BrowseRepository : public browser_test::StoredRepository {
protected:
    QPointer<VxBrowseRepository> open(const std::string& file)
    {
        return vx_test::capturing_stdout([&] {
            return QPointer(new VxBrowseRepository(&paths, q(file), nullptr, "Browse Repository"));
        });
    }
    ~BrowseRepository() override { vx_gui_test::flush_deferred_deletes(); }
};

}  // namespace

TEST_F(BrowseRepository, ShowsItsImagesAndExportsBothTablesOnlyWithBothNames)
{
    QPointer<VxBrowseRepository> browser = open(vxr);
    ASSERT_TRUE(browser->loaded());
    EXPECT_EQ(browser->windowTitle(), "Browse Repository: " + q(vxr));

    const std::string stem = pictures.dir.file("tables");
    dialogs().answer(QString());  // no rule
    dialogs().answer(q(stem + ".csv"));
    browser->ExportCSV();
    EXPECT_FALSE(std::filesystem::exists(stem + ".bright.csv"));

    dialogs().answer(q(update));
    dialogs().answer(q(stem + ".csv"));
    vx_test::printed_by([&] { browser->ExportCSV(); });
    for (const char* polarity : {".bright.csv", ".dark.csv"}) {
        const std::vector<std::string> rows =
            vx_test::lines_of(vx_test::read_file(stem + polarity));
        ASSERT_GT(rows.size(), 2u) << polarity;
        EXPECT_NE(rows[0].find("depth"), std::string::npos) << "the update rule's attribute";
        EXPECT_EQ(rows[2].rfind("img0.pgm", 0), 0u) << rows[2];
    }
    browser->close();

    // Names pass to the files as they are.
    const std::string other = pictures.dir.file("d\u00e9p\u00f4t \u20ac.vxr");
    std::filesystem::copy_file(vxr, other);
    QPointer<VxBrowseRepository> named = open(other);
    EXPECT_TRUE(named->loaded());
    named->close();
}

TEST_F(BrowseRepository, AFileThatCannotBeReadClosesTheBrowserAfterAPopUp)
{
    vx_test::write_file(pictures.dir.file("bad.vxr"), "Number of Images: 2\nRepository Path:\n");
    for (const std::string& file :
         {pictures.dir.file("missing.vxr"), pictures.dir.file("bad.vxr")}) {
        dialogs().press("Acknowlege");
        QPointer<VxBrowseRepository> browser = open(file);
        EXPECT_FALSE(browser->loaded());
        EXPECT_EQ(dialogs().requests().back().labels.join(' ').contains(q(file)), true);
        vx_gui_test::flush_deferred_deletes();
        EXPECT_TRUE(browser.isNull()) << file;
    }
}

TEST_F(BrowseRepository, ClicksAnalyseAndSketchThePictureUntilTheBrowserCloses)
{
    QPointer<VxBrowseRepository> browser = open(vxr);
    browser->show();
    vx_test::printed_by([&] {
        QTest::mouseClick(browser->findChildren<VxImageButton*>().value(0), Qt::LeftButton);
        QTest::mouseClick(browser->findChildren<VxImageButton*>().value(1), Qt::RightButton);
    });
    const QString images = q(pictures.images);
    QPointer<QWidget> analysis =
        browser_test::window_titled("Analyse Image " + images + "/img0.pgm");
    ASSERT_NE(analysis, nullptr);
    EXPECT_EQ(analysis->findChild<QLineEdit*>("Bright Tree Name")->text(),
              q(pictures.trees) + "/img0.3.bright.tree");
    QPointer<QWidget> sketch = browser_test::window_titled("Sketch on " + images + "/img1.pgm");
    ASSERT_NE(sketch, nullptr);
    EXPECT_TRUE(sketch->isVisible());

    // A tree or a picture gone: a pop-up each, no window.
    std::filesystem::remove(pictures.trees + "/img1.3.dark.tree");
    std::filesystem::remove(pictures.images + "/img0.pgm");
    dialogs().press("Acknowlege");
    dialogs().press("Acknowlege");
    vx_test::printed_by([&] {
        browser->StartMainDialogforImage(1);
        browser->StartContextDialogforImage(0);
    });
    EXPECT_EQ(browser_test::window_titled("Analyse Image " + images + "/img1.pgm"), nullptr);
    EXPECT_EQ(browser_test::window_titled("Sketch on " + images + "/img0.pgm"), nullptr);
    delete browser;
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(analysis.isNull());
    EXPECT_TRUE(sketch.isNull());
}
