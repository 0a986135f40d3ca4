#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "analyse/files/treeio.h"
#include "analyse/trees/regiontree.h"
#include "analyse/trees/tree_walk.h"
#include "automation/detail/handles.h"
#include "automation/repository/vx_labeled_repository.h"
#include "imagecore/files/analyze.h"
#include "testsupport/repository_fixture.h"
#include "testsupport/stand_in_programs.h"
#include "testsupport/vx_test.h"

namespace {

// Reads images through the test repository and keeps a copy of every image
// it writes.
class CapturingLabels : public VxLabeledRepository {
public:
    VxRepository* loadRepository(const char* file) override
    {
        return new vx_test::FileRepository(file);
    }
    void writeImage(char* path, image* img) override
    {
        written[path].reset(create_copy_image(img));
    }
    std::map<std::string, image_handle> written;
};

int count_ending(const std::vector<std::string>& lines, const std::string& end)
{
    int n = 0;
    for (const std::string& line : lines)
        n += line.size() >= end.size() &&
             line.compare(line.size() - end.size(), end.size(), end) == 0;
    return n;
}

// Three computed pictures (the third of another size), labelled: class 1
// (bright) holds two leaves of the bright tree, class 2 (dark) one leaf of
// the dark tree.
struct labeled_setup {
    vx_test::repository_dir d{3};
    std::string vxr = d.dir.file("r.vxr");
    std::string update = d.dir.file("update.rule");
    CapturingLabels labels;
    region_tree_handle bright[3];
    region_tree_handle dark[3];

    labeled_setup()
    {
        vx_test::write_picture(d.images + "/img2.pgm", 2, 30, 16);
        auto r = d.repository(3);
        vx_test::compute_trees(*r, 4);
        testing::internal::CaptureStdout();
        r->write(vxr.c_str());
        const int modes[] = {1, 1, 2};
        labels.init(3, modes, d.dir.file("labels").c_str(), vxr.c_str());
        labels.setClassName("dark blobs", 2);
        for (int i = 0; i < 3; ++i) {
            const std::string stem = d.trees + "/img" + std::to_string(i) + ".4.";
            bright[i].reset(load_elemset_region_tree((stem + "bright.tree").c_str()));
            dark[i].reset(load_elemset_region_tree((stem + "dark.tree").c_str()));
            const std::vector<int> b = leaves(bright[i].get(), 2);
            const std::vector<int> k = leaves(dark[i].get(), 1);
            labels.setImage(i, 2, b.data(), 1, labels.getImageName(i));
            labels.setImage(i, 1, k.data(), 2, labels.getImageName(i));
        }
        testing::internal::GetCapturedStdout();
        vx_test::write_file(update, "DECLS: twice := 2 * area; #DECLS\n");
    }

    // The first leaves of the tree in file-index order: disjoint regions.
    static std::vector<int> leaves(const region_tree* tree, size_t n)
    {
        std::vector<int> ids;
        walk_breadth_first(tree->root, [&ids](tregionnode* node, int) {
            if (is_leaf(node))
                ids.push_back(node->file_index);
        });
        EXPECT_GE(ids.size(), n);
        ids.resize(n);
        return ids;
    }
    // The node of that id in the tree.
    static const tregionnode* node(const region_tree* tree, int id)
    {
        const tregionnode* found = nullptr;
        walk_preorder(tree->root, [&](tregionnode* n) {
            if (n->file_index == id)
                found = n;
        });
        return found;
    }
    const tregionnode* labelled(int i, int cls, int k)
    {
        const region_tree* tree = cls == 1 ? bright[i].get() : dark[i].get();
        return node(tree, leaves(tree, 2)[k]);
    }
};

TEST(LabeledExports, AnalyzeVolumeHoldsOneSliceOfClassGreysPerImageOfTheFirstSize)
{
    labeled_setup s;
    const std::string prefix = s.d.dir.file("volume");
    testing::internal::CaptureStdout();
    ASSERT_EQ(s.labels.writeResultANLZVolume(prefix.c_str(), 2.5f, false), 1);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("is 30 x 16, the volume 24 x 20: left out"), std::string::npos);

