// Projects written with "Write VXP" keep their own trees and read the same
// from every working folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "gui/analysis/tests/main_dialog_test_support.h"
#include "testsupport/gui/gui_test.h"

using namespace analysis_test;
using vx_gui_test::dialogs;

namespace {

TEST_F(MainDialogTest, ProjectsOfTwoImagesReopenFromAnotherFolderWithTheirOwnRegions)
{
    std::filesystem::create_directory(file("projects"));
    std::filesystem::create_directory(file("elsewhere"));
    // Pictures of one size: trees shared by mistake would fit both.
    const std::vector<std::pair<std::string, QImage>> images = {
        {"one", picture(48, 32, {{8, 8, 8, 8, 200}})},
        {"two", picture(48, 32, {{8, 8, 8, 8, 200}, {30, 4, 12, 20, 120}, {20, 24, 4, 4, 90}})}};
    // Each analysis' bright regions and hits.
    std::vector<std::pair<int, int>> regions;
    for (const auto& [stem, img] : images) {
        open(img, stem + ".png");
        query(square_rule);
        regions.push_back({control->openingtree()->regions, control->activeBrightNodes()});
        // The name without ".vxp" gets it; the trees take the project's name.
        dialogs().answer(qfile("projects/" + stem));
        press("Write VXP");
        const QString trees = qfile("projects/" + stem);
        EXPECT_EQ(child<QLineEdit>("Bright Tree Name")->text(), trees + ".bright.tree");
        EXPECT_EQ(child<QLineEdit>("Dark Tree Name")->text(), trees + ".dark.tree");
        EXPECT_EQ(control->openingtreename(), file("projects/" + stem + ".bright.tree"));
        EXPECT_TRUE(QFile::exists(trees + ".vxp"));
        delete dialog;
    }
    EXPECT_FALSE(QFile::exists(qfile("corvella.bright.tree")));
    ASSERT_NE(regions[0].first, regions[1].first);

    ASSERT_TRUE(QDir::setCurrent(qfile("elsewhere")));
    for (std::size_t k = 0; k < images.size(); ++k) {
        const std::string& stem = images[k].first;
        std::unique_ptr<vx_analyse_control> loaded;
        vx_test::printed_by([&] {
            loaded = std::make_unique<vx_analyse_control>(file("projects/" + stem + ".vxp").c_str(),
                                                          "reopened", 3, nullptr);
        });
        ASSERT_TRUE(loaded->loaded()) << loaded->loadFailure().toStdString();
        EXPECT_EQ(loaded->imagename(), file(stem + ".png"));
        EXPECT_EQ(loaded->openingtree()->regions, regions[k].first) << stem;
        vx_test::printed_by([&] { EXPECT_TRUE(loaded->apply_open_rule()); });
        EXPECT_EQ(loaded->activeBrightNodes(), regions[k].second) << stem;
    }
}

}  // namespace
