// The ground-truth comparison dialogs on small repositories, driven through
// their fields, choosers and Compare button.
#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "analyse/files/treeio.h"
#include "analyse/trees/tree_walk.h"
#include "automation/detail/handles.h"
#include "automation/repository/vx_labeled_repository.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/repository/vx_compare_labeled_repository_dialog.h"
#include "gui/repository/vx_compare_repository_tree_dialog.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/repository_fixture.h"
#include "testsupport/vx_test.h"

using vx_gui_test::dialogs;
using vx_test::capturing_stdout;
using vx_test::lines_of;
using vx_test::read_file;

namespace {

using vx_gui_test::q;

// n pictures (24 x 20) in "r.vxr" and their labelling without labels in
// "r.vxq". With `matched` the trees are computed (4 scales), and for each
// picture a leaf region of its bright tree (first sons down from the root)
// is its ground truth "imgN.gt.png" (label 1 on 0) and labelled as class 1.
struct compared_repository {
    vx_test::repository_dir d;
    std::string truth = d.dir.file("gt"), labels = d.dir.file("labels");
    std::string vxr = d.dir.file("r.vxr"), vxq = d.dir.file("r.vxq");
    std::vector<int> regionPixel;  // a pixel of each ground-truth region

    compared_repository(int n, bool matched) : d(n)
    {
        std::filesystem::create_directory(truth);
        std::filesystem::create_directory(labels);
        auto repository = d.repository(3);
        if (matched)
            vx_test::compute_trees(*repository, 4);
        VxLabeledRepository labeled;
        capturing_stdout([&] {
            repository->write(vxr.c_str());
            labeled.init(2, nullptr, labels.c_str(), vxr.c_str());
            return 0;
        });
        for (int i = 0; matched && i < n; ++i) {
            const std::string stem = "img" + std::to_string(i);
            region_tree_handle tree(
                load_elemset_region_tree((d.trees + "/" + stem + ".4.bright.tree").c_str()));
            const tregionnode* region = tree->root;
            while (!is_leaf(region))
                region = first_son(region);
            QImage gt(24, 20, QImage::Format_Grayscale8);
            gt.fill(0);
            for (int k = 0; k < region->size; ++k)
                gt.setPixel(region->pixels[k] % 24, region->pixels[k] / 24, qRgb(1, 1, 1));
            EXPECT_TRUE(gt.save(q(truth + "/" + stem + ".gt.png")));
            regionPixel.push_back(region->pixels[0]);
            labeled.setImage(i, 1, &region->file_index, 1, labeled.getImageName(i));
        }
        EXPECT_EQ(labeled.write(vxq.c_str()), 1);
    }
};

class CompareDialogTest : public ::testing::Test {
protected:
    vx_test::TempDir work;
    QString workDir = q(work.path().string());
    VxBasePaths paths{workDir, workDir + "/Attributes.rule", QString(), workDir, workDir,
                      nullptr, "Global Base Paths",          0};

    static QLineEdit* edit(QWidget* dialog, const char* name)
    {
        return dialog->findChild<QLineEdit*>(name);
    }
    static QProgressBar* bar(QWidget* dialog)
    {
        return dialog->findChild<QProgressBar*>("Dark Progress Bar");
    }
    static void fill(QWidget* dialog,
                     std::initializer_list<std::pair<const char*, std::string>> fields)
    {
        for (const auto& [name, text] : fields)
            edit(dialog, name)->setText(q(text));
    }
    // Clicks Compare; returns what the comparison printed. The dialog is
    // deleted once the deferred deletes run.
    static std::string compare(QWidget* dialog)
    {
        return vx_test::printed_by(
            [dialog] { dialog->findChild<QPushButton*>("Start Comparison")->click(); });
    }
    // Clicks Compare on a dialog that refuses to compare; returns the
    // message of the one pop-up it shows. The dialog is gone then.
    static QString refusal(QWidget* dialog)
    {
        const QPointer<QWidget> alive = dialog;
        dialogs().press("Acknowlege");
        compare(dialog);
        vx_gui_test::flush_deferred_deletes();
        EXPECT_TRUE(alive.isNull());
        EXPECT_EQ(dialogs().requests().size(), 1u);
        const QString message = dialogs().requests().front().labels.value(1);
        dialogs().clear();
        return message;
    }
};

}  // namespace

using CompareRepositoryTreeDialog = CompareDialogTest;

