#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "automation/repository/query_summary.h"
#include "automation/repository/vx_labeled_repository.h"
#include "testsupport/vx_test.h"

namespace {

// A repository file of n images without trees.
std::string write_repository(const vx_test::TempDir& dir, int n)
{
    std::string text = "Number of Images: " + std::to_string(n) +
                       "\nGeneration Mode: 3\nRepository Path:\n/r/\nImages Path:\n/i/\n";
    for (int i = 0; i < n; ++i)
        text += "p" + std::to_string(i) + ".png,-,-\n";
    const std::string path = dir.file("r.vxr");
    vx_test::write_file(path, text);
    return path;
}

std::unique_ptr<VxLabeledRepository> read_labeled(const std::string& path,
                                                  std::string* output = nullptr)
{
    return vx_test::capturing_stdout(
        [&path] { return std::make_unique<VxLabeledRepository>(path.c_str()); }, output);
}

TEST(LabeledRepository, WrittenFileReadsBackWithNamesModesAndIds)
{
    vx_test::TempDir dir;
    const std::string vxr = write_repository(dir, 3);
    const int modes[] = {1, 1, 2};
    VxLabeledRepository l(3, modes, "/results", vxr.c_str());
    EXPECT_STREQ(l.getClassName(0), "Irrelevant");
    EXPECT_STREQ(l.getClassName(2), "Class 2");
    EXPECT_EQ(l.getClassName(3), nullptr);
    EXPECT_STREQ(l.getImageName(2), "/i/p2.png");
    const int ids[] = {12, 15};
    l.setImage(0, 2, ids, 1, "/results/labeled.p0.png.png");
    l.setImage(1, 1, ids + 1, 2, "/i/p1.png");
    const std::string long_name(100, 'n');
    testing::internal::CaptureStdout();
    l.setClassName(long_name.c_str(), 2);
    l.setImage(3, 1, ids, 1, "nowhere");
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("Extending Classlabel " + long_name + " to 101 characters"),
              std::string::npos);
    EXPECT_STREQ(l.getClassName(2), long_name.c_str());
    EXPECT_EQ(l.setMode(1, 2), 1);
    EXPECT_EQ(l.setMode(3, 2), -1);
    EXPECT_STREQ(l.getNumberOfRegions(0),
                 ("Class 1; Regions 2\n" + long_name + "; Regions 0\n").c_str());

    const std::string file = dir.file("labels.vxq");
    ASSERT_EQ(l.write(file.c_str()), 1);
    const std::string text = vx_test::read_file(file);
    EXPECT_NE(text.find("\n" + vxr +
                        "\nImages at\n/results\nNumberOfClasses: 3\n"
                        "Irrelevant, Mode 1\nClass 1, Mode 2\n" +
                        long_name +
                        ", Mode 2\n"
                        "Images: 3\n/results/labeled.p0.png.png, 1, 2, 12, 15, 2, 0, \n"
                        "/i/p1.png, 1, 0, 2, 1, 15, \n/i/p2.png, 1, 0, 2, 0, \n"),
              std::string::npos);

    std::string output;
    auto again = read_labeled(file, &output);
    EXPECT_EQ(output.rfind("Loading Labeled Repository " + file + "\n", 0), 0u);
    ASSERT_EQ(again->getNumberOfClasses(), 3);
    EXPECT_STREQ(again->getFileName(), file.c_str());
    EXPECT_STREQ(again->RepositoryName(), vxr.c_str());
    EXPECT_STREQ(again->getResultPath(), "/results");
    EXPECT_STREQ(again->getClassName(2), long_name.c_str());
    EXPECT_EQ(again->getMode(1), 2);
    EXPECT_EQ(again->getMode(2), 2);
    EXPECT_STREQ(again->getImageName(0), "/results/labeled.p0.png.png");
    EXPECT_EQ(again->NumberOfRegionsInClass(0, 1), 2);
    EXPECT_EQ(again->NumberOfRegionsInClass(1, 2), 1);
    EXPECT_EQ(again->NumberOfRegionsInClass(2, 1), 0);
    EXPECT_EQ(again->NumberOfRegionsInClass(5, 1), 0);

    // Selections by class partition the images.
    EXPECT_EQ(again->selectLabeledImages(1), 1);
    EXPECT_EQ(again->selectUnlabeledImages(1), 2);
    again->unselectAllImages();
    EXPECT_EQ(again->addSelectedImage(2), 1);
    EXPECT_EQ(again->addSelectedImage(3), -1);
    EXPECT_EQ(again->selectAllImages(), 3);
    EXPECT_EQ(again->addSelectedImage(0), -1);
}

