// Projects written with "Write VXP" live in their folder: they keep their
// own trees and rules and read the same from every working folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QLineEdit>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "gui/analysis/tests/main_dialog_test_support.h"
#include "gui/foundation/vx_edit_dialog.h"
#include "testsupport/gui/gui_test.h"

using namespace analysis_test;
using vx_gui_test::dialogs;

namespace {

// Every file below the folder with its inode and bytes.
std::map<std::string, std::pair<ino_t, std::string>> files_below(const std::string& folder)
{
    std::map<std::string, std::pair<ino_t, std::string>> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        struct stat info {};
        EXPECT_EQ(stat(entry.path().c_str(), &info), 0);
        files[entry.path()] = {info.st_ino, entry.is_regular_file()
                                                ? vx_test::read_file(entry.path())
                                                : std::string()};
    }
    return files;
}

std::unique_ptr<vx_analyse_control> load(const std::string& project)
{
    std::unique_ptr<vx_analyse_control> loaded;
    vx_test::printed_by([&] {
        loaded = std::make_unique<vx_analyse_control>(project.c_str(), "reopened", 3, nullptr);
    });
    return loaded;
}

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
        const auto loaded = load(file("projects/" + stem + ".vxp"));
        ASSERT_TRUE(loaded->loaded()) << loaded->loadFailure().toStdString();
        EXPECT_EQ(loaded->imagename(), file(stem + ".png"));
        EXPECT_EQ(loaded->openingtree()->regions, regions[k].first) << stem;
        vx_test::printed_by([&] { EXPECT_TRUE(loaded->apply_open_rule()); });
        EXPECT_EQ(loaded->activeBrightNodes(), regions[k].second) << stem;
    }
}

TEST_F(MainDialogTest, ACopiedProjectFolderOpensItsOwnTreesWhenTheOriginalChanges)
{
    std::filesystem::create_directory(file("orig"));
    open(picture(48, 32, {{8, 8, 8, 8, 200}}), "orig/page.png");
    const int regions = control->openingtree()->regions;
    dialogs().answer(qfile("orig/p.vxp"));
    press("Write VXP");
    EXPECT_EQ(vx_test::lines_of(vx_test::read_file(file("orig/p.vxp")))[0],
              "BrightTree: p.bright.tree");
    std::filesystem::copy(file("orig"), file("copy"));
    delete dialog;

    // The original's trees become those of a picture of the same size.
    open(picture(48, 32, {{8, 8, 8, 8, 200}, {30, 4, 12, 20, 120}, {20, 24, 4, 4, 90}}),
         "other.png");
    ASSERT_NE(control->openingtree()->regions, regions);
    dialogs().answer(qfile("orig/p.vxp"));
    press("Write VXP");

    const auto copy = load(file("copy/p.vxp"));
    ASSERT_TRUE(copy->loaded()) << copy->loadFailure().toStdString();
    EXPECT_EQ(copy->imagename(), file("copy/page.png"));
    EXPECT_EQ(copy->openingtreename(), file("copy/p.bright.tree"));
    EXPECT_EQ(copy->openingtree()->regions, regions);
}

TEST_F(MainDialogTest, WriteVxpOfAProjectNamingTreesOutsideItsFolderChangesNothingThere)
{
    std::filesystem::create_directories(file("home/x"));
    std::filesystem::create_directory(file("proj"));
    // Trees of the picture that another project left outside the folder.
    open(square_on_black(), "proj/page.png");
    dialogs().answer(qfile("home/x/orig.vxp"));
    press("Write VXP");
    delete dialog;
    write(file("proj/p.vxp"), "BrightTree: " + file("home/x/orig.bright.tree") +
                                  "\nDarkTree: ../home/x/orig.dark.tree\n"
                                  "Resultname: r.png\nImagename: page.png\n"
                                  "Brightrule: b.rule\nDarkrule: d.rule\n"
                                  "Brightresults: b.contours\nDarkresults: d.contours\n"
                                  "Attributes: " +
                                  file("Attributes.rule") + "\n");
    const auto outside = files_below(file("home"));

    // They are read, but written beside the project under its name.
    auto loaded = load(file("proj/p.vxp"));
    ASSERT_TRUE(loaded->loaded()) << loaded->loadFailure().toStdString();
    control = loaded.get();
    dialog = vx_test::capturing_stdout([&] {
        return new vx_analyse_main_dialog(shared.get(), loaded.release(), nullptr, "Analyse Image",
                                          0);
    });
    dialogs().answer(qfile("proj/p.vxp"));
    press("Write VXP");
    EXPECT_EQ(files_below(file("home")), outside);
    const auto lines = vx_test::lines_of(vx_test::read_file(file("proj/p.vxp")));
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "BrightTree: p.bright.tree");
    EXPECT_EQ(lines[1], "DarkTree: p.dark.tree");
    EXPECT_EQ(child<QLineEdit>("Dark Tree Name")->text(), qfile("proj/p.dark.tree"));
    for (const char* written : {"p.bright.tree", "p.dark.tree.csv"})
        EXPECT_TRUE(std::filesystem::exists(file("proj/") + written)) << written;
}

TEST_F(MainDialogTest, ProjectsOfOneWorkingFolderKeepTheirOwnRulesAndATypoReplacesNone)
{
    const auto writeProject = [&](const std::string& stem, const std::string& rule) {
        open(square_on_black(), stem + ".png");
        query(rule);
        dialogs().answer(qfile(stem));
        press("Write VXP");
        EXPECT_EQ(child<VxEditDialog>("Bright Rule Edit")->File(), qfile(stem + ".bright.rule"));
        EXPECT_EQ(control->brightrulesname(), file(stem + ".bright.rule"));
    };
    writeProject("one", square_rule);
    delete dialog;
    const std::string wide = "RULES: TD: area > 500 #RULES\n";
    writeProject("two", wide);
    EXPECT_EQ(vx_test::read_file(file("one.bright.rule")), square_rule);
    EXPECT_EQ(vx_test::read_file(file("two.bright.rule")), wide);
    EXPECT_EQ(vx_test::read_file(file("two.dark.rule")), "");

    // A typo stays in the editor; the file keeps the rule that ran.
    const std::string typo = "RULES: TD: area > #RULES\n";
    dialogs().press("Acknowlege");
    query(typo);
    EXPECT_TRUE(dialogs().requests().back().labels.join("\n").contains("does not parse"));
    EXPECT_EQ(child<VxEditDialog>("Bright Rule Edit")->findChild<QPlainTextEdit*>()->toPlainText(),
              QString::fromStdString(typo));
    EXPECT_EQ(vx_test::read_file(control->brightrulesname()), wide);
}

}  // namespace