TEST_F(CompareRepositoryTreeDialog, WritesARowPerImageWithTheExactMatchAndGreyBestMatchImages)
{
    compared_repository r(2, true);
    const std::string table = r.d.dir.file("trees.csv"), out = r.d.dir.file("out");
    std::filesystem::create_directory(out);
    QPointer<VxCompareRepositoryTreeDialog> dialog =
        new VxCompareRepositoryTreeDialog(&paths, nullptr, "Compare Labeled Repository");
    EXPECT_EQ(edit(dialog, "Quality")->text(), "0");
    fill(dialog, {{"Repository to Compare", r.vxr},
                  {"Path to Ground Truth to Compare", r.truth},
                  {"Ground Truth Tag", "gt"},
                  {"Quality", "0.5"},
                  {"Comparison Result File", table}});
    dialogs().answer(q(out));
    dialog->findChild<QPushButton*>("Path to Resultimages")->click();
    EXPECT_EQ(edit(dialog, "Result Tag")->text(), "cmpres");
    EXPECT_EQ(dialogs().requests().at(0).startPath, workDir);

    QSignalSpy steps(bar(dialog), &QProgressBar::valueChanged);
    compare(dialog);
    EXPECT_EQ(steps.count(), 2);
    EXPECT_EQ(bar(dialog)->value(), 2);
    EXPECT_EQ(bar(dialog)->maximum(), 2);
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(dialog.isNull());

    // The repository path ends in '/' before the "%s/%s" join.
    std::vector<std::string> rows = {
        "TreeFile; Ground Truth File; Objects GT; Objects Matched; Match Rate; Avg. Quality "
        "matched; Avg. Quality all; Quality Dev"};
    for (const char* stem : {"img0", "img1"})
        rows.push_back(r.d.trees + "//" + stem + ".4.bright.tree; " + r.truth + "/" + stem +
                       ".gt.png; 1; 1; 1.000000; 0.000000;0.000000; 0.500000;");
    EXPECT_EQ(lines_of(read_file(table)), rows);
    for (int i = 0; i < 2; ++i) {
        const QImage best(q(out + "/img" + std::to_string(i) + ".cmpres.png"));
        ASSERT_TRUE(best.isGrayscale());
        const int p = r.regionPixel[i];
        EXPECT_EQ(best.pixel(p % 24, p / 24), qRgb(128, 128, 128));
    }

    // A quality that is no number is 0: nothing of the dark trees matches.
    auto* dark = new VxCompareRepositoryTreeDialog(&paths, nullptr, "Compare");
    fill(dark, {{"Repository to Compare", r.vxr},
                {"Path to Ground Truth to Compare", r.truth},
                {"Ground Truth Tag", "gt"},
                {"Quality", "abc"},
                {"Comparison Result File", table}});
    dark->findChild<QPushButton*>("Mode")->click();
    compare(dark);
    vx_gui_test::flush_deferred_deletes();
    EXPECT_EQ(lines_of(read_file(table)).at(1),
              r.d.trees + "//img0.4.dark.tree; " + r.truth +
                  "/img0.gt.png; 1; 0; 0.000000; 0.000000;0.000000; 0.000000;");
}

TEST_F(CompareRepositoryTreeDialog, RefusalsAndUnwritableTablesGetAPopUp)
{
    compared_repository r(1, false);
    const std::string table = r.d.dir.file("t.csv"), bad = r.d.dir.file("bad.vxr");
    vx_test::write_file(bad, "Number of Images: x\n");
    auto* dialog = new VxCompareRepositoryTreeDialog(&paths, nullptr, "Compare");
    fill(dialog, {{"Repository to Compare", r.vxr}, {"Comparison Result File", table}});
    EXPECT_EQ(refusal(dialog), "The field \"Path to GT Images\" is empty.");
    dialog = new VxCompareRepositoryTreeDialog(&paths, nullptr, "Compare");
    fill(dialog, {{"Repository to Compare", bad},
                  {"Path to Ground Truth to Compare", r.truth},
                  {"Comparison Result File", table}});
    EXPECT_EQ(refusal(dialog), q("Unable to read file\n" + bad));
    EXPECT_FALSE(std::filesystem::exists(table));
    // A range is no list of ids.
    dialog = new VxCompareRepositoryTreeDialog(&paths, nullptr, "Compare");
    fill(dialog, {{"Repository to Compare", r.vxr},
                  {"Path to Ground Truth to Compare", r.truth},
                  {"Valid GT IDs", "1-24"},
                  {"Comparison Result File", table}});
    EXPECT_EQ(refusal(dialog),
              "\"1-24\" is no comma-separated list of label values (like 1, 2, 7).");
    EXPECT_FALSE(std::filesystem::exists(table));
    // A table that cannot be written is reported, not taken as done.
    const std::string unwritable = r.d.dir.file("none/t.csv");
    dialog = new VxCompareRepositoryTreeDialog(&paths, nullptr, "Compare");
    fill(dialog, {{"Repository to Compare", r.vxr},
                  {"Path to Ground Truth to Compare", r.truth},
                  {"Comparison Result File", unwritable}});
    EXPECT_EQ(refusal(dialog), q("Unable to write file\n" + unwritable));
}

