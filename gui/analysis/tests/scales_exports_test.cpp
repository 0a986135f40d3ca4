#include <gtest/gtest.h>

#include <QDialog>
#include <QImage>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "gui/analysis/tests/scales_test_support.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/stand_in_programs.h"

using namespace analysis_test;
using vx_gui_test::dialogs;

namespace {

bool ends_with(const std::string& row, const std::string& end)
{
    return row.size() >= end.size() && row.compare(row.size() - end.size(), end.size(), end) == 0;
}

// The C4.5 export with every attribute and this stem; a failed write's
// pop-up acknowledged.
std::string export_c4_5(browser& b, const std::string& stem, bool fails = false)
{
    dialogs().answer([](QDialog&) { return 1; });
    dialogs().answer(QString::fromStdString(stem));
    if (fails)
        dialogs().press("Acknowlege");
    return vx_test::printed_by([&] { b.write_c4_5_data(); });
}

TEST_F(ScalesTest, TheTreeTableAndTheViewGetTheirNamesEndingsAndContents)
{
    auto b = open(2);
    dialogs().answer(qfile("table"));
    b->write_tree_csv();
    b->scale_up();
    dialogs().answer(qfile("view"));
    b->export_view();
    const std::vector<VxDialogRequest>& asked = dialogs().requests();
    EXPECT_EQ(asked[0].caption, "Set filename for regionfeatures table");
    EXPECT_EQ(asked[0].startPath, "picture.png_dark.csv");
    EXPECT_EQ(asked[0].filter, "(CSV Table) *.csv");
    EXPECT_EQ(vx_test::read_file(file("table.csv")).rfind("Imagename, RegionID, ", 0), 0u);
    EXPECT_EQ(asked[1].caption, "Export view filename");
    EXPECT_EQ(asked[1].startPath.toStdString(),
              std::string(control->imagename()) + "_dark_scale_1.png");
    EXPECT_EQ(asked[1].filter, "(png) *.png");
    EXPECT_EQ(QImage(qfile("view.png")).size(), QSize(48, 40));

    // Cancel writes nothing; an unwritable table is told.
    const auto files = [this] {
        return std::distance(std::filesystem::directory_iterator(dir.path()), {});
    };
    const auto written = files();
    dialogs().answer(QString());
    dialogs().answer(QString());
    b->write_tree_csv();
    b->export_view();
    EXPECT_EQ(files(), written);
    dialogs().answer(qfile("missing/table"));
    dialogs().press("Acknowlege");
    vx_test::printed_by([&] { b->write_tree_csv(); });
    EXPECT_EQ(dialogs().requests().back().title, "!!Write Error!!");
}

TEST_F(ScalesTest, C45DataNameTheActiveRegionsObjectsAndBothLearnersGetTheWholeStem)
{
    auto b = open();
    press(*b, Qt::RightButton, 22, 12, Qt::ControlModifier);
    press(*b, Qt::RightButton, 12, 12, Qt::ControlModifier);
    ASSERT_EQ(control->activeBrightNodes(), 2);
    const std::string stem = file("my stem; touch injected");
    std::string printed;
    {
        vx_test::stand_in_programs programs;
        printed = export_c4_5(*b, stem);
        const std::string calls = "c4.5\n-f\n" + stem + "\nc4.5rules\n-c\n99\n-f\n" + stem + "\n";
        EXPECT_EQ(vx_test::read_file(programs.log), calls);
        // An empty stem, or input that could not be written, runs nothing.
        export_c4_5(*b, "");
        export_c4_5(*b, file("missing/stem"), true);
        EXPECT_EQ(dialogs().requests().back().title, "!!Write Error!!");
        EXPECT_EQ(vx_test::read_file(programs.log), calls);
    }
    EXPECT_EQ(dialogs().requests()[0].title, "Select Region Atributes : Attribute Selection");
    EXPECT_EQ(dialogs().requests()[1].caption, "Set filename for C4.5 .name and .data");
    EXPECT_EQ(dialogs().requests()[1].filter, "(C4.5 Input)");
    EXPECT_NE(
        printed.find("Calling c4.5 -f " + stem + "\n\nCalling c4.5rules -c 99 -f " + stem + "\n\n"),
        std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(file("injected")));
    EXPECT_EQ(vx_test::read_file(stem + ".names").rfind("Object, Irrelevant.\n", 0), 0u);
    // One row per region below the root, in index order.
    const std::vector<std::string> rows = vx_test::lines_of(vx_test::read_file(stem + ".data"));
    ASSERT_EQ(static_cast<int>(rows.size()), control->openingtree()->regions - 1);
    EXPECT_EQ(std::count_if(rows.begin(), rows.end(),
                            [](const std::string& row) { return ends_with(row, ",Object"); }),
              2);
    for (const tregionnode* node : active_nodes(control->opennodelist(), control->onodelistsize()))
        EXPECT_TRUE(ends_with(rows[node->label - 1], ",Object")) << node->label;

    vx_test::stand_in_programs none;
    std::filesystem::remove(none.bin.file("c4.5"));
    std::filesystem::remove(none.bin.file("c4.5rules"));
    printed = export_c4_5(*b, stem);
    EXPECT_NE(printed.find("Could not run c4.5: not found\n"), std::string::npos);
    EXPECT_NE(printed.find("Could not run c4.5rules: not found\n"), std::string::npos);
    b->scale_up();
    EXPECT_EQ(b->currentScale, 1);
}

}  // namespace
