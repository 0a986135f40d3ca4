// The ground-truth comparison dialogs on small repositories of disc
// pictures, driven through their fields, choosers and Compare button.
#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "analyse/files/treeio.h"
#include "automation/compare/vx_tree_regions_compare.h"
#include "automation/detail/handles.h"
#include "automation/repository/vx_labeled_repository.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/repository/vx_compare_labeled_repository_dialog.h"
#include "gui/repository/vx_compare_repository_tree_dialog.h"
#include "imagecore/files/pgm.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/repository_fixture.h"
#include "testsupport/vx_test.h"

using vx_gui_test::dialogs;
using vx_test::capturing_stdout;
using vx_test::lines_of;
using vx_test::printed_by;
using vx_test::read_file;

namespace {

constexpr int kWidth = 32;
constexpr int kHeight = 24;

QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

// A bright disc (200 on 40) at a place of its own per picture.
image_handle disc_picture(int i)
{
    image_handle img(create_image(kWidth, kHeight, 40));
    const int cx = 8 + 12 * i, cy = 10, r = 4;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r)
                img->pixels[y * kWidth + x] = 200;
    return img;
}

// Two disc pictures with their bright trees in "discs.vxr". The ground truth
// "discN.gt.png" of each is the bright region that best matches its disc
// (label 1 on 0), and "discs.vxq" labels that region as class 1.
struct disc_repository {
    vx_test::TempDir dir;
    std::string images = dir.file("images"), trees = dir.file("trees"), truth = dir.file("gt"),
                labels = dir.file("labels");
    std::string vxr = dir.file("discs.vxr"), vxq = dir.file("discs.vxq");
    std::vector<std::vector<int>> regions;  // the pixels of each matching region

    disc_repository()
    {
        for (const std::string& d : {images, trees, truth, labels})
            std::filesystem::create_directory(d);
        std::vector<std::string> names = {"disc0.pgm", "disc1.pgm"};
        std::vector<char*> list;
        auto r = capturing_stdout([&] {
            for (size_t i = 0; i < names.size(); ++i) {
                write_pgm_p5((images + "/" + names[i]).c_str(),
                             disc_picture(static_cast<int>(i)).get());
                list.push_back(names[i].data());
            }
            return std::make_unique<vx_test::FileRepository>(list.data(), 2, trees.c_str(),
                                                             images.c_str(), 3);
        });
        vx_test::compute_trees(*r, 4);
        EXPECT_EQ(capturing_stdout([&] { return r->write(vxr.c_str()); }), 1);
        VxLabeledRepository labeled;
        capturing_stdout([&] {
            const int modes[] = {1, 1};
            labeled.init(2, modes, labels.c_str(), vxr.c_str());
            return 0;
        });
        for (int i = 0; i < 2; ++i) {
            region_tree_handle tree(load_elemset_region_tree(
                (trees + "/disc" + std::to_string(i) + ".4.bright.tree").c_str()));
            image_handle disc = disc_picture(i);
            for (int p = 0; p < kWidth * kHeight; ++p)
                disc->pixels[p] = disc->pixels[p] == 200 ? 1 : 0;
            const tregionnode* node =
                VxTreeRegionsCompare(tree.get(), disc.get(), nullptr, 0).NodeMatchObject(0);
            regions.emplace_back(node->pixels, node->pixels + node->size);
            QImage gt(kWidth, kHeight, QImage::Format_Grayscale8);
            gt.fill(0);
            for (int p : regions.back())
                gt.setPixel(p % kWidth, p / kWidth, qRgb(1, 1, 1));
            EXPECT_TRUE(gt.save(q(truth + "/disc" + std::to_string(i) + ".gt.png")));
            labeled.setImage(i, 1, &node->file_index, 1, labeled.getImageName(i));
        }
        EXPECT_EQ(labeled.write(vxq.c_str()), 1);
    }
};

// A repository of n pictures without trees and its labelling without
// labels, stored as <dir>/r.vxr and <dir>/r.vxq.
struct unlabelled_repository {
    vx_test::repository_dir d;
    std::string vxr = d.dir.file("r.vxr"), vxq = d.dir.file("r.vxq");

    explicit unlabelled_repository(int n) : d(n)
    {
        VxLabeledRepository labeled;
        auto repository = d.repository(3);
        EXPECT_EQ(capturing_stdout([&] {
                      repository->write(vxr.c_str());
                      labeled.init(2, nullptr, d.dir.file("labels").c_str(), vxr.c_str());
                      return labeled.write(vxq.c_str());
                  }),
                  1);
    }
};

