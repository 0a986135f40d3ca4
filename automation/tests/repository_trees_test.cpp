#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "analyse/files/treeio.h"
#include "analyse/trees/regiontree.h"
#include "automation/preprocessing/scale_image_step.h"
#include "automation/preprocessing/vx_image_processing.h"
#include "filter/tree_workers.h"
#include "imagecore/files/image_loader.h"
#include "imagecore/files/pgm.h"
#include "imagecore/handles.h"
#include "imagecore/image.h"
#include "testsupport/file_repository.h"
#include "testsupport/repository_fixture.h"
#include "testsupport/vx_test.h"

namespace {

using vx_test::repository_dir;
using vx_test::write_picture;

constexpr int kScales = 4;

struct progress_log {
    std::thread::id caller = std::this_thread::get_id();
    std::map<int, std::vector<int>> steps;  // kind -> steps in arrival order
    bool off_thread = false;

    static void receive(int kind, int step, void* context)
    {
        auto* log = static_cast<progress_log*>(context);
        log->off_thread = log->off_thread || std::this_thread::get_id() != log->caller;
        log->steps[kind].push_back(step);
    }
};

// Runs every step, with the output and progress of each.
struct computed {
    std::vector<progress_log> logs;
    std::string output;
};

computed compute_all(VxRepository& r)
{
    computed run;
    run.logs.resize(static_cast<size_t>(r.NumberOfImages()));
    testing::internal::CaptureStdout();
    r.computeRepositoryInit(kScales);
    for (int i = 0; i < r.NumberOfImages(); ++i)
        EXPECT_EQ(r.computeRepositoryStep(&run.logs[i], progress_log::receive), i + 1);
    run.output = testing::internal::GetCapturedStdout();
    return run;
}

bool loads_as_tree(const std::string& path)
{
    if (vx_test::read_file(path).rfind("RTHR2", 0) != 0)
        return false;
    FILE* f = std::fopen(path.c_str(), "rb");
    const char* error = nullptr;
    region_tree* tree = try_read_elemset_region_tree(f, &error);
    std::fclose(f);
    const bool ok = tree != nullptr && tree->width == 24 && tree->regions > 1;
    delete_regiontree(tree);
    return ok;
}

ino_t inode_of(const std::string& path)
{
    struct stat s {};
    stat(path.c_str(), &s);
    return s.st_ino;
}

TEST(RepositoryTrees, StepsComputeBothTreesWithProgressOnTheCallingThread)
{
    repository_dir d(3);
    auto r = d.repository(3);
    const computed run = compute_all(*r);
    const std::vector<int> every_scale = {0, 1, 2, 3};
    for (int i = 0; i < 3; ++i) {
        const std::string stem = "img" + std::to_string(i) + ".4.";
        EXPECT_STREQ(r->BrightTreeName(i), (stem + "bright.tree").c_str());
        EXPECT_STREQ(r->DarkTreeName(i), (stem + "dark.tree").c_str());
        EXPECT_TRUE(loads_as_tree(d.trees + "/" + stem + "bright.tree"));
        EXPECT_TRUE(loads_as_tree(d.trees + "/" + stem + "dark.tree"));
        const progress_log& log = run.logs[i];
        EXPECT_FALSE(log.off_thread);
        EXPECT_EQ(log.steps.size(), 4u);
        for (int kind : {1, 2, 11, 12})
            EXPECT_EQ(log.steps.at(kind), every_scale) << "image " << i << " kind " << kind;
    }
    EXPECT_EQ(r->computeRepositoryStep(nullptr, nullptr), -1);
    EXPECT_EQ(r->computeRepositoryStep(nullptr, nullptr), -1);

    const std::string file = d.dir.file("r.vxr");
    ASSERT_EQ(r->WriteRepository(file.c_str()), 1);
    EXPECT_NE(vx_test::read_file(file).find("\nimg1.pgm,img1.4.bright.tree,img1.4.dark.tree,\n"),
              std::string::npos);
}

TEST(RepositoryTrees, ATreeFileThatCannotBeWrittenIsReportedAndNotClaimed)
{
    repository_dir d(2);
    auto r = d.repository(3);
    // A folder in the bright tree's place cannot be replaced by the file.
    const std::string bright = d.trees + "//img0.4.bright.tree";
    std::filesystem::create_directory(bright);
    std::vector<TreeFileFailure> failures;
    testing::internal::CaptureStdout();
    r->computeRepositoryInit(kScales);
    r->forceOverwrite(true);
    EXPECT_EQ(r->computeRepositoryStep(nullptr, nullptr, failures), 1);
    EXPECT_EQ(r->computeRepositoryStep(nullptr, nullptr, failures), 2);
    const std::string printed = testing::internal::GetCapturedStdout();
    ASSERT_EQ(failures.size(), 1u) << printed;
    EXPECT_EQ(failures[0].file, bright);
    EXPECT_EQ(failures[0].reason, "Is a directory");
    EXPECT_NE(printed.find("Tree file " + bright + " not written\n"), std::string::npos);
    const std::string file = d.dir.file("r.vxr");
    ASSERT_EQ(r->WriteRepository(file.c_str()), 1);
    const std::string text = vx_test::read_file(file);
    EXPECT_NE(text.find("\nimg0.pgm,-,img0.4.dark.tree,\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nimg1.pgm,img1.4.bright.tree,img1.4.dark.tree,\n"), std::string::npos);
}

// 3 when the step, unable to start any thread, writes `expected`'s trees.
int step_without_threads(VxRepository& r, const std::map<std::string, std::string>& expected)
{
    if (!vx_test::forbid_new_threads())
        return 5;
    std::vector<TreeFileFailure> failures;
    r.computeRepositoryInit(kScales);
    if (r.computeRepositoryStep(nullptr, nullptr, failures) != 1 || !failures.empty())
        return 4;
    for (const auto& [path, bytes] : expected)
        if (vx_test::read_file(path) != bytes)
            return 4;
    return 3;
}

TEST(RepositoryTrees, AStepComputesItsTreesHereWhenNoThreadCanStart)
{
    if (!vx_test::threads_can_be_forbidden())
        GTEST_SKIP() << "no thread limit can be set here";
    repository_dir d(1);
    std::filesystem::permissions(d.dir.path(), std::filesystem::perms::all);
    std::filesystem::permissions(d.trees, std::filesystem::perms::all);
    auto r = d.repository(3);
    set_tree_workers(4);
    vx_test::compute_trees(*r, kScales);
    std::map<std::string, std::string> expected;
    for (const char* polarity : {"bright", "dark"}) {
        const std::string path = d.trees + "/img0.4." + polarity + ".tree";
        expected[path] = vx_test::read_file(path);
        std::filesystem::remove(path);
    }
    EXPECT_EXIT(std::_Exit(step_without_threads(*r, expected)), ::testing::ExitedWithCode(3), "");
    set_tree_workers(0);
}

TEST(RepositoryTrees, ExistingTreesAreKeptUnlessOverwriteIsForced)
{
    repository_dir d(2);
    compute_all(*d.repository(3));
    const std::string bright = d.trees + "/img0.4.bright.tree";
    const std::string content = vx_test::read_file(bright);
    const ino_t inode = inode_of(bright);

    auto again = d.repository(3);
    const computed second = compute_all(*again);
    EXPECT_NE(second.output.find("File exists: " + d.trees + "//img0.4.bright.tree\n"),
              std::string::npos);
    EXPECT_NE(second.output.find("File exists:  " + d.trees + "//img1.4.dark.tree\n"),
              std::string::npos);
    for (const progress_log& log : second.logs)
        EXPECT_TRUE(log.steps.empty());
    EXPECT_EQ(vx_test::read_file(bright), content);
    EXPECT_EQ(inode_of(bright), inode);
    EXPECT_STREQ(again->BrightTreeName(1), "img1.4.bright.tree");
    const std::string file = d.dir.file("again.vxr");
    ASSERT_EQ(again->WriteRepository(file.c_str()), 1);
    EXPECT_NE(vx_test::read_file(file).find("img0.pgm,img0.4.bright.tree,img0.4.dark.tree,"),
              std::string::npos);

    testing::internal::CaptureStdout();
    again->forceOverwrite(true);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Initial Overwrite Writeflag 0\n");
    const computed forced = compute_all(*again);
    EXPECT_EQ(forced.logs[0].steps.size(), 4u);
    EXPECT_NE(inode_of(bright), inode);
    EXPECT_TRUE(loads_as_tree(bright));
}

TEST(RepositoryTrees, UnreadableImagesAreSkippedWithoutTrees)
{
    repository_dir d(1);
    auto r = d.repository(0, {"img0.pgm", "missing.pgm"});
    const computed run = compute_all(*r);
    EXPECT_NE(run.output.find("Could not load " + d.images + "//missing.pgm\n"), std::string::npos);
    EXPECT_NE(run.output.find("image skipped"), std::string::npos);
    EXPECT_TRUE(run.logs[1].steps.empty());
    EXPECT_TRUE(std::filesystem::exists(d.trees + "/img0.4.bright.nr.tree"));
    EXPECT_TRUE(std::filesystem::exists(d.trees + "/img0.4.dark.nr.tree"));
    const std::string file = d.dir.file("r.vxr");
    ASSERT_EQ(r->WriteRepository(file.c_str()), 1);
    EXPECT_NE(vx_test::read_file(file).find("\nmissing.pgm,-,-\n"), std::string::npos);

    // An image gone after its trees were made loses them for the tables and
    // the repository file.
    std::filesystem::remove(d.images + "/img0.pgm");
    const std::string output = vx_test::printed_by(
        [&] { r->writeRepositoryTables(d.dir.file("t").c_str(), d.dir.file("none").c_str()); });
    EXPECT_NE(output.find("Could not load " + d.images + "/img0.pgm\n"), std::string::npos);
    ASSERT_EQ(r->WriteRepository(file.c_str()), 1);
    EXPECT_NE(vx_test::read_file(file).find("\nimg0.pgm,-,-\n"), std::string::npos);
}

TEST(RepositoryTrees, ImagesOfOneStemGetNoTreesAndTheStepNamesBoth)
{
    repository_dir d(2);
    vx_image_handle picture(vx_test::read_picture_file((d.images + "/img1.pgm").c_str()));
    ASSERT_EQ(writePNGgrey((d.images + "/img0.png").c_str(), &picture->scales[0]), 0);
    auto r = d.repository(3, {"img0.pgm", "img1.pgm", "img0.png"});
    std::vector<TreeFileFailure> failures;
    testing::internal::CaptureStdout();
    r->computeRepositoryInit(kScales);
    while (r->computeRepositoryStep(nullptr, nullptr, failures) >= 0) {}
    r->computeBrightFile(2, kScales);
    const std::string printed = testing::internal::GetCapturedStdout();
    ASSERT_EQ(failures.size(), 4u) << printed;
    EXPECT_EQ(failures[0].file, d.trees + "//img0.4.bright.tree");
    EXPECT_EQ(failures[1].file, d.trees + "//img0.4.dark.tree");
    EXPECT_EQ(failures[0].reason, "img0.pgm and img0.png would share their tree files");
    EXPECT_EQ(failures[3].reason, "img0.png and img0.pgm would share their tree files");
    const std::string serial = "Could not compute a tree of " + d.images +
                               "//img0.png: img0.png and img0.pgm would share their tree files\n";
    EXPECT_NE(printed.find(serial), std::string::npos) << printed;
    EXPECT_FALSE(std::filesystem::exists(d.trees + "/img0.4.bright.tree"));

    // The other images, and repositories of one image per stem, keep their
    // tree names.
    const std::string file = d.dir.file("r.vxr");
    ASSERT_EQ(r->WriteRepository(file.c_str()), 1);
    const std::string text = vx_test::read_file(file);
    EXPECT_NE(text.find("\nimg0.pgm,-,-\nimg1.pgm,img1.4.bright.tree,img1.4.dark.tree,\n"
                        "img0.png,-,-\n"),
              std::string::npos)
        << text;
    auto alone = d.repository(3, {"img0.png", "img1.pgm", "img1.pgm"});
    vx_test::compute_trees(*alone, kScales);
    EXPECT_STREQ(alone->BrightTreeName(0), "img0.4.bright.tree");
    EXPECT_TRUE(loads_as_tree(d.trees + "/img0.4.bright.tree"));
    EXPECT_STREQ(alone->DarkTreeName(2), "img1.4.dark.tree");
}

TEST(RepositoryTrees, SerialRoadNamesTreesByModeAndWritesStepTables)
{
    repository_dir d(1);
    auto r = d.repository(1);
    vx_test::write_file(d.dir.file("update.rule"),
                        "DECLS: twice := 2 * area; #DECLS RULES: TD: #RULES\n");
    testing::internal::CaptureStdout();
    r->initStepTableOutput(d.dir.file("update.rule").data());
    r->computeBrightFile(0, 3);
    r->computeDarkFile(0, 3);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("Generation mode 1: the tree names do not describe the mode\n"),
              std::string::npos);
    EXPECT_STREQ(r->BrightTreeName(0), "img0.3.bright.tree");
    EXPECT_STREQ(r->DarkTreeName(0), "img0.3.dark.nr.tree");
    EXPECT_TRUE(loads_as_tree(d.trees + "/img0.3.bright.tree"));
    EXPECT_TRUE(loads_as_tree(d.trees + "/img0.3.dark.nr.tree"));
    const std::string table = vx_test::read_file(d.trees + "/img0.3.bright.tree.csv");
    EXPECT_EQ(table.rfind("Imagename, RegionID, ", 0), 0u);
    EXPECT_NE(table.find(", twice\n"), std::string::npos);
    EXPECT_NE(table.find("\n1, img0.pgm, "), std::string::npos);
}

