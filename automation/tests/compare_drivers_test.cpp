#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "analyse/files/treeio.h"
#include "analyse/trees/tree_walk.h"
#include "automation/compare/vx_tree_regions_compare.h"
#include "automation/detail/handles.h"
#include "automation/repository/vx_labeled_repository.h"
#include "imagecore/files/image_loader.h"
#include "imagecore/files/pgm.h"
#include "testsupport/file_repository.h"
#include "testsupport/vx_test.h"

namespace {

constexpr int kWidth = 32;
constexpr int kHeight = 24;

struct disc {
    int x, y, r;
};

// Image i holds i + 1 flat bright discs on a flat background.
std::vector<disc> discs_of(int i)
{
    const std::vector<disc> all{{7, 7, 4}, {23, 8, 3}, {12, 17, 3}};
    return {all.begin(), all.begin() + i + 1};
}

// The picture (discs 200 on 40) or the ground truth (disc k labelled k + 1).
image_handle disc_image(int i, bool labels)
{
    image_handle img(create_image(kWidth, kHeight, labels ? 0 : 40));
    const std::vector<disc> discs = discs_of(i);
    for (size_t k = 0; k < discs.size(); ++k)
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const int dx = x - discs[k].x, dy = y - discs[k].y;
                if (dx * dx + dy * dy <= discs[k].r * discs[k].r)
                    img->pixels[y * kWidth + x] = labels ? static_cast<int>(k) + 1 : 200;
            }
    return img;
}

class FileLabels : public VxLabeledRepository {
public:
    VxRepository* loadRepository(const char* file) override
    {
        return new vx_test::FileRepository(file);
    }
};

void record_progress(int i, void* context)
{
    static_cast<std::vector<int>*>(context)->push_back(i);
}

// Three disc pictures with their bright trees; ground truth "<stem>.gt.png"
// for the first two only.
struct disc_repository {
    vx_test::TempDir dir;
    std::string images = dir.file("images"), trees = dir.file("trees"), truth = dir.file("gt");
    std::string vxr = dir.file("discs.vxr");

    disc_repository()
    {
        for (const std::string& d : {images, trees, truth})
            std::filesystem::create_directory(d);
        vx_test::capturing_stdout([&] {
            std::vector<std::string> names;
            std::vector<char*> list;
            for (int i = 0; i < 3; ++i) {
                names.push_back("disc" + std::to_string(i) + ".pgm");
                write_pgm_p5((images + "/" + names.back()).c_str(), disc_image(i, false).get());
                if (i < 2)
                    writePNGgrey((truth + "/disc" + std::to_string(i) + ".gt.png").c_str(),
                                 disc_image(i, true).get());
            }
            for (std::string& name : names)
                list.push_back(name.data());
            vx_test::FileRepository r(list.data(), 3, trees.c_str(), images.c_str(), 3);
            r.computeRepositoryInit(6);
            while (r.computeRepositoryStep(nullptr, nullptr) >= 0) {}
            return r.write(vxr.c_str());
        });
    }
    std::string treeFile(int i) const
    {
        return trees + "//disc" + std::to_string(i) + ".6.bright.tree";
    }
};

}  // namespace

TEST(CompareDrivers, TreesAgainstGroundTruthGiveARowPerImage)
{
    disc_repository d;
    vx_test::CapturingRepository r(d.vxr.c_str());
    const std::string table = d.dir.file("trees.csv");
    std::vector<int> steps;
    std::vector<std::string> withoutGroundTruth;
    std::string output;
    const int done = vx_test::capturing_stdout(
        [&] {
            return r.CompareTreesGroundTruth(table.c_str(), 1, d.truth.c_str(), 0.5, "", "gt",
                                             d.dir.file("out").c_str(), "cmpres", &steps,
                                             record_progress, withoutGroundTruth);
        },
        &output);
    EXPECT_EQ(done, 1);
    EXPECT_EQ(steps, (std::vector<int>{0, 1, 2}));
    EXPECT_NE(output.find("1/3, " + d.truth + "/disc0.gt.png\n"), std::string::npos);
    EXPECT_NE(output.find("Could not read ground truth " + d.truth + "/disc2.gt.png"),
              std::string::npos);
    EXPECT_EQ(withoutGroundTruth, std::vector<std::string>{"disc2.pgm"});
    EXPECT_NE(output.find("No ground truth for 1 of 3 images: disc2.pgm\n"), std::string::npos);

    // Each disc is matched by a bright region a few pixels larger.
    const std::vector<std::string> lines = vx_test::lines_of(vx_test::read_file(table));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0],
              "TreeFile; Ground Truth File; Objects GT; Objects Matched; Match Rate; Avg. Quality "
              "matched; Avg. Quality all; Quality Dev");
    for (int i = 0; i < 2; ++i) {
        const std::string front =
            d.treeFile(i) + "; " + d.truth + "/disc" + std::to_string(i) + ".gt.png; ";
        ASSERT_EQ(lines[i + 1].compare(0, front.size(), front), 0) << lines[i + 1];
        int objects = 0, matched = 0;
        double rate = 0, quality = 0, all = 0, t = 0;
        ASSERT_EQ(std::sscanf(lines[i + 1].c_str() + front.size(), "%d; %d; %lf; %lf;%lf; %lf;",
                              &objects, &matched, &rate, &quality, &all, &t),
                  6);
        EXPECT_EQ(objects, i + 1);
        EXPECT_EQ(matched, i + 1);
        EXPECT_EQ(rate, 1.0);
        EXPECT_GT(quality, 0.0);
        EXPECT_LT(quality, 0.5);
        EXPECT_EQ(all, quality);
        EXPECT_EQ(t, 0.5);
    }
    EXPECT_EQ(lines[3], d.treeFile(2) + "; " + d.truth +
                            "/disc2.gt.png; 0; 0; 0.000000; 0.000000;0.000000; 0.500000;");

    // The best-match images paint the region of each disc; none for the
    // image without ground truth.
    ASSERT_EQ(r.written.size(), 2u);
    const image* best = r.written.at(d.dir.file("out") + "/disc1.cmpres.png").get();
    EXPECT_EQ(best->pixels[7 * kWidth + 7], 128);
    EXPECT_EQ(best->pixels[8 * kWidth + 23], 127 / 2 + 128);
    EXPECT_EQ(best->pixels[kWidth * kHeight - 1], 0);

    // Without a context there is no progress; a bad polarity writes nothing.
    steps.clear();
    vx_test::capturing_stdout([&] {
        return r.CompareTreesGroundTruth(table.c_str(), 2, d.truth.c_str(), 0.5, "1", "gt", nullptr,
                                         nullptr, nullptr, record_progress);
    });
    EXPECT_TRUE(steps.empty());
    EXPECT_EQ(vx_test::capturing_stdout([&] {
                  return r.CompareTreesGroundTruth(d.dir.file("x.csv").c_str(), 3, "", 0.5, "", "",
                                                   "", "", nullptr, nullptr);
              }),
              0);
    EXPECT_FALSE(std::filesystem::exists(d.dir.file("x.csv")));
}

