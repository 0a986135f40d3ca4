// The program's comma-separated files read back what they wrote when a
// folder or file name holds a comma.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "automation/preprocessing/scale_image_step.h"
#include "automation/preprocessing/vx_image_processing.h"
#include "automation/repository/vx_labeled_repository.h"
#include "automation/repository/vx_query_parameters.h"
#include "automation/tables/vxtable.h"
#include "imagecore/files/pgm.h"
#include "testsupport/repository_fixture.h"
#include "testsupport/vx_test.h"

namespace {

constexpr int kScales = 3;

// Writes the images of its preprocessing as PGM files.
class WritingRepository : public vx_test::FileRepository {
public:
    using FileRepository::FileRepository;
    void writeImage(const char* path, image* img) override { write_pgm_p5(path, img); }
};

// Pictures "x, y.pgm" and "p.pgm" with their trees in a folder named "a, b",
// which also takes the rules and every file written.
struct comma_folder {
    vx_test::TempDir dir;
    std::string folder = dir.file("a, b");
    std::string vxr = folder + "/r.vxr";
    std::string update = folder + "/update.rule";
    std::string bright = folder + "/bright.rule";
    std::string dark = folder + "/small, dark.rule";
    std::vector<std::string> names = {"x, y.pgm", "p.pgm"};

    comma_folder()
    {
        std::filesystem::create_directory(folder);
        for (size_t i = 0; i < names.size(); ++i)
            vx_test::write_picture(folder + "/" + names[i], static_cast<int>(i));
        vx_test::write_file(update, "DECLS: twice := 2 * area; #DECLS\n");
        vx_test::write_file(bright, "RULES: TD: #RULES\n");
        vx_test::write_file(dark, "RULES: TD: area < 30 && meangrey < 90 #RULES\n");
    }

    std::unique_ptr<WritingRepository> computed()
    {
        std::vector<char*> pointers;
        for (std::string& name : names)
            pointers.push_back(name.data());
        auto r = vx_test::capturing_stdout([&] {
            return std::make_unique<WritingRepository>(pointers.data(),
                                                       static_cast<int>(pointers.size()),
                                                       folder.c_str(), folder.c_str(), 3);
        });
        vx_test::compute_trees(*r, kScales);
        return r;
    }
};

template <class Repository>
std::unique_ptr<Repository> read_quietly(const std::string& file)
{
    return vx_test::capturing_stdout([&] { return std::make_unique<Repository>(file.c_str()); });
}

TEST(NamesWithCommas, RepositoryFilesKeepImageAndTreeNamesApart)
{
    comma_folder f;
    auto r = f.computed();
    const std::string older = f.folder + "/older.vxr";
    ASSERT_EQ(r->WriteRepository(f.vxr.c_str()), 1);
    ASSERT_EQ(vx_test::capturing_stdout([&] { return r->write(older.c_str()); }), 1);
    for (const std::string& file : {f.vxr, older}) {
        auto back = read_quietly<VxRepository>(file);
        ASSERT_EQ(back->NumberOfImages(), 2) << file;
        EXPECT_STREQ(back->ImageName(0), "x, y.pgm") << file;
        EXPECT_STREQ(back->BrightTreeName(0), "x, y.3.bright.tree") << file;
        EXPECT_STREQ(back->DarkTreeName(0), "x, y.3.dark.tree") << file;
        EXPECT_STREQ(back->DarkTreeName(1), "p.3.dark.tree") << file;
        EXPECT_STREQ(back->ImageFilename(0), (f.folder + "/x, y.pgm").c_str()) << file;
    }

    // Renamed after their trees were made, the images no longer name them:
    // the line could not be told apart, so the file is not written.
    testing::internal::CaptureStdout();
    scaleImage same(1.0);
    VxImageProcessing chain;
    chain.addFunction(same);
    r->doPreProc(chain, "t, u");
    EXPECT_EQ(r->WriteRepository(f.vxr.c_str()), 0);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("x, y.t, u.png hold ','"),
              std::string::npos);
    EXPECT_STREQ(read_quietly<VxRepository>(f.vxr)->ImageName(0), "x, y.pgm");
}