class CompareDialogTest : public ::testing::Test {
protected:
    vx_test::TempDir work;
    VxBasePaths paths{q(work.path().string()),
                      q(work.file("Attributes.rule")),
                      QString(),
                      q(work.path().string()),
                      q(work.path().string()),
                      nullptr,
                      "Global Base Paths",
                      0};

    template <class Dialog>
    static QLineEdit* edit(Dialog* dialog, const char* name)
    {
        return dialog->template findChild<QLineEdit*>(name);
    }
    template <class Dialog>
    static QProgressBar* bar(Dialog* dialog)
    {
        return dialog->template findChild<QProgressBar*>("Dark Progress Bar");
    }
    // Clicks Compare; returns what the comparison printed. The dialog is
    // deleted once the deferred deletes run.
    template <class Dialog>
    static std::string compare(Dialog* dialog)
    {
        return printed_by(
            [dialog] { dialog->template findChild<QPushButton*>("Start Comparison")->click(); });
    }
    // Clicks Compare on a dialog that refuses to compare; returns the
    // message of the one pop-up it shows. The dialog is gone then.
    template <class Dialog>
    static QString refusal(Dialog* dialog)
    {
        const QPointer<Dialog> alive = dialog;
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
    disc_repository d;
    const std::string table = d.dir.file("trees.csv"), out = d.dir.file("out");
    std::filesystem::create_directory(out);
    QPointer<VxCompareRepositoryTreeDialog> dialog =
        new VxCompareRepositoryTreeDialog(&paths, nullptr, "Compare Labeled Repository");
    EXPECT_EQ(dialog->windowTitle(), "Compare Repository to GT");
    EXPECT_EQ(edit(dialog.data(), "Quality")->text(), "0");
    edit(dialog.data(), "Repository to Compare")->setText(q(d.vxr));
    edit(dialog.data(), "Path to Ground Truth to Compare")->setText(q(d.truth));
    edit(dialog.data(), "Ground Truth Tag")->setText("gt");
    edit(dialog.data(), "Quality")->setText("0.5");
    edit(dialog.data(), "Comparison Result File")->setText(q(table));
    dialogs().answer(q(out));
    dialog->findChild<QPushButton*>("Path to Resultimages")->click();
    EXPECT_EQ(edit(dialog.data(), "Result Tag")->text(), "cmpres");
    ASSERT_EQ(dialogs().requests().size(), 1u);
    EXPECT_EQ(dialogs().requests()[0].objectName, "Set Path to Result Images");
    EXPECT_EQ(dialogs().requests()[0].startPath, q(work.path().string()));

    QSignalSpy steps(bar(dialog.data()), &QProgressBar::valueChanged);
    compare(dialog.data());
    EXPECT_EQ(bar(dialog.data())->maximum(), 2);
    EXPECT_EQ(bar(dialog.data())->value(), 2);
    EXPECT_EQ(steps.count(), 2);
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(dialog.isNull());

    const std::vector<std::string> lines = lines_of(read_file(table));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0],
              "TreeFile; Ground Truth File; Objects GT; Objects Matched; Match Rate; Avg. Quality "
              "matched; Avg. Quality all; Quality Dev");
    for (int i = 0; i < 2; ++i) {
        // The repository path ends in '/' before the "%s/%s" join.
        const std::string name = "disc" + std::to_string(i);
        EXPECT_EQ(lines[i + 1], d.trees + "//" + name + ".4.bright.tree; " + d.truth + "/" + name +
                                    ".gt.png; 1; 1; 1.000000; 0.000000;0.000000; 0.500000;");

        // The best-matching region in grey 128 on 0.
        const QImage best(q(out + "/disc" + std::to_string(i) + ".cmpres.png"));
        ASSERT_FALSE(best.isNull());
        EXPECT_TRUE(best.isGrayscale());
        int painted = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                painted += qGray(best.pixel(x, y)) == 128;
        EXPECT_EQ(painted, static_cast<int>(d.regions[i].size()));
        const int p = d.regions[i].front();
        EXPECT_EQ(qGray(best.pixel(p % kWidth, p / kWidth)), 128);
    }
}