TEST_F(CompareRepositoryTreeDialog, ImagesWithoutGroundTruthAreNamedInOnePopUp)
{
    compared_repository r(14, false);
    const std::string table = r.d.dir.file("t.csv");
    QPointer<VxCompareRepositoryTreeDialog> dialog =
        new VxCompareRepositoryTreeDialog(&paths, nullptr, "Compare");
    fill(dialog, {{"Repository to Compare", r.vxr},
                  {"Path to Ground Truth to Compare", r.truth},
                  {"Ground Truth Tag", "gt"},
                  {"Comparison Result File", table}});
    dialogs().press("Acknowlege");
    const std::string printed = compare(dialog);
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(dialog.isNull());
    ASSERT_EQ(dialogs().requests().size(), 1u);
    QString names;
    for (int i = 0; i < 12; ++i)
        names += "\nimg" + QString::number(i) + ".pgm";
    EXPECT_EQ(dialogs().requests().front().labels.value(1),
              q("No ground truth could be read in\n" + r.truth +
                "\nfor 14 of 14 images; their rows in the table hold zeros:\n") +
                  names + "\n... and 2 more, all named on the standard output.");
    dialogs().clear();
    EXPECT_NE(printed.find("No ground truth for 14 of 14 images: img0.pgm, img1.pgm, "),
              std::string::npos);
    EXPECT_NE(printed.find(", img13.pgm\n"), std::string::npos);
    // The table keeps a row per image.
    EXPECT_EQ(lines_of(read_file(table)).size(), 15u);
}

using CompareLabeledRepositoryDialog = CompareDialogTest;

TEST_F(CompareLabeledRepositoryDialog, LabelsEqualToTheGroundTruthHavePrecisionAndRecallOne)
{
    compared_repository r(2, true);
    const std::string table = r.d.dir.file("labels.csv");
    auto* dialog = new VxCompareLabeledRepositoryDialog(&paths, nullptr, "Compare");
    fill(dialog, {{"Labled Repository to Compare", r.vxq},
                  {"Path to Ground Truth to Compare", r.truth},
                  {"Ground Truth Tag", "gt"},
                  {"Comparison Result File", table}});
    compare(dialog);
    vx_gui_test::flush_deferred_deletes();
    EXPECT_EQ(
        lines_of(read_file(table)),
        (std::vector<std::string>{
            "ImageName; GroundTruth; Query in GT; GT Not in Query; Precision; Recall; Query ; "
            "GT in Query; Query not in GT",
            "img0.gt.png; 1; 1; 0; 1.000000; 1.000000; 1; 1; 0 ",
            "img1.gt.png; 1; 1; 0; 1.000000; 1.000000; 1; 1; 0 ",
            "Accumulated; 2; 2; 0; 1.000000; 1.000000; 2; 2; 0 "}));
}