int count_lines_starting(const std::string& text, const std::string& prefix)
{
    int n = 0;
    for (size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
        n += text.compare(at, prefix.size(), prefix) == 0 ? 1 : 0;
        if (text.find('\n', at) == std::string::npos)
            break;
    }
    return n;
}

int regions_below_root(const std::string& path)
{
    testing::internal::CaptureStdout();
    region_tree* tree = load_elemset_region_tree(path.c_str());
    testing::internal::GetCapturedStdout();
    const int n = tree->regions - 1;
    delete_regiontree(tree);
    return n;
}

TEST(RepositoryTrees, TablesHoldOneHeaderAndOneRowPerRegionOfEveryTree)
{
    repository_dir d(3);
    auto r = d.repository(3);
    compute_all(*r);
    // An image that no longer fits its trees is left out of the tables.
    write_picture(d.images + "/img2.pgm", 2, 12, 12);
    vx_test::write_file(d.dir.file("update.rule"),
                        "DECLS: twice := 2 * area; #DECLS RULES: TD: #RULES\n");
    const std::string stem = d.dir.file("table");
    testing::internal::CaptureStdout();
    r->writeRepositoryTables((stem + ".csv").data(), d.dir.file("update.rule").data());
    const int attributes = r->initAttributes(d.dir.file("update.rule").data());
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("img2.4.bright.tree is 24 x 20, its image 12 x 12: tree skipped"),
              std::string::npos);

    for (const char* polarity : {"bright", "dark"}) {
        const std::string table = vx_test::read_file(stem + "." + polarity + ".csv");
        EXPECT_EQ(count_lines_starting(table, "Imagename, RegionID, "), 1) << polarity;
        for (int i = 0; i < 3; ++i) {
            const std::string image = "img" + std::to_string(i) + ".pgm";
            const int rows = count_lines_starting(table, image + ", ");
            const std::string tree =
                d.trees + "/img" + std::to_string(i) + ".4." + polarity + ".tree";
            EXPECT_EQ(rows, i == 2 ? 0 : regions_below_root(tree)) << polarity << " " << image;
        }
    }
    EXPECT_GT(attributes, 35);
    EXPECT_EQ(r->getNumberOfAttributes(), attributes);
    EXPECT_STREQ(r->getAttribute(attributes - 1), "twice");
    EXPECT_EQ(r->getAttribute(attributes), nullptr);
}

