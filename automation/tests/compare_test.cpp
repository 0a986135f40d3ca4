#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "analyse/trees/regiontree.h"
#include "analyse/trees/tree_walk.h"
#include "automation/compare/compare_data_array.h"
#include "automation/compare/compare_results.h"
#include "automation/compare/vx_image_regions_compare.h"
#include "automation/compare/vx_object_statistics.h"
#include "automation/compare/vx_tree_regions_compare.h"
#include "automation/detail/handles.h"
#include "testsupport/region_tree_builder.h"
#include "testsupport/vx_test.h"

namespace {

constexpr int kWidth = 6;
constexpr int kHeight = 4;

// The pixels of the columns from x0 to x1 of the 6 x 4 grid.
std::vector<int> columns(int x0, int x1)
{
    std::vector<int> pixels;
    for (int y = 0; y < kHeight; ++y)
        for (int x = x0; x <= x1; ++x)
            pixels.push_back(y * kWidth + x);
    return pixels;
}

tregionnode* son(tregionnode* father, const std::vector<int>& pixels)
{
    auto* own = static_cast<int*>(std::malloc(sizeof(int) * pixels.size()));
    std::memcpy(own, pixels.data(), sizeof(int) * pixels.size());
    tregionnode* n = init_region_node(father, 0, static_cast<int>(pixels.size()), own, nullptr);
    add_region_son(father, n);
    return n;
}

// root -> A (columns 0-2) -> A1 (column 0), A2 (columns 1-2); root -> B
// (columns 3-5), numbered in pre-order: A 1, A1 2, A2 3, B 4.
region_tree_handle hand_tree()
{
    region_tree_handle tree(init_region_tree(kWidth, kHeight, 1));
    tregionnode* a = son(tree->root, columns(0, 2));
    son(a, columns(0, 0));
    son(a, columns(1, 2));
    son(tree->root, columns(3, 5));
    int counter = 0;
    tree_relabel(tree->root, &counter);
    tree->regions = counter;
    return tree;
}

image_handle label_image(int width, int height, const std::vector<std::pair<int, int>>& set)
{
    image_handle img(create_image(width, height, 0));
    for (const auto& [pixel, value] : set)
        img->pixels[pixel] = value;
    return img;
}

// Object 0 (label 5) covers A exactly; objects 1 and 2 (label 7) are single
// pixels in the leaf B, at its first and its last pixel.
image_handle hand_truth()
{
    std::vector<std::pair<int, int>> set{{3, 7}, {23, 7}};
    for (int p : columns(0, 2))
        set.push_back({p, 5});
    return label_image(kWidth, kHeight, set);
}

}  // namespace

TEST(TreeRegionsCompare, AnObjectEqualToARegionMatchesItExactly)
{
    region_tree_handle tree = hand_tree();
    image_handle truth = hand_truth();
    const VxTreeRegionsCompare compare(tree.get(), truth.get(), nullptr, 0);
    ASSERT_EQ(compare.NumObjects(), 3);
    EXPECT_EQ(compare.MatchQualityObject(0), 0.0);
    EXPECT_EQ(compare.UnionQualityObject(0), 1.0);
    EXPECT_EQ(compare.NodeMatchObject(0)->file_index, 1);
    EXPECT_EQ(compare.NodeUnionObject(0)->file_index, 1);
    EXPECT_EQ(compare.MatchQualityObject(3), -5000.0);
    EXPECT_EQ(compare.UnionQualityObject(-1), -5000.0);
    EXPECT_EQ(compare.NodeMatchObject(3), nullptr);

    image_handle best(compare.getBestMatchRegionsImage(1.0));
    for (int p = 0; p < kWidth * kHeight; ++p)
        EXPECT_EQ(best->pixels[p], p % kWidth < 3 ? 128 : 0) << p;
}