TEST_F(CompareLabeledRepositoryDialog, TheBarCountsTheImagesAndNoTagLooksForTheImageNames)
{
    for (const int n : {10, 0}) {
        compared_repository r(n, false);
        const std::string table = r.d.dir.file("t.csv");
        QPointer<VxCompareLabeledRepositoryDialog> dialog =
            new VxCompareLabeledRepositoryDialog(&paths, nullptr, "Compare");
        fill(dialog, {{"Labled Repository to Compare", r.vxq},
                      {"Path to Ground Truth to Compare", r.truth},
                      {"Comparison Result File", table}});
        QSignalSpy steps(bar(dialog), &QProgressBar::valueChanged);
        dialogs().press("Acknowlege");
        const std::string printed = compare(dialog);
        ASSERT_EQ(steps.count(), n);
        for (int i = 0; i < n; ++i)
            EXPECT_EQ(steps[i][0].toInt(), i + 1);
        const std::vector<std::string> lines = lines_of(read_file(table));
        ASSERT_EQ(lines.size(), static_cast<size_t>(n + 2));
        if (n > 0) {
            EXPECT_EQ(bar(dialog)->maximum(), n);
            EXPECT_NE(printed.find("1/10, " + r.truth + "/img0.pgm\n"), std::string::npos);
            // No image has ground truth: the pop-up names all ten.
            ASSERT_EQ(dialogs().requests().size(), 1u);
            EXPECT_TRUE(dialogs().requests().front().labels.value(1).endsWith(
                "zeros:\n\nimg0.pgm\nimg1.pgm\nimg2.pgm\nimg3.pgm\nimg4.pgm\nimg5.pgm\nimg6."
                "pgm\nimg7.pgm\nimg8.pgm\nimg9.pgm"));
        } else {
            EXPECT_TRUE(dialogs().requests().empty());
            EXPECT_EQ(lines.back(), "Accumulated; 0; 0; 0; 0.000000; 0.000000; 0; 0; 0 ");
        }
        dialogs().clear();
        vx_gui_test::flush_deferred_deletes();
    }
}

TEST_F(CompareLabeledRepositoryDialog, MissingFieldsAndDamagedFilesWriteNothing)
{
    compared_repository r(2, true);
    // The second image line names more ids than it holds.
    std::string damaged = read_file(r.vxq);
    damaged.replace(damaged.rfind('\n', damaged.size() - 2) + 1, std::string::npos,
                    "img1.pgm, 1, 5, 3, \n");
    vx_test::write_file(r.vxq, damaged);
    const std::string table = r.d.dir.file("t.csv");
    for (const std::string& file : {table, std::string()}) {
        auto* dialog = new VxCompareLabeledRepositoryDialog(&paths, nullptr, "Compare");
        fill(dialog, {{"Labled Repository to Compare", r.vxq},
                      {"Path to Ground Truth to Compare", r.truth},
                      {"Comparison Result File", file}});
        EXPECT_EQ(refusal(dialog), file.empty() ? "The field \"Quantitative Result\" is empty."
                                                : q("Unable to read file\n" + r.vxq));
    }
    // The labels of both lines stay, and no label image was written.
    EXPECT_EQ(read_file(r.vxq), damaged);
    EXPECT_TRUE(std::filesystem::is_empty(r.labels));
    EXPECT_FALSE(std::filesystem::exists(table));
}

TEST_F(CompareDialogTest, ScreenshotsShowBothFormsFilledIn)
{
    VxCompareRepositoryTreeDialog trees(&paths, nullptr, "Compare Labeled Repository");
    VxCompareLabeledRepositoryDialog labels(&paths, nullptr, "Compare Labeled Repository");
    edit(&trees, "Repository to Compare")->setText("/data/cells.vxr");
    edit(&labels, "Labled Repository to Compare")->setText("/data/cells.vxq");
    for (VxBaseDialog* dialog : std::vector<VxBaseDialog*>{&trees, &labels}) {
        fill(dialog, {{"Path to Ground Truth to Compare", "/data/ground truth"},
                      {"Ground Truth Tag", "gt"},
                      {"Comparison Result File", "/data/compared.csv"}});
        bar(dialog)->setMaximum(4);
        bar(dialog)->setValue(3);
        const QImage picture =
            vx_gui_test::save_screenshot(*dialog, dialog->metaObject()->className());
        ASSERT_EQ(picture.size(), dialog->size());
        for (const char* name : {"Path to Ground Truth to Compare", "Comparison Result File"})
            EXPECT_GT(vx_gui_test::dark_pixels(picture, edit(dialog, name)->geometry()), 20);
        QWidget* start = dialog->findChild<QPushButton*>("Start Comparison");
        EXPECT_GT(vx_gui_test::dark_pixels(picture, start->geometry()), 20);
        // Three quarters of the bar are filled, in another colour than its rest.
        const QRect b = bar(dialog)->geometry();
        EXPECT_NE(picture.pixel(b.left() + b.width() / 4, b.center().y()),
                  picture.pixel(b.right() - 4, b.center().y()));
    }
}