TEST(CompareDrivers, LabelledRegionsAgainstGroundTruthGiveRowsAndTheirMeans)
{
    disc_repository d;
    FileLabels labels;
    vx_test::capturing_stdout([&] {
        const int modes[] = {1, 1, 1};
        labels.init(3, modes, d.dir.file("labels").c_str(), d.vxr.c_str());
        // Class 1: the first disc of every image. Class 2 of image 0: a
        // region off its disc.
        for (int i = 0; i < 3; ++i) {
            region_tree_handle tree(load_elemset_region_tree(d.treeFile(i).c_str()));
            const image_handle gt = disc_image(i, true);
            const VxTreeRegionsCompare compare(tree.get(), gt.get(), nullptr, 0);
            const int disc = compare.NodeMatchObject(0)->file_index;
            labels.setImage(i, 1, &disc, 1, labels.getImageName(i));
            if (i > 0)
                continue;
            int off = -1;
            walk_preorder(tree->root, [&](tregionnode* n) {
                bool outside = n != tree->root;
                for (int k = 0; k < n->size; ++k)
                    outside = outside && gt->pixels[n->pixels[k]] == 0;
                if (off < 0 && outside)
                    off = n->file_index;
            });
            EXPECT_GE(off, 0);
            labels.setImage(i, 1, &off, 2, labels.getImageName(i));
        }
        return 0;
    });
    const std::string table = d.dir.file("labels.csv");
    std::vector<int> steps;
    std::vector<std::string> withoutGroundTruth;
    std::string output;
    EXPECT_EQ(vx_test::capturing_stdout(
                  [&] {
                      return labels.CompareImageRegions(table.c_str(), d.truth.c_str(), "gt", 1,
                                                        &steps, record_progress,
                                                        withoutGroundTruth);
                  },
                  &output),
              1);
    EXPECT_EQ(steps, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(withoutGroundTruth, std::vector<std::string>{"disc2.pgm"});
    EXPECT_NE(output.find("No ground truth for 1 of 3 images: disc2.pgm\n"), std::string::npos);
    const std::vector<std::string> lines = vx_test::lines_of(vx_test::read_file(table));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0],
              "ImageName; GroundTruth; Query in GT; GT Not in Query; Precision; Recall; Query ; GT "
              "in Query; Query not in GT");
    EXPECT_EQ(lines[1], "disc0.gt.png; 1; 1; 0; 0.500000; 1.000000; 2; 1; 1 ");
    EXPECT_EQ(lines[2], "disc1.gt.png; 2; 1; 1; 1.000000; 0.500000; 1; 1; 0 ");
    EXPECT_EQ(lines[3], "disc2.gt.png; 0; 0; 0; 0.000000; 0.000000; 0; 0; 0 ");
    EXPECT_EQ(lines[4], "Accumulated; 3; 2; 1; 0.500000; 0.500000; 3; 2; 1 ");
}

TEST(CompareDrivers, ALabelledRepositoryWithoutImagesAccumulatesZeros)
{
    vx_test::TempDir dir;
    const std::string vxr = dir.file("empty.vxr"), table = dir.file("t.csv");
    FileLabels labels;
    vx_test::capturing_stdout([&] {
        vx_test::FileRepository(nullptr, 0, dir.file("t").c_str(), dir.file("i").c_str(), 3)
            .write(vxr.c_str());
        labels.init(2, nullptr, dir.file("r").c_str(), vxr.c_str());
        return labels.CompareImageRegions(table.c_str(), dir.file("gt").c_str(), nullptr, 0,
                                          nullptr, nullptr);
    });
    EXPECT_EQ(vx_test::lines_of(vx_test::read_file(table)).back(),
              "Accumulated; 0; 0; 0; 0.000000; 0.000000; 0; 0; 0 ");
}