TEST(TreeRegionsCompare, ObjectsSharingALeafAreEachMeasured)
{
    region_tree_handle tree = hand_tree();
    image_handle truth = hand_truth();
    const VxTreeRegionsCompare compare(tree.get(), truth.get(), nullptr, 0);
    // One pixel of the 12 of B: 11 wrong pixels per overlapping pixel.
    for (int i = 1; i <= 2; ++i) {
        EXPECT_EQ(compare.MatchQualityObject(i), 11.0) << i;
        EXPECT_DOUBLE_EQ(compare.UnionQualityObject(i), 1.0 / 12) << i;
        EXPECT_EQ(compare.NodeMatchObject(i)->file_index, 4) << i;
    }
    EXPECT_EQ(compare.NumObjectsQuality(1.0), 1);
    EXPECT_EQ(compare.NumObjectsQuality(12.0), 3);
    EXPECT_DOUBLE_EQ(compare.avgQualityMatched(12.0), 22.0 / 3);
    EXPECT_DOUBLE_EQ(compare.avgQualityAll(1.0), 0.0);
    EXPECT_DOUBLE_EQ(compare.avgQualityUnion(0.5), 1.0);
    EXPECT_DOUBLE_EQ(compare.avgQualityAllUnions(0.5), 1.0 / 3);
    EXPECT_DOUBLE_EQ(compare.avgQualityAllUnions(0.0), (1.0 + 2.0 / 12) / 3);

    // B carries the grey of the later object.
    image_handle best(compare.getBestUnionRegionsImage(0.0));
    EXPECT_EQ(best->pixels[3], 2 * 127 / 3 + 128);
    EXPECT_EQ(best->pixels[0], 128);

    // The label list chooses the objects.
    const int sevens[] = {7};
    const VxTreeRegionsCompare only(tree.get(), truth.get(), sevens, 1);
    EXPECT_EQ(only.NumObjects(), 2);
    EXPECT_EQ(only.MatchQualityObject(0), 11.0);
}

TEST(TreeRegionsCompare, ARegionCountsThePixelsNoneOfItsSonsHolds)
{
    // root -> A (columns 0-2) -> A1 (column 0), A2 (column 2): column 1, the
    // line between the sons, is A's alone. The ground truth is A.
    region_tree_handle tree(init_region_tree(kWidth, kHeight, 1));
    tregionnode* a = son(tree->root, columns(0, 2));
    son(a, columns(0, 0));
    son(a, columns(2, 2));
    vx_test::number(tree.get());
    std::vector<std::pair<int, int>> set;
    for (int p : columns(0, 2))
        set.push_back({p, 5});
    image_handle truth = label_image(kWidth, kHeight, set);
    const VxTreeRegionsCompare compare(tree.get(), truth.get(), nullptr, 0);
    ASSERT_EQ(compare.NumObjects(), 1);
    EXPECT_EQ(compare.MatchQualityObject(0), 0.0);
    EXPECT_EQ(compare.UnionQualityObject(0), 1.0);
    EXPECT_EQ(compare.NodeMatchObject(0), a);
    // An identical region matches at deviation 0.
    EXPECT_EQ(compare.NumObjectsQuality(0.0), 1);
    image_handle best(compare.getBestMatchRegionsImage(0.0));
    EXPECT_EQ(best->pixels[1], 128);
}