TEST_F(CompareRepositoryTreeDialog, ANonNumberQualityIsZeroAndDarkRegionsAreCompared)
{
    disc_repository d;
    const std::string table = d.dir.file("t.csv");
    auto* dialog = new VxCompareRepositoryTreeDialog(&paths, nullptr, "Compare");
    edit(dialog, "Repository to Compare")->setText(q(d.vxr));
    edit(dialog, "Path to Ground Truth to Compare")->setText(q(d.truth));
    edit(dialog, "Ground Truth Tag")->setText("gt");
    edit(dialog, "Quality")->setText("abc");
    edit(dialog, "Comparison Result File")->setText(q(table));
    dialog->findChild<QPushButton*>("Mode")->click();
    EXPECT_EQ(dialog->findChild<QPushButton*>("Mode")->text(), "Dark Regions");
    compare(dialog);
    vx_gui_test::flush_deferred_deletes();
    // The dark tree's regions, none matched within a deviation of 0.
    const std::vector<std::string> lines = lines_of(read_file(table));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], d.trees + "//disc0.4.dark.tree; " + d.truth +
                            "/disc0.gt.png; 1; 0; 0.000000; 0.000000;0.000000; 0.000000;");
}

TEST_F(CompareRepositoryTreeDialog, MissingFieldsAndUnreadableRepositoriesWriteNoTable)
{
    disc_repository d;
    const std::string table = d.dir.file("t.csv");
    vx_test::write_file(d.dir.file("bad.vxr"), "Number of Images: x\n");
    for (const std::string& repository : {d.vxr, d.dir.file("bad.vxr")}) {
        auto* dialog = new VxCompareRepositoryTreeDialog(&paths, nullptr, "Compare");
        edit(dialog, "Repository to Compare")->setText(q(repository));
        edit(dialog, "Comparison Result File")->setText(q(table));
        // The good repository lacks its ground-truth path, the bad one is read.
        if (repository != d.vxr)
            edit(dialog, "Path to Ground Truth to Compare")->setText(q(d.truth));
        EXPECT_EQ(refusal(dialog), repository == d.vxr ? "The field \"Path to GT Images\" is empty."
                                                       : q("Unable to read file\n" + repository));
    }
    EXPECT_FALSE(std::filesystem::exists(table));
}

using CompareLabeledRepositoryDialog = CompareDialogTest;

TEST_F(CompareLabeledRepositoryDialog, LabelsEqualToTheGroundTruthHavePrecisionAndRecallOne)
{
    disc_repository d;
    const std::string table = d.dir.file("labels.csv");
    auto* dialog = new VxCompareLabeledRepositoryDialog(&paths, nullptr, "Compare");
    EXPECT_EQ(dialog->windowTitle(), "Compare Labeled Repository to GT");
    edit(dialog, "Labled Repository to Compare")->setText(q(d.vxq));
    edit(dialog, "Path to Ground Truth to Compare")->setText(q(d.truth));
    edit(dialog, "Ground Truth Tag")->setText("gt");
    edit(dialog, "Comparison Result File")->setText(q(table));
    compare(dialog);
    vx_gui_test::flush_deferred_deletes();
    EXPECT_EQ(
        lines_of(read_file(table)),
        (std::vector<std::string>{
            "ImageName; GroundTruth; Query in GT; GT Not in Query; Precision; Recall; Query ; "
            "GT in Query; Query not in GT",
            "disc0.gt.png; 1; 1; 0; 1.000000; 1.000000; 1; 1; 0 ",
            "disc1.gt.png; 1; 1; 0; 1.000000; 1.000000; 1; 1; 0 ",
            "Accumulated; 2; 2; 0; 1.000000; 1.000000; 2; 2; 0 "}));
}

