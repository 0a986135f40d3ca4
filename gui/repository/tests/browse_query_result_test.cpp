#include <gtest/gtest.h>

#include <QAction>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <cstring>

#include "gui/foundation/thumbnails/vx_image_button.h"
#include "gui/foundation/vx_edit_dialog.h"
#include "gui/repository/tests/browser_test_support.h"
#include "gui/repository/vx_analyze_volume_export_dialog.h"
#include "gui/repository/vx_browse_query_result.h"
#include "gui/repository/vx_class_export_dialog.h"

using browser_test::q;
using vx_gui_test::dialogs;

namespace {

class BrowseQueryResult : public browser_test::StoredRepository {
protected:
    QPointer<VxBrowseQueryResult> open(const std::string& file)
    {
        return vx_test::capturing_stdout([&] {
            return QPointer(new VxBrowseQueryResult(&paths, q(file), nullptr, "Query Result"));
        });
    }
    ~BrowseQueryResult() override { vx_gui_test::flush_deferred_deletes(); }

    static QAction* entry(QWidget* browser, const QString& text)
    {
        for (QAction* action : browser->findChildren<QAction*>())
            if (action->text() == text)
                return action;
        return nullptr;
    }
    static void trigger(QWidget* browser, const QString& text)
    {
        vx_test::printed_by([&] { entry(browser, text)->trigger(); });
    }
    bool exists(const std::string& name) const
    {
        return std::filesystem::exists(pictures.dir.file(name));
    }
};

}  // namespace

TEST_F(BrowseQueryResult, ExportsTheTableOfItsModeAndTheImagesAndVolumesOfItsClasses)
{
    QPointer<VxBrowseQueryResult> browser = open(queryResult());
    ASSERT_TRUE(browser->loaded());
    EXPECT_NE(entry(browser, "IsoSurf Input")->shortcut(),
              entry(browser, "Analyze Volume")->shortcut());

    // The table: its name from the repository's, Cancel writing nothing.
    dialogs().answer(QString());
    trigger(browser, "Regions CSV Table");
    EXPECT_EQ(dialogs().requests().back().startPath,
              q(pictures.dir.file("rep.classified.bright.csv")));
    auto* mode =
        browser->findChild<QPushButton*>("browse query result mode selection in status bar");
    mode->click();
    EXPECT_EQ(mode->text(), "Dark Mode");
    dialogs().answer(q(pictures.dir.file("dark.csv")));
    trigger(browser, "Regions CSV Table");
    EXPECT_EQ(dialogs().requests().back().startPath,
              q(pictures.dir.file("rep.classified.dark.csv")));
    const std::vector<std::string> rows =
        vx_test::lines_of(vx_test::read_file(pictures.dir.file("dark.csv")));
    ASSERT_GT(rows.size(), 2u);
    EXPECT_NE(rows[2].find(".dark.tree, " + darkRule + ","), std::string::npos) << rows[2];

    // The regions of class 2 alone.
    dialogs().answer([this](QDialog& dialog) {
        auto& choice = static_cast<VxClassExportDialog&>(dialog);
        choice.setClass(1);
        choice.setFileName(q(pictures.dir.file("class")));
        choice.DoIt();
        return choice.result();
    });
    trigger(browser, "Regions By Class");
    EXPECT_TRUE(exists("class.img1.3.dark.tree.png"));

    // Volumes: width x height bytes per image.
    const size_t bytes = 24 * 20 * 2;
    dialogs().answer(q(pictures.dir.file("contours.isovol")));
    trigger(browser, "IsoSurf Input");
    EXPECT_EQ(std::filesystem::file_size(pictures.dir.file("contours.isovol")), bytes);
    dialogs().answer([this](QDialog& dialog) {
        auto& volume = static_cast<VxAnalyzeVolumeExportDialog&>(dialog);
        volume.setFileName(q(pictures.dir.file("volume")));
        volume.setZScale("2.5");
        volume.DoIt();
        return volume.result();
    });
    trigger(browser, "Analyze Volume");
    const std::string header = vx_test::read_file(pictures.dir.file("volume.hdr"));
    ASSERT_EQ(header.size(), 348u);
    int16_t slices = 0;
    float spacing = 0;
    std::memcpy(&slices, header.data() + 46, sizeof slices);
    std::memcpy(&spacing, header.data() + 88, sizeof spacing);
    EXPECT_EQ(slices, 2);
    EXPECT_FLOAT_EQ(spacing, 2.5f);
    EXPECT_EQ(std::filesystem::file_size(pictures.dir.file("volume.img")), bytes);
    browser->close();
}

TEST_F(BrowseQueryResult, AFileReadInPartClosesTheBrowserAndStaysAsItWas)
{
    // Its first image still names the repository's picture: a labelling
    // read whole would get that label image and be rewritten.
    const std::string vxq = pictures.dir.file("labels.vxq");
    const std::string text = "Classification from today for Repository\n" + vxr + "\nImages at\n" +
                             results + "\nNumberOfClasses: 2\nIrrelevant\n" + brightRule +
                             ", Mode 1\nImages: 2\n" + pictures.images +
                             "/img0.pgm, 1, 1, 1, \nimg1.pgm, 1, 5, 1\n";
    vx_test::write_file(vxq, text);
    dialogs().press("Acknowlege");
    QPointer<VxBrowseQueryResult> browser = open(vxq);
    EXPECT_FALSE(browser->loaded());
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(browser.isNull());
    EXPECT_EQ(vx_test::read_file(vxq), text);
    EXPECT_TRUE(std::filesystem::is_empty(results)) << "no label image";
}

TEST_F(BrowseQueryResult, AClickAnalysesTheImageWithTheLastRuleOfEachPolarity)
{
    QPointer<VxBrowseQueryResult> browser = open(queryResult(1));  // no dark class
    browser->show();
    vx_test::printed_by([&] {
        QTest::mouseClick(browser->findChildren<VxImageButton*>().value(0), Qt::LeftButton);
    });
    QPointer<QWidget> analysis =
        browser_test::window_titled("Analyse Image " + q(pictures.images) + "/img0.pgm");
    ASSERT_NE(analysis, nullptr);
    EXPECT_EQ(analysis->findChild<VxEditDialog*>("Bright Rule Edit")->File(), q(darkRule));
    EXPECT_EQ(analysis->findChild<VxEditDialog*>("Dark Rule Edit")->File(), "Dark_Objects.rule");
    delete browser;
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(analysis.isNull());
}