TEST(TreeRegionsCompare, APixelCountsOnceInEveryRegionHoldingIt)
{
    // An 8 x 4 grid of columns: root -> G (all) -> F (columns 0-3) and M
    // (columns 5-7); F -> L2 (column 0 and pixel (1, 0)) and L (columns 2-3).
    // Column 1 below L2 is F's line, column 4 G's. The object lies on both
    // lines and in L, its first pixel in L, so the walk up from L passes F
    // and G before their own pixels are counted.
    constexpr int w = 8;
    const auto cols = [](int x0, int x1) {
        std::vector<int> pixels;
        for (int y = 0; y < kHeight; ++y)
            for (int x = x0; x <= x1; ++x)
                pixels.push_back(y * w + x);
        return pixels;
    };
    region_tree_handle tree(init_region_tree(w, kHeight, 1));
    tregionnode* g = son(tree->root, cols(0, 7));
    tregionnode* f = son(g, cols(0, 3));
    son(g, cols(5, 7));
    son(f, {0, 1, 8, 16, 24});
    tregionnode* l = son(f, cols(2, 3));
    vx_test::number(tree.get());
    std::vector<std::pair<int, int>> set{{9, 5}, {17, 5}, {25, 5}};
    for (int p : cols(2, 4))
        set.push_back({p, 5});
    image_handle truth = label_image(w, kHeight, set);
    const VxTreeRegionsCompare compare(tree.get(), truth.get(), nullptr, 0);
    ASSERT_EQ(compare.NumObjects(), 1);
    // o = 15. L: c 8 of s 8, q = 7/8, u = 8/15; F: c 11 of 16, q = 9/11,
    // u = 11/20; G: c 15 of 32, q = 17/15, u = 15/32.
    EXPECT_DOUBLE_EQ(compare.MatchQualityObject(0), 9.0 / 11);
    EXPECT_DOUBLE_EQ(compare.UnionQualityObject(0), 11.0 / 20);
    EXPECT_EQ(compare.NodeMatchObject(0), f);
    EXPECT_EQ(compare.NodeUnionObject(0), f);

    // Without the lines the object is L: q 0 on L; F then holds 8 of its 16.
    image_handle inLeaf = label_image(w, kHeight, {});
    for (int p : cols(2, 3))
        inLeaf->pixels[p] = 5;
    const VxTreeRegionsCompare leaf(tree.get(), inLeaf.get(), nullptr, 0);
    EXPECT_EQ(leaf.MatchQualityObject(0), 0.0);
    EXPECT_EQ(leaf.NodeMatchObject(0), l);
}

namespace {

// Appends to `father` sons over random parts of `pixels`, leaving some of
// them as the father's line pixels, down to `depth` levels.
void random_sons(tregionnode* father, const std::vector<int>& pixels, int depth, std::mt19937& rng)
{
    if (depth == 0 || pixels.size() < 2)
        return;
    const unsigned sons = 1 + rng() % 3;
    std::vector<std::vector<int>> parts(sons + 1);
    for (int p : pixels)
        parts[rng() % (sons + 1)].push_back(p);
    for (unsigned k = 0; k < sons; ++k)
        if (!parts[k].empty())
            random_sons(vx_test::node(father, parts[k]), parts[k], depth - 1, rng);
}

// Random 8-connected blobs, one in some of the 6 x 6 cells of the image,
// each inside the cell's first five rows and columns; in raster order of
// their first pixel, as the comparison numbers its objects.
std::vector<std::vector<int>> random_blobs(int w, int h, std::mt19937& rng)
{
    std::vector<std::vector<int>> blobs;
    for (int cy = 0; cy + 6 <= h; cy += 6)
        for (int cx = 0; cx + 6 <= w; cx += 6) {
            if (rng() % 4 == 0)
                continue;
            std::vector<int> blob;
            int x = static_cast<int>(rng() % 5), y = static_cast<int>(rng() % 5);
            for (int step = 1 + static_cast<int>(rng() % 20); step > 0; --step) {
                blob.push_back((cy + y) * w + cx + x);
                x = std::clamp(x + static_cast<int>(rng() % 3) - 1, 0, 4);
                y = std::clamp(y + static_cast<int>(rng() % 3) - 1, 0, 4);
            }
            std::sort(blob.begin(), blob.end());
            blob.erase(std::unique(blob.begin(), blob.end()), blob.end());
            blobs.push_back(blob);
        }
    std::sort(blobs.begin(), blobs.end());
    return blobs;
}

}  // namespace