    std::string header = vx_test::read_file(prefix + ".hdr");
    ASSERT_EQ(header.size(), 348u);
    analyze_header h{};
    parse_analyze_header(reinterpret_cast<unsigned char*>(header.data()), &h);
    EXPECT_EQ(h.sizeof_hdr, 348);
    EXPECT_STREQ(h.data_type, "dsr");
    EXPECT_STREQ(h.db_name, "vx_analyse_export");
    EXPECT_EQ(h.extents, 16384);
    EXPECT_EQ(h.regular, 'r');
    const short dims[5] = {4, 24, 20, 2, 1};
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(h.dim[k], dims[k]) << k;
    EXPECT_EQ(header.compare(56, 3, std::string("mm\0", 3)), 0);
    EXPECT_EQ(h.datatype, ANALYZE_UINT8);
    EXPECT_EQ(h.bitpix, 8);
    EXPECT_EQ(h.pixdim[0], 4.0f);
    EXPECT_EQ(h.pixdim[3], 2.5f);
    EXPECT_EQ(h.funused1, 1.0f);
    EXPECT_EQ(h.glmax, 255);
    EXPECT_EQ(std::string(h.descrip), "By vx_Analyse for VxLabeledRepository.vxq");

    const std::string voxels = vx_test::read_file(prefix + ".img");
    ASSERT_EQ(voxels.size(), 24u * 20u * 2u);
    for (int i = 0; i < 2; ++i) {
        const unsigned char* slice =
            reinterpret_cast<const unsigned char*>(voxels.data()) + i * 24 * 20;
        // Three classes: greys 191 and 254. Bright sons are disjoint, so each
        // keeps its grey unless a dark region lies over it.
        const tregionnode* dark = s.labelled(i, 2, 0);
        EXPECT_EQ(slice[dark->pixels[0]], 254);
        std::set<int> over(dark->pixels, dark->pixels + dark->size);
        const tregionnode* bright = s.labelled(i, 1, 1);
        for (int k = 0; k < bright->size; ++k) {
            if (over.count(bright->pixels[k]) == 0) {
                EXPECT_EQ(slice[bright->pixels[k]], 191);
            }
        }
    }

    // Every class pixel becomes 255 when binarized; the long description is
    // cut inside its field.
    const std::string long_name = s.d.dir.file(std::string(200, 'v') + ".vxq");
    testing::internal::CaptureStdout();
    s.labels.updateClassifiedImageFiles(long_name.c_str(), "png");
    ASSERT_EQ(s.labels.writeResultANLZVolume(prefix.c_str(), 1.0f, true), 1);
    testing::internal::GetCapturedStdout();
    header = vx_test::read_file(prefix + ".hdr");
    EXPECT_EQ(header[148 + 79], '\0');
    EXPECT_EQ(header.substr(148, 18), "By vx_Analyse for ");
    EXPECT_NE(header[228], 'v');
    const std::string binary = vx_test::read_file(prefix + ".img");
    for (unsigned char v : binary)
        ASSERT_TRUE(v == 0 || v == 255);
}

TEST(LabeledExports, IsoSurfaceHoldsTheOuterContoursOfOneClass)
{
    labeled_setup s;
    const std::string file = s.d.dir.file("class1.isovol");
    testing::internal::CaptureStdout();
    ASSERT_EQ(s.labels.writeIsoSurface(file.c_str(), 1), 1);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("Processing Tree 1, " + s.d.trees + "/img1.4.bright.tree\n"),
              std::string::npos);
    const std::string bytes = vx_test::read_file(file);
    ASSERT_EQ(bytes.size(), 24u * 20u * 2u);
    for (int i = 0; i < 2; ++i) {
        std::set<int> contour;
        for (int k = 0; k < 2; ++k) {
            const tregionnode* region = s.labelled(i, 1, k);
            contour.insert(region->contour, region->contour + region->contour_size);
        }
        for (int p = 0; p < 24 * 20; ++p)
            ASSERT_EQ(static_cast<unsigned char>(bytes[i * 24 * 20 + p]),
                      contour.count(p) != 0 ? 255 : 0)
                << "slice " << i << " pixel " << p;
    }
    testing::internal::CaptureStdout();
    EXPECT_EQ(s.labels.writeIsoSurface(file.c_str(), 3), 0);
    EXPECT_EQ(s.labels.writeIsoSurface(s.d.dir.file("no/such/dir").c_str(), 1), 0);
    testing::internal::GetCapturedStdout();
}