// Writes the preprocessed pictures as grey PNG files.
class PngWritingRepository : public vx_test::FileRepository {
public:
    using FileRepository::FileRepository;
    void writeImage(const char* path, image* img) override { writePNGgrey(path, img); }
};

TEST(RepositoryPreprocessing, RenamesOnlyTheImagesWhoseResultWasWritten)
{
    repository_dir d(1);
    auto plain = d.repository(0, {"img0.pgm", "missing.pgm"});
    auto writing = d.repository<PngWritingRepository>(0, {"img0.pgm", "missing.pgm"});
    VxImageProcessing chain;
    scaleImage half(0.5);
    testing::internal::CaptureStdout();
    chain.addFunction(half);
    // The base writer has no palette for the picture's values.
    EXPECT_EQ(plain->doPreProc(chain, "half"), 2);
    EXPECT_EQ(writing->doPreProc(chain, "half"), 2);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("do not index the repository palette"), std::string::npos);
    EXPECT_NE(output.find("Could not load " + d.images + "//missing.pgm\n"), std::string::npos);
    EXPECT_STREQ(plain->ImageName(0), "img0.pgm");
    EXPECT_STREQ(writing->ImageName(0), "img0.half.png");
    EXPECT_STREQ(writing->ImageName(1), "missing.pgm");
    image* scaled = writing->getImageGrey(0);
    ASSERT_NE(scaled, nullptr);
    EXPECT_EQ(scaled->width, 12);
    EXPECT_EQ(scaled->height, 10);
    delete_image(scaled);
}

}  // namespace