TEST(TreeRegionsCompare, AgreesWithAPlainCountOverEveryRegionOnRandomTrees)
{
    constexpr int w = 24, h = 18;
    std::mt19937 rng(7);
    for (int trial = 0; trial < 60; ++trial) {
        region_tree_handle tree(init_region_tree(w, h, 1));
        std::vector<int> all(w * h);
        std::iota(all.begin(), all.end(), 0);
        random_sons(tree->root, all, 2 + trial % 5, rng);
        vx_test::number(tree.get());
        const std::vector<std::vector<int>> blobs = random_blobs(w, h, rng);
        image_handle truth = label_image(w, h, {});
        for (const std::vector<int>& blob : blobs)
            for (int p : blob)
                truth->pixels[p] = 1 + static_cast<int>(blobs.size() % 3);
        const VxTreeRegionsCompare compare(tree.get(), truth.get(), nullptr, 0);
        ASSERT_EQ(compare.NumObjects(), static_cast<int>(blobs.size()));

        for (int i = 0; i < compare.NumObjects(); ++i) {
            std::vector<char> inside(w * h, 0);
            for (int p : blobs[i])
                inside[p] = 1;
            const int o = static_cast<int>(blobs[i].size());
            const auto overlap = [&](const tregionnode* n) {
                return static_cast<int>(std::count_if(n->pixels, n->pixels + n->size,
                                                      [&](int p) { return inside[p] != 0; }));
            };
            const auto quality = [o](int c, int s) {
                return (s + std::abs(c - o) - c) / static_cast<double>(c);
            };
            double q = -1.0, u = 0.0;
            walk_preorder(tree->root, [&](tregionnode* n) {
                const int c = n == tree->root ? 0 : overlap(n);
                if (c == 0)
                    return;
                if (q < 0.0 || quality(c, n->size) < q)
                    q = quality(c, n->size);
                u = std::max(u, c / static_cast<double>(n->size + std::abs(c - o)));
            });
            SCOPED_TRACE("trial " + std::to_string(trial) + ", object " + std::to_string(i));
            EXPECT_DOUBLE_EQ(compare.MatchQualityObject(i), q);
            EXPECT_DOUBLE_EQ(compare.UnionQualityObject(i), u);
            const tregionnode* best = compare.NodeMatchObject(i);
            if (best == nullptr) {
                EXPECT_EQ(q, -1.0);
                continue;
            }
            // The overlap behind the reported q (c <= o): q = (s + o) / c - 2.
            const double c = (best->size + o) / (compare.MatchQualityObject(i) + 2.0);
            EXPECT_LE(c, best->size);
            EXPECT_DOUBLE_EQ(c, overlap(best));
        }
    }
}

TEST(TreeRegionsCompare, WithoutObjectsOrWithoutRegionsNothingCountsAsMatched)
{
    region_tree_handle tree = hand_tree();
    image_handle empty = label_image(kWidth, kHeight, {});
    const VxTreeRegionsCompare none(tree.get(), empty.get(), nullptr, 0);
    EXPECT_EQ(none.NumObjects(), 0);
    EXPECT_EQ(none.avgQualityAll(1.0), 0.0);
    EXPECT_EQ(none.avgQualityAllUnions(0.0), 0.0);
    EXPECT_EQ(none.avgQualityMatched(1.0), 0.0);
    image_handle zero(none.getBestMatchRegionsImage(1.0));
    ASSERT_NE(zero, nullptr);
    EXPECT_EQ(zero->pixels[0], 0);

    // A root without sons offers no region: q stays -1, which is no match.
    region_tree_handle bare(init_region_tree(kWidth, kHeight, 1));
    image_handle truth = hand_truth();
    const VxTreeRegionsCompare unmatched(bare.get(), truth.get(), nullptr, 0);
    EXPECT_EQ(unmatched.MatchQualityObject(0), -1.0);
    EXPECT_EQ(unmatched.NodeMatchObject(0), nullptr);
    EXPECT_EQ(unmatched.NumObjectsQuality(5.0), 0);
    EXPECT_EQ(unmatched.avgQualityAll(5.0), 0.0);
}

TEST(TreeRegionsCompare, AnImageOfAnotherSizeIsNotCompared)
{
    region_tree_handle tree = hand_tree();
    image_handle other = label_image(kWidth - 1, kHeight, {{0, 1}});
    std::string output;
    const auto compare = vx_test::capturing_stdout(
        [&] { return VxTreeRegionsCompare(tree.get(), other.get(), nullptr, 0); }, &output);
    EXPECT_EQ(output, "Different image and tree dimension\n Image = (5,4)\n Tree= (6,4)\nQUIT\n");
    EXPECT_EQ(compare.NumObjects(), 0);
    EXPECT_EQ(compare.getBestMatchRegionsImage(1.0), nullptr);
    EXPECT_EQ(VxTreeRegionsCompare(nullptr, other.get(), nullptr, 0).NumObjects(), 0);
}