TEST(LabeledExports, C45FilesCarryOnlyTheModesClassesAndTheLearnerGetsTheStemWhole)
{
    labeled_setup s;
    const std::string stem = s.d.dir.file("my stem; touch injected");
    const int attributes[] = {3, 13, 12, 99};
    std::string output;
    {
        vx_test::stand_in_programs programs;
        testing::internal::CaptureStdout();
        EXPECT_EQ(s.labels.c4_5_training(attributes, 4, 1, stem.c_str(), s.update.c_str()), 1);
        output = testing::internal::GetCapturedStdout();
        EXPECT_EQ(vx_test::read_file(programs.log),
                  "c4.5\n-f\n" + stem + "\nc4.5rules\n-f\n" + stem + "\n");
    }
    EXPECT_NE(output.find("Calling c4.5 -f " + stem + "\n\n"), std::string::npos);
    EXPECT_NE(output.find("Calling c4.5rules -f " + stem + "\n\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(s.d.dir.file("injected")));
    EXPECT_FALSE(std::filesystem::exists("injected"));

    EXPECT_EQ(vx_test::read_file(stem + ".names"),
              "Class 1,Irrelevant.\n\narea: continuous.\nvolume: continuous.\n"
              "stddev: continuous.\n");
    const std::vector<std::string> rows = vx_test::lines_of(vx_test::read_file(stem + ".data"));
    size_t regions = 0;
    for (const region_tree_handle& tree : s.bright)
        regions += static_cast<size_t>(tree->regions) - 1;
    EXPECT_EQ(rows.size(), regions);
    EXPECT_EQ(count_ending(rows, ",Class 1"), 6);
    EXPECT_EQ(count_ending(rows, ",dark blobs"), 0);
    const tregionnode* labelled = s.labelled(0, 1, 0);
    const std::string area = std::to_string(labelled->size) + ",";
    EXPECT_NE(std::find_if(rows.begin(), rows.end(),
                           [&area](const std::string& row) {
                               return row.rfind(area, 0) == 0 &&
                                      row.compare(row.size() - 8, 8, ",Class 1") == 0;
                           }),
              rows.end());

    // Without the learner the files are still written; a failing learner
    // is reported.
    std::filesystem::remove(stem + ".data");
    {
        vx_test::stand_in_programs programs(3);
        std::filesystem::remove(programs.bin.file("c4.5rules"));
        testing::internal::CaptureStdout();
        EXPECT_EQ(s.labels.c4_5_training(attributes, 4, 1, stem.c_str(), s.update.c_str()), 1);
        output = testing::internal::GetCapturedStdout();
    }
    EXPECT_NE(output.find("c4.5 ended with status 3\n"), std::string::npos);
    EXPECT_NE(output.find("Could not run c4.5rules: not found\n"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(stem + ".data"));
}

TEST(LabeledExports, LabelImagesTablesAndRurevuduListsOfTheLabelledRegions)
{
    labeled_setup s;
    testing::internal::CaptureStdout();
    s.labels.updateClassifiedImageFiles(s.d.dir.file("labels.vxq").c_str(), "png");
    const std::string output = testing::internal::GetCapturedStdout();
    const std::string label0 = s.d.dir.file("labels") + "/labeled.img0.pgm.png";
    EXPECT_NE(output.find("Updating " + s.d.images + "/img0.pgm to " + label0 + "\n"),
              std::string::npos);
    EXPECT_NE(output.find("Rewrite Labeled Repository as " + s.d.dir.file("labels.vxq")),
              std::string::npos);
    EXPECT_STREQ(s.labels.getImageName(0), label0.c_str());
    EXPECT_NE(vx_test::read_file(s.d.dir.file("labels.vxq")).find("\n" + label0 + ", 1, 2, "),
              std::string::npos);
    const image* label_image = s.labels.written.at(label0).get();
    const tregionnode* dark = s.labelled(0, 2, 0);
    EXPECT_EQ(label_image->pixels[dark->pixels[0]], 257);
    std::set<int> over(dark->pixels, dark->pixels + dark->size);
    const tregionnode* bright = s.labelled(0, 1, 0);
    for (int k = 0; k < bright->size; ++k) {
        if (over.count(bright->pixels[k]) == 0) {
            EXPECT_EQ(label_image->pixels[bright->pixels[k]], 256);
        }
    }

    // Result images of one class are named for the class's tree.
    testing::internal::CaptureStdout();
    s.labels.writeResultRegions(s.d.dir.file("dark").c_str(), 2);
    testing::internal::GetCapturedStdout();
    const image* regions =
        s.labels.written.at(s.d.dir.file("dark") + ".img0.4.dark.tree.png").get();
    EXPECT_EQ(regions->pixels[dark->pixels[0]], 255);
    EXPECT_EQ(regions->pixels[bright->pixels[0]], over.count(bright->pixels[0]) != 0 ? 255 : 0);

    const std::string table = s.d.dir.file("classes.csv");
    const int attributes[] = {3, 13};
    testing::internal::CaptureStdout();
    s.labels.exportClassifiedTable(table.c_str(), s.update.c_str(), 1);
    std::vector<std::string> rows = vx_test::lines_of(vx_test::read_file(table));
    ASSERT_EQ(rows.size(), 2u + 6u);
    EXPECT_EQ(rows[0].rfind("RegionID, Imagename, Classname,age; ahead; ", 0), 0u);
    EXPECT_EQ(rows[1], " ");
    EXPECT_EQ(rows[2].rfind(std::to_string(bright->file_index) + ", " + s.d.trees +
                                "/img0.4.bright.tree, Class 1,",
                            0),
              0u);
    s.labels.exportClassifiedTable(table.c_str(), s.update.c_str(), 2, 2, attributes);
    rows = vx_test::lines_of(vx_test::read_file(table));
    ASSERT_EQ(rows.size(), 2u + 3u);
    EXPECT_EQ(rows[0], "RegionID, Imagename, Classname,area,volume");
    EXPECT_EQ(rows[2].rfind(std::to_string(dark->file_index) + ", " + s.d.trees +
                                "/img0.4.dark.tree, dark blobs," + std::to_string(dark->size) + ",",
                            0),
              0u);

    s.labels.selectLabeledImages(2);
    s.labels.unselectAllImages();
    s.labels.addSelectedImage(1);
    const std::string list = s.d.dir.file("train.hclst");
    EXPECT_EQ(s.labels.rurevudu_training(attributes, 1, s.d.dir.path().c_str(), list.c_str(),
                                         s.update.c_str(), 2),
              1);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(vx_test::read_file(list), "img1.4.dark.rurevudu.csv\n");
    rows = vx_test::lines_of(vx_test::read_file(s.d.dir.file("img1.4.dark.rurevudu.csv")));
    ASSERT_EQ(rows.size(), static_cast<size_t>(s.dark[1]->regions));
    EXPECT_EQ(rows[0], "Classlabel,RegionID,TFatherID,TSonID,NumAttr,area");
    const tregionnode* in_class = s.labelled(1, 2, 0);
    EXPECT_NE(std::find(rows.begin(), rows.end(),
                        "1," + std::to_string(in_class->file_index) + "," +
                            std::to_string(in_class->father->file_index) + ",-1,1," +
                            std::to_string(in_class->size)),
              rows.end());
}

TEST(LabeledExports, BaseWriterAddsPgmToANewNameAndWritesThroughThePalette)
{
    labeled_setup s;
    struct PlainLabels : VxLabeledRepository {
        VxRepository* loadRepository(const char* file) override
        {
            return new vx_test::FileRepository(file);
        }
    } plain;
    testing::internal::CaptureStdout();
    plain.init(3, s.labels.getModes(), s.d.dir.file("labels").c_str(), s.vxr.c_str());
    plain.writeResultContours(s.d.dir.file("contours").c_str());
    char name[1024] = "";
    std::snprintf(name, sizeof name, "%s", s.d.dir.file("plain").c_str());
    image_handle img(create_image(4, 3, 258));
    plain.writeImage(name, img.get());
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_STREQ(name, s.d.dir.file("plain").c_str());
    EXPECT_NE(output.find("Filename " + s.d.dir.file("plain") + ".pgm\n"), std::string::npos);
    EXPECT_EQ(vx_test::read_file(s.d.dir.file("plain.pgm")).rfind("P3", 0), 0u);
    EXPECT_TRUE(std::filesystem::exists(s.d.dir.file("contours.img1.pgm.png.pgm")));
}

}  // namespace