TEST_F(CompareLabeledRepositoryDialog, TenImagesMoveTheBarStepByStepAndNoTagLooksForTheImageNames)
{
    unlabelled_repository r(10);
    const std::string table = r.d.dir.file("t.csv"), truth = r.d.dir.file("gt");
    QPointer<VxCompareLabeledRepositoryDialog> dialog =
        new VxCompareLabeledRepositoryDialog(&paths, nullptr, "Compare");
    edit(dialog.data(), "Labled Repository to Compare")->setText(q(r.vxq));
    edit(dialog.data(), "Path to Ground Truth to Compare")->setText(q(truth));
    edit(dialog.data(), "Comparison Result File")->setText(q(table));
    QSignalSpy steps(bar(dialog.data()), &QProgressBar::valueChanged);
    const std::string printed = compare(dialog.data());
    EXPECT_EQ(bar(dialog.data())->maximum(), 10);
    ASSERT_EQ(steps.count(), 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(steps[i][0].toInt(), i + 1);
    EXPECT_NE(printed.find("1/10, " + truth + "/img0.pgm\n"), std::string::npos);
    vx_gui_test::flush_deferred_deletes();
    EXPECT_EQ(lines_of(read_file(table)).size(), 12u);
}

TEST_F(CompareLabeledRepositoryDialog, NoImagesAccumulateZeros)
{
    unlabelled_repository r(0);
    const std::string table = r.d.dir.file("t.csv");
    auto* dialog = new VxCompareLabeledRepositoryDialog(&paths, nullptr, "Compare");
    edit(dialog, "Labled Repository to Compare")->setText(q(r.vxq));
    edit(dialog, "Path to Ground Truth to Compare")->setText(q(r.d.dir.file("gt")));
    edit(dialog, "Comparison Result File")->setText(q(table));
    compare(dialog);
    vx_gui_test::flush_deferred_deletes();
    EXPECT_EQ(lines_of(read_file(table)).back(),
              "Accumulated; 0; 0; 0; 0.000000; 0.000000; 0; 0; 0 ");
}

TEST_F(CompareLabeledRepositoryDialog, MissingFieldsAndDamagedFilesWriteNothing)
{
    disc_repository d;
    // The second image line names more ids than it holds.
    std::vector<std::string> lines = lines_of(read_file(d.vxq));
    lines.back() = "disc1.pgm, 1, 5, 3, ";
    std::string damaged;
    for (const std::string& line : lines)
        damaged += line + "\n";
    vx_test::write_file(d.vxq, damaged);
    const std::string table = d.dir.file("t.csv");
    for (const std::string& file : {table, std::string()}) {
        auto* dialog = new VxCompareLabeledRepositoryDialog(&paths, nullptr, "Compare");
        edit(dialog, "Labled Repository to Compare")->setText(q(d.vxq));
        edit(dialog, "Path to Ground Truth to Compare")->setText(q(d.truth));
        edit(dialog, "Comparison Result File")->setText(q(file));
        EXPECT_EQ(refusal(dialog), file.empty() ? "The field \"Quantitative Result\" is empty."
                                                : q("Unable to read file\n" + d.vxq));
    }
    // The labels of both lines stay, and no label image was written.
    EXPECT_EQ(read_file(d.vxq), damaged);
    EXPECT_TRUE(std::filesystem::is_empty(d.labels));
    EXPECT_FALSE(std::filesystem::exists(table));
}

TEST_F(CompareDialogTest, ScreenshotsShowBothFormsFilledIn)
{
    VxCompareRepositoryTreeDialog trees(&paths, nullptr, "Compare Labeled Repository");
    VxCompareLabeledRepositoryDialog labels(&paths, nullptr, "Compare Labeled Repository");
    for (VxBaseDialog* dialog : std::vector<VxBaseDialog*>{&trees, &labels}) {
        edit(dialog, "Path to Ground Truth to Compare")->setText("/data/ground truth");
        edit(dialog, "Ground Truth Tag")->setText("gt");
        edit(dialog, "Comparison Result File")->setText("/data/compared.csv");
        bar(dialog)->setMaximum(4);
        bar(dialog)->setValue(3);
    }
    edit(&trees, "Repository to Compare")->setText("/data/cells.vxr");
    edit(&labels, "Labled Repository to Compare")->setText("/data/cells.vxq");
    for (VxBaseDialog* dialog : std::vector<VxBaseDialog*>{&trees, &labels}) {
        const QImage picture =
            vx_gui_test::save_screenshot(*dialog, dialog->metaObject()->className());
        ASSERT_EQ(picture.size(), dialog->size());
        for (const char* name : {"Path to Ground Truth to Compare", "Comparison Result File"})
            EXPECT_GT(vx_gui_test::dark_pixels(picture, edit(dialog, name)->geometry()), 20)
                << name;
        auto* start = dialog->findChild<QPushButton*>("Start Comparison");
        EXPECT_GT(vx_gui_test::dark_pixels(picture, start->geometry()), 20);
        // Three quarters of the bar are filled, in another colour than its rest.
        const QRect b = bar(dialog)->geometry();
        EXPECT_NE(picture.pixel(b.left() + b.width() / 4, b.center().y()),
                  picture.pixel(b.right() - 4, b.center().y()));
    }
}