TEST(ImageRegionsCompare, PrecisionAndRecallCountObjectsThatOverlap)
{
    // A: a1 (label 1) columns 0-1 of row 0, a2 (label 2) column 3 of row 0,
    // a3 (label 1) pixel (5, 3). B: b1 covers row 0 columns 1-3, b2 pixel
    // (0, 3).
    image_handle a = label_image(kWidth, kHeight, {{0, 1}, {1, 1}, {3, 2}, {23, 1}});
    image_handle b = label_image(kWidth, kHeight, {{1, 9}, {2, 9}, {3, 9}, {18, 9}});
    VxImageRegionsCompare compare(a.get(), b.get());
    EXPECT_EQ(compare.NumObjectsA(), 4);
    EXPECT_EQ(compare.NumObjectsB(), 3);
    EXPECT_EQ(compare.NumClassesA(), 2);
    EXPECT_EQ(compare.ClassA(3), 1);
    EXPECT_EQ(compare.ClassB(3), -1);
    EXPECT_EQ(compare.SizeAt(1, 1), 1);
    EXPECT_EQ(compare.SizeAt(0, 0), 18);
    EXPECT_EQ(compare.SizeAt(3, 2), 0);
    EXPECT_EQ(compare.SizeAt(4, 0), -1);
    EXPECT_EQ(compare.foundAB(), 2);
    EXPECT_EQ(compare.foundBA(), 1);
    EXPECT_EQ(compare.foundBA(1), 2);
    EXPECT_EQ(compare.foundAB(3), 0);
    EXPECT_DOUBLE_EQ(compare.Precision(), 0.5);
    EXPECT_DOUBLE_EQ(compare.Recall(), 2.0 / 3);

    std::string output;
    vx_test::capturing_stdout(
        [&] {
            compare.increment(4, 0);
            return 0;
        },
        &output);
    EXPECT_EQ(output, "No valid Index ObjA = 4; ObjB = 0\n");
    compare.increment(3, 2);
    EXPECT_EQ(compare.foundAB(), 3);
    EXPECT_EQ(compare.foundBA(), 2);
    EXPECT_DOUBLE_EQ(compare.Recall(), 1.0);

    vx_test::capturing_stdout(
        [&] {
            compare.printMatrix();
            return 0;
        },
        &output);
    EXPECT_NE(output.find("Classes A: 0 1 2 1 \nClasses B: 0 9 9 \n"), std::string::npos);
}

TEST(ImageRegionsCompare, AnImageWithoutObjectsHasNoPrecisionOrRecall)
{
    image_handle empty = label_image(kWidth, kHeight, {});
    image_handle b = label_image(kWidth, kHeight, {{1, 9}});
    const VxImageRegionsCompare compare(empty.get(), b.get());
    EXPECT_EQ(compare.NumObjectsA(), 1);
    EXPECT_EQ(compare.Recall(), 0.0);
    EXPECT_EQ(compare.Precision(), 0.0);
    image_handle other = label_image(kWidth, kHeight + 1, {{1, 9}});
    EXPECT_EQ(VxImageRegionsCompare(b.get(), other.get()).NumObjectsB(), 1);
}