TEST(NamesWithCommas, QueryResultsAndLabellingsKeepRuleAndImageNames)
{
    comma_folder f;
    auto r = f.computed();
    ASSERT_EQ(r->WriteRepository(f.vxr.c_str()), 1);
    vx_test::CapturingRepository run(f.vxr.c_str());
    const char* queries[] = {f.bright.c_str(), f.dark.c_str()};
    const int modes[] = {1, 2};
    const std::string summary = f.folder + "/result, 1.vxq";
    testing::internal::CaptureStdout();
    ASSERT_TRUE(
        run.QueryAllImages(f.update.c_str(), queries, 2, summary.c_str(), f.folder.c_str(), modes));
    testing::internal::GetCapturedStdout();

    auto result = read_quietly<VxLabeledRepository>(summary);
    ASSERT_EQ(result->getNumberOfClasses(), 3);
    EXPECT_STREQ(result->getClassName(2), f.dark.c_str());
    EXPECT_EQ(result->getMode(2), 2);
    EXPECT_STREQ(result->getImageName(0), (f.folder + "/queryresult.x, y.pgm").c_str());
    EXPECT_GT(result->NumberOfRegionsInClass(0, 2), 0);

    // A labelling of images and label images in that folder, written and read.
    const std::string labels = f.folder + "/labels.vxq";
    const int ids[] = {3, 5};
    result->setImage(1, 2, ids, 1, (f.folder + "/labeled.p.pgm.png").c_str());
    result->setClassName("cells, large", 1);
    ASSERT_EQ(vx_test::capturing_stdout([&] { return result->write(labels.c_str()); }), 1);
    auto back = read_quietly<VxLabeledRepository>(labels);
    ASSERT_EQ(back->getNumberOfClasses(), 3);
    EXPECT_STREQ(back->getClassName(1), "cells, large");
    EXPECT_STREQ(back->getClassName(2), f.dark.c_str());
    EXPECT_EQ(back->getMode(2), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_STREQ(back->getImageName(i), result->getImageName(i));
        for (int k = 1; k < 3; ++k)
            EXPECT_EQ(back->NumberOfRegionsInClass(i, k), result->NumberOfRegionsInClass(i, k));
    }

    // A name ending in a comma and a number would lose it to the labels.
    result->setImage(0, 0, nullptr, 1, (f.folder + "/scan, 5").c_str());
    std::string output;
    EXPECT_EQ(vx_test::capturing_stdout([&] { return result->write(labels.c_str()); }, &output), 0);
    EXPECT_NE(output.find("scan, 5 ends in a ','"), std::string::npos);
    EXPECT_STREQ(read_quietly<VxLabeledRepository>(labels)->getClassName(1), "cells, large");
}

TEST(NamesWithCommas, QueryParameterFilesKeepRuleFilesAndModes)
{
    comma_folder f;
    VxQueryParameters p(2);
    p.Repository(f.vxr.c_str());
    p.ResultFile((f.folder + "/result.vxq").c_str());
    p.ResultPath(f.folder.c_str());
    p.UpdateRule(f.update.c_str());
    p.QueryFile(0, f.dark.c_str(), "Dark");
    p.QueryFile(1, f.bright.c_str(), "Bright");
    const std::string file = f.folder + "/run.query";
    ASSERT_EQ(p.write(file.c_str()), 1);
    auto back = read_quietly<VxQueryParameters>(file);
    EXPECT_TRUE(back->isRead());
    EXPECT_STREQ(back->Repository(), f.vxr.c_str());
    EXPECT_STREQ(back->ResultPath(), f.folder.c_str());
    ASSERT_EQ(back->NumQueries(), 2);
    EXPECT_STREQ(back->QueryFile(0), f.dark.c_str());
    EXPECT_EQ(back->Mode(0), 2);
    EXPECT_STREQ(back->QueryFile(1), f.bright.c_str());
    EXPECT_EQ(back->Mode(1), 1);
}

TEST(NamesWithCommas, TreeTablesReadWithTheirImageNamesWhole)
{
    comma_folder f;
    auto r = f.computed();
    const std::string stem = f.folder + "/t, u";
    ASSERT_TRUE(vx_test::capturing_stdout(
        [&] { return r->writeRepositoryTables(stem.c_str(), f.update.c_str()); }));
    const VxTable table((stem + ".bright.csv").c_str(), ',');
    const int name = table.getColumID("Imagename");
    const int id = table.getColumID("RegionID");
    ASSERT_EQ(name, 0);
    ASSERT_EQ(table.getColumnType(id), VxTable::DOUBLE);
    EXPECT_STREQ(table.getEntry(0, name).text, "x, y.pgm");
    EXPECT_STREQ(table.getEntry(table.getRows() - 1, name).text, "p.pgm");
    for (int row = 0; row < table.getRows(); ++row)
        EXPECT_GE(table.getEntry(row, id).dvalue, 1.0) << row;

    // Only the first column may hold the separator of the written table.
    VxTable names(2, 1, "\3\3", "file;class", ';');
    names.setEntry(0, 0, "a; b/c.png");
    names.setEntry(0, 1, "cells");
    ASSERT_TRUE(names.writeCSV((f.folder + "/n.csv").c_str()));
    const VxTable again((f.folder + "/n.csv").c_str(), ';');
    EXPECT_STREQ(again.getEntry(0, 0).text, "a; b/c.png");
    EXPECT_STREQ(again.getEntry(0, 1).text, "cells");
    names.setEntry(0, 1, "cells; large");
    std::string output;
    EXPECT_FALSE(vx_test::capturing_stdout(
        [&] { return names.writeCSV((f.folder + "/n.csv").c_str()); }, &output));
    EXPECT_NE(output.find("cells; large holds the separator ';'"), std::string::npos);
}

}  // namespace