TEST(LabeledRepository, QueryResultLinesReadAsClassLists)
{
    vx_test::TempDir dir;
    const std::string vxr = write_repository(dir, 2);
    const std::string file = dir.file("result.vxq");
    vx_test::write_file(file, "Classification from 1.2.2026 3:4:5 for Repository\n" + vxr +
                                  "\nImages at\n/res\nNumberOfClasses: 3\nIrrelevant\n"
                                  "a.rule, Mode 1\nb.rule, Mode 2\nImages: 2\n"
                                  "/res/queryresult.p0.pgm, 1, 2,12 ,15 , 2, 0\n"
                                  "/res/queryresult.p1.pgm, 1, 0, 2, 1,7 \n");
    auto l = read_labeled(file);
    ASSERT_EQ(l->getNumberOfClasses(), 3);
    EXPECT_STREQ(l->getClassName(0), "Irrelevant");
    EXPECT_EQ(l->getMode(0), 1);
    EXPECT_STREQ(l->getClassName(2), "b.rule");
    EXPECT_EQ(l->getMode(2), 2);
    EXPECT_EQ(l->NumberOfRegionsInClass(0, 1), 2);
    EXPECT_EQ(l->NumberOfRegionsInClass(1, 2), 1);
    ASSERT_EQ(l->write(dir.file("copy.vxq").c_str()), 1);
    EXPECT_NE(vx_test::read_file(dir.file("copy.vxq"))
                  .find("\n/res/queryresult.p0.pgm, 1, 2, 12, 15, 2, 0, \n"),
              std::string::npos);
}

TEST(LabeledRepository, IllFormedFilesAreRefusedWithoutEndingTheProcess)
{
    vx_test::TempDir dir;
    const std::string vxr = write_repository(dir, 1);
    const std::string head = "Classification\n" + vxr + "\nImages at\n/res\n";
    const std::string two = head + "NumberOfClasses: 2\nIrrelevant\nx, Mode 1\nImages: 1\n";
    struct Case {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {head + "NumberOfClasses: 1\nIrrelevant\nImages: 0\n", "At Least 2 Classes Required"},
        {head + "NumberOfClasses: 2000000000\nIrrelevant\n", "at most 127 more"},
        {head + "NumberOfClasses: 128\nIrrelevant\n", "fewer class lines"},
        {head + "NumberOfClasses: two\n", "no number of classes"},
        {two + "a.png, 1, 3, 4, 5\n", "image line 1 is ill-formed"},
        {two + "a.png, 1, -1\n", "image line 1 is ill-formed"},
        {two + "a.png, 1, 1, x\n", "image line 1 is ill-formed"},
        {two + "a.png, 1, 0\nb.png, 1, 0\n", "more image lines than the 1 images"},
        {"Classification\n", "header incomplete"},
    };
    for (const Case& c : cases) {
        vx_test::write_file(dir.file("bad.vxq"), c.text);
        VxLabeledRepository l;
        testing::internal::CaptureStdout();
        EXPECT_EQ(l.read(dir.file("bad.vxq").c_str()), 0) << c.text;
        EXPECT_NE(testing::internal::GetCapturedStdout().find(c.message), std::string::npos)
            << c.text;
    }
    EXPECT_VX_FATAL(VxLabeledRepository(1, nullptr, "/res", vxr.c_str()), 10,
                    "At Least 2 Classes Required. Class 0 default: <Irrelevant>");
}

TEST(LabeledRepository, ClassCountsBeyondTheSetUpDialogAreRefusedBeforeAllocating)
{
    vx_test::TempDir dir;
    const std::string vxr = write_repository(dir, 300);
    const auto labelling = [&](int classes) {
        std::string text = "Classification\n" + vxr +
                           "\nImages at\n/res\nNumberOfClasses: " + std::to_string(classes) + "\n";
        for (int k = 0; k < classes; ++k)
            text += "c" + std::to_string(k) + ", Mode 2\n";
        text += "Images: 1\n/i/p0.png";
        for (int k = 1; k < classes; ++k)
            text += ", " + std::to_string(k) + ", 1, " + std::to_string(k);
        vx_test::write_file(dir.file("many.vxq"), text + "\n");
        std::string output;
        auto l = read_labeled(dir.file("many.vxq"), &output);
        return std::make_pair(std::move(l), output);
    };
    const auto most = labelling(VxLabeledRepository::MOST_CLASSES + 1);
    ASSERT_EQ(most.first->getNumberOfClasses(), 128);
    EXPECT_EQ(most.first->NumberOfRegionsInClass(0, 127), 1);
    EXPECT_EQ(most.first->getMode(127), 2);
    EXPECT_EQ(most.first->getNumberOfImages(), 300);

    const auto more = labelling(129);
    EXPECT_EQ(more.first->getNumberOfClasses(), 0);
    EXPECT_EQ(more.first->getNumberOfImages(), 0);
    EXPECT_NE(more.second.find("129 classes, but a labelling holds class 0 and at most 127 more"),
              std::string::npos);

    // A query run would give such a file: it does not start.
    const std::vector<const char*> rules(128, "q.rule");
    const std::string run = dir.file("run.vxq");
    EXPECT_FALSE(vx_test::capturing_stdout([&] {
        return writeQuerySummaryHeader(run.c_str(), "", vxr.c_str(), "/res", rules.data(), nullptr,
                                       128, 300);
    }));
    EXPECT_FALSE(std::filesystem::exists(run));
}

}  // namespace