TEST(ObjectStatistics, CountsTheObjectsOfEachLabel)
{
    // 1 1 0 2 2
    // 0 0 0 0 2
    // 3 0 1 0 0
    image_handle labels(create_image(5, 3, 0));
    for (const auto& [p, v] :
         std::vector<std::pair<int, int>>{{0, 1}, {1, 1}, {3, 2}, {4, 2}, {9, 2}, {10, 3}, {12, 1}})
        labels->pixels[p] = v;
    const VxObjectStatistics stats(labels.get());
    EXPECT_EQ(stats.NumObjects(), 4);
    EXPECT_EQ(stats.RangeOfClasses(), 4);
    EXPECT_EQ(stats.NumClasses(), 3);
    EXPECT_EQ(stats.NumberInClass(1), 2);
    EXPECT_EQ(stats.NumberInClass(2), 1);
    EXPECT_EQ(stats.NumberInClass(0), -1);
    EXPECT_EQ(stats.NumberInClass(4), -1);
    ASSERT_EQ(stats.ObjectSize(1), 3);
    EXPECT_EQ(std::vector<int>(stats.ObjectPixels(1), stats.ObjectPixels(1) + 3),
              (std::vector<int>{3, 4, 9}));
    EXPECT_EQ(stats.ObjectLabel(2), 3);
    EXPECT_EQ(stats.ObjectLabel(3), 1);
    EXPECT_EQ(stats.ObjectSize(4), -1);
    EXPECT_EQ(stats.ObjectPixels(-1), nullptr);

    // A huge label costs no table of its size.
    labels->pixels[14] = 1 << 30;
    const VxObjectStatistics huge(labels.get());
    EXPECT_EQ(huge.RangeOfClasses(), (1 << 30) + 1);
    EXPECT_EQ(huge.NumberInClass(1 << 30), 1);
    EXPECT_EQ(huge.NumberInClass(5), 0);
    EXPECT_EQ(VxObjectStatistics(nullptr).NumObjects(), 0);
}

TEST(IdLists, CompareInBothDirectionsAndMerge)
{
    CompareDataArray ref("1 2  3", "a.png");
    const CompareDataArray test("3 4", "a.png");
    int similar, missingRef, missingTest, refCount, testCount;
    ref.CompareWithTestDataArray(test, &similar, &missingRef, &missingTest, &refCount, &testCount);
    EXPECT_EQ(std::vector<int>({similar, missingRef, missingTest, refCount, testCount}),
              std::vector<int>({1, 2, 1, 3, 2}));
    test.CompareWithTestDataArray(ref, &similar, &missingRef, &missingTest, &refCount, &testCount);
    EXPECT_EQ(std::vector<int>({similar, missingRef, missingTest, refCount, testCount}),
              std::vector<int>({1, 1, 2, 2, 3}));

    const CompareDataArray none("null", "b.png");
    EXPECT_EQ(none.getArraySize(), 0);
    EXPECT_EQ(none.getArrayValue(0), -1);
    EXPECT_STREQ(none.getEntryID(), "b.png");

    EXPECT_EQ(ref.UnionMergeArray("3 5 5"), 2);
    EXPECT_STREQ(ref.getPCArray(), "1 2 3 5 ");
    EXPECT_EQ(ref.getArrayValue(3), 5);
}

TEST(IdLists, ResultFilesAreComparedAndMergedEntryByEntry)
{
    vx_test::TempDir dir;
    const std::string reference = dir.file("ref.txt"), test = dir.file("test.txt");
    vx_test::write_file(reference, "a.png, 1   2 3\nb.png, null\n");
    vx_test::write_file(test, "a.png, 3 4\nb.png, 7\n");
    const std::string out = dir.file("out.csv");
    std::string output;
    EXPECT_EQ(vx_test::capturing_stdout(
                  [&] { return CompareResults(reference.c_str(), test.c_str(), out.c_str(), 3); },
                  &output),
              1);
    EXPECT_NE(output.find("Only 2 of 3 entries"), std::string::npos);
    EXPECT_EQ(vx_test::read_file(out),
              "ImageIndex, Similar in Both, #Missing from Reference ,#In Reference, #Missing "
              "from Testdata, #In TestData\n"
              "a.png,1, 2, 3, 1, 2\n"
              "b.png,0, 0, 0, 1, 1\n"
              " , 1, 2, 3, 2, 3\n");
    EXPECT_EQ(MergeResults(reference.c_str(), test.c_str(), out.c_str(), 2), 1);
    EXPECT_EQ(vx_test::read_file(out), "a.png,1 2 3 4 \nb.png,7 \n");
    vx_test::capturing_stdout([&] {
        EXPECT_EQ(CompareResults(dir.file("missing").c_str(), test.c_str(), out.c_str(), 2), 0);
        return 0;
    });
}
