// Trees of real multiscale partitions of synthetic grey images.
#include <gtest/gtest.h>
#include <pthread.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "analyse/files/treeio.h"
#include "analyse/handles.h"
#include "analyse/trees/contour.h"
#include "analyse/trees/lRegion_Graph.h"
#include "analyse/trees/regiontree.h"
#include "analyse/trees/tree_walk.h"
#include "filter/lMMS_Part.h"
#include "filter/tree_workers.h"
#include "imagecore/fatal.h"
#include "testsupport/memory_limit.h"
#include "testsupport/vx_test.h"

namespace {

constexpr int kScales = 5;
// Address space left to a process that is to run out of memory: the
// partition's first work array of a 2048 x 2048 picture does not fit.
constexpr size_t kScarceMemory = size_t{16} << 20;

// Discs of several sizes and contrasts over a ramp, with a little noise.
vx_image* grey_image(int w, int h, unsigned seed)
{
    vx_image* v = init_vx_image(w, h, 1);
    std::srand(seed);
    struct disc {
        int x, y, r, g;
    };
    std::vector<disc> discs;
    for (int i = 0; i < 14; ++i)
        discs.push_back(
            {std::rand() % w, std::rand() % h, 1 + std::rand() % 8, std::rand() % 160 - 80});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int g = 100 + (x + y) / 4 + std::rand() % 10;
            for (const disc& d : discs)
                if ((x - d.x) * (x - d.x) + (y - d.y) * (y - d.y) <= d.r * d.r)
                    g += d.g;
            v->scales[0].pixels[y * w + x] = g;
        }
    return v;
}

region_tree* partition_tree(vx_image* grey, int mode, unsigned flags)
{
    const vx_image_handle partition(init_vx_image(grey->width, grey->height, kScales));
    functions tmpl = unit_disk_template;
    EXPECT_EQ(lMMS_Part(grey, partition.get(), mode, kScales, 1, &tmpl, 8, flags), 1);
    region_tree* tree = Region_Graph(partition.get(), 8);
    return tree;
}

// The tree's regions nest scale by scale, and each pixel has one finest node.
void expect_nested(region_tree* tree)
{
    const int npixels = tree->width * tree->height;
    std::vector<int> finest(static_cast<size_t>(npixels), 0);
    std::vector<int> leaves(static_cast<size_t>(npixels), 0);
    std::vector<char> in_father(static_cast<size_t>(npixels));
    int nodes = 0;
    walk_preorder(tree->root, [&](tregionnode* n) {
        ++nodes;
        std::vector<char> in_sons(static_cast<size_t>(npixels), 0);
        for (const tregionnode* son : sons_of(n)) {
            EXPECT_EQ(son->father, n);
            EXPECT_EQ(son->birth + son->age, n->father == nullptr ? tree->scales : n->birth);
            for (int k = 0; k < son->size; ++k) {
                EXPECT_EQ(in_sons[son->pixels[k]], 0) << "brothers overlap";
                in_sons[son->pixels[k]] = 1;
            }
        }
        std::fill(in_father.begin(), in_father.end(), 0);
        for (int k = 0; k < n->size; ++k)
            in_father[n->pixels[k]] = 1;
        for (int p = 0; p < npixels; ++p)
            EXPECT_TRUE(!in_sons[p] || in_father[p]) << "son pixel outside its father";
        for (int k = 0; k < n->size; ++k) {
            const int p = n->pixels[k];
            if (!in_sons[p])
                ++finest[p];
            if (is_leaf(n))
                ++leaves[p];
        }
    });
    EXPECT_EQ(nodes, tree->regions);
    for (int p = 0; p < npixels; ++p) {
        EXPECT_EQ(finest[p], 1) << "pixel " << p;
        EXPECT_LE(leaves[p], 1) << "pixel " << p;
    }
    rtInitNodelist(tree);
    for (int i = 0; i < tree->regions; ++i)
        ASSERT_NE(tree->nodes[i], nullptr);
}

struct image_case {
    int width, height;
    unsigned seed;
    int mode;
    unsigned flags;
};

TEST(PartitionTree, TreesOfRealPartitionsNestAndSurviveTheirFiles)
{
    vx_test::TempDir dir;
    const image_case cases[] = {
        {64, 48, 1, 1, 3}, {64, 48, 1, 2, 3}, {41, 57, 7, 1, 0}, {50, 50, 3, 2, 4}};
    for (const image_case& c : cases) {
        const vx_image_handle grey(grey_image(c.width, c.height, c.seed));
        const region_tree_handle tree(partition_tree(grey.get(), c.mode, c.flags));
        EXPECT_GT(tree->regions, 10);
        expect_nested(tree.get());
        using writer = int (*)(region_tree*, const char*);
        using loader = region_tree* (*)(const char*);
        const std::pair<writer, loader> formats[] = {
            {write_elemset_region_tree, load_elemset_region_tree},
            {write_elemset_region_tree_ascii, load_elemset_region_tree_ascii},
            {write_region_tree, load_region_tree}};
        for (const auto& [write, load] : formats) {
            const std::string a = dir.file("a.tree");
            const std::string b = dir.file("b.tree");
            ASSERT_EQ(write(tree.get(), a.c_str()), 1);
            const region_tree_handle loaded(load(a.c_str()));
            EXPECT_EQ(loaded->regions, tree->regions);
            expect_nested(loaded.get());
            ASSERT_EQ(write(loaded.get(), b.c_str()), 1);
            EXPECT_EQ(vx_test::read_file(a), vx_test::read_file(b));
        }
    }
}

TEST(PartitionTree, EveryContourPixelOfThePartitionEndsAsZero)
{
    for (int mode : {1, 2}) {
        vx_image* grey = grey_image(48, 40, 11);
        vx_image* partition = init_vx_image(48, 40, kScales);
        functions tmpl = unit_disk_template;
        ASSERT_EQ(lMMS_Part(grey, partition, mode, kScales, 1, &tmpl, 8, 3), 1);
        region_tree* tree = Region_Graph(partition, 8);
        int border_pixels = 0;
        walk_preorder(tree->root, [&](tregionnode* n) {
            if (n->father == nullptr)
                return;
            // A node is traced in the partition of the scale that created it.
            const image& labels = partition->scales[n->birth + n->age - 1];
            for (int k = 0; k < n->contour_size; ++k) {
                const int p = n->contour[k];
                EXPECT_EQ(labels.pixels[p], 0) << "contour pixel " << p;
                border_pixels += get_pixel_border_id(p, 48, 40) != 0;
            }
        });
        EXPECT_GT(border_pixels, 0);
        delete_regiontree(tree);
        delete_vximage(partition);
        delete_vximage(grey);
    }
}

TEST(PartitionTree, TreeJobsRunInThreads)
{
    vx_test::TempDir dir;
    const vx_image_handle grey(grey_image(40, 30, 5));
    const std::string names[] = {dir.file("img.5.bright.tree"), dir.file("img.5.dark.tree")};
    tree_job jobs[2];
    pthread_t threads[2];
    for (int i = 0; i < 2; ++i) {
        jobs[i] = tree_job{kScales,
                           grey.get(),
                           init_vx_image(40, 30, kScales),
                           unit_disk_template,
                           i + 1,
                           3u,
                           names[i].c_str(),
                           nullptr,
                           nullptr,
                           nullptr,
                           {},
                           0};
        ASSERT_EQ(pthread_create(&threads[i], nullptr, generateTreeFile, &jobs[i]), 0);
    }
    for (int i = 0; i < 2; ++i) {
        pthread_join(threads[i], nullptr);
        ASSERT_NE(jobs[i].result, nullptr);
        const region_tree_handle loaded(load_elemset_region_tree(names[i].c_str()));
        EXPECT_EQ(loaded->regions, jobs[i].result->regions);
        EXPECT_EQ(loaded->scales, kScales);
        delete_regiontree(jobs[i].result);
        delete_vximage(jobs[i].work);
    }
}

// A job of kScales scales without progress.
tree_job job_of(vx_image* grey, vx_image* work, int mode, const std::string& file)
{
    tree_job job{};
    job.scales = kScales;
    job.source = grey;
    job.work = work;
    job.tmpl = unit_disk_template;
    job.mode = mode;
    job.file_name = file.c_str();
    return job;
}

TEST(PartitionTree, ATreeJobWhosePartitionFailsKeepsTheOldFileAndHasNoTree)
{
    vx_test::TempDir dir;
    const vx_image_handle grey(grey_image(40, 30, 5));
    const vx_image_handle too_few_scales(init_vx_image(40, 30, kScales - 1));
    const std::string name = dir.file("img.5.bright.tree");
    vx_test::write_file(name, "old tree");
    tree_job job = job_of(grey.get(), too_few_scales.get(), 1, name);
    const std::string printed = vx_test::printed_by([&] { generateTreeFile(&job); });
    EXPECT_EQ(job.result, nullptr);
    EXPECT_EQ(vx_test::read_file(name), "old tree");
    EXPECT_NE(printed.find("Could not compute the tree " + name + ": no file written\n"),
              std::string::npos);
}

TEST(PartitionTree, ATreeJobWhoseFileCannotBeWrittenSaysWhyAndKeepsItsTree)
{
    vx_test::TempDir dir;
    const vx_image_handle grey(grey_image(40, 30, 5));
    const vx_image_handle work(init_vx_image(40, 30, kScales));
    const std::string name = dir.file("missing/img.5.dark.tree");
    tree_job job = job_of(grey.get(), work.get(), 2, name);
    const std::string printed = vx_test::printed_by([&] { generateTreeFile(&job); });
    const region_tree_handle tree(job.result);
    EXPECT_NE(tree, nullptr);
    EXPECT_STREQ(job.failure, "No such file or directory");
    EXPECT_NE(printed.find("Tree file " + name + " not written\n"), std::string::npos);
}

// 3 when the tree file written where no thread can start is `expected`.
int tree_without_threads(vx_image* grey, const std::string& path, const std::string& expected)
{
    if (!vx_test::forbid_new_threads())
        return 5;
    const region_tree_handle tree(partition_tree(grey, 1, 3u));
    return write_elemset_region_tree(tree.get(), path.c_str()) == 1 &&
                   vx_test::read_file(path) == expected
               ? 3
               : 4;
}

TEST(PartitionTree, WorkersThatCannotStartLeaveTheirShareToTheOthers)
{
    if (!vx_test::threads_can_be_forbidden())
        GTEST_SKIP() << "no thread limit can be set here";
    vx_test::TempDir dir;
    std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
    const vx_image_handle grey(grey_image(60, 50, 7));
    const std::string path = dir.file("tree");
    set_tree_workers(4);
    const region_tree_handle tree(
        vx_test::capturing_stdout([&] { return partition_tree(grey.get(), 1, 3u); }));
    ASSERT_EQ(write_elemset_region_tree(tree.get(), path.c_str()), 1);
    const std::string expected = vx_test::read_file(path);
    std::filesystem::remove(path);
    EXPECT_EXIT(std::_Exit(tree_without_threads(grey.get(), path, expected)),
                ::testing::ExitedWithCode(3), "");
    set_tree_workers(0);
}

// With the address space a little above what the process holds: 0 when a
// tree job too big for it, within a recovery, ends with no tree, no file and
// the system's words for the memory, and a small job then builds and writes
// its tree.
int jobs_in_scarce_memory(vx_image* big, const std::string& dir)
{
    const vx_image_handle bigWork(init_vx_image(big->width, big->height, kScales));
    const vx_image_handle small(grey_image(40, 30, 5));
    const vx_image_handle smallWork(init_vx_image(40, 30, kScales));
    const std::string bigFile = dir + "/big.tree";
    const std::string smallFile = dir + "/small.tree";
    if (!vx_test::limit_address_space(kScarceMemory))
        return 5;
    const out_of_memory_recovery recovery;
    tree_job job = job_of(big, bigWork.get(), 1, bigFile);
    vx_test::printed_by([&] { generateTreeFile(&job); });
    if (job.result != nullptr || job.out_of_memory != 1 ||
        std::string(job.failure) != "Cannot allocate memory" || std::filesystem::exists(bigFile))
        return 1;
    tree_job next = job_of(small.get(), smallWork.get(), 2, smallFile);
    vx_test::printed_by([&] { generateTreeFile(&next); });
    const region_tree_handle tree(next.result);
    return tree != nullptr && next.out_of_memory == 0 && std::filesystem::exists(smallFile) ? 0 : 2;
}

TEST(PartitionTree, MemoryThatRunsOutEndsABatchTreeWithItsCodeAndWithinARecoveryOnlyTheJob)
{
    if (vx_test::under_sanitizer)
        GTEST_SKIP() << "the sanitizers reserve more address space than the limit leaves";
    set_tree_workers(4);
    const vx_image_handle big(grey_image(2048, 2048, 3));
    EXPECT_VX_FATAL(
        {
            const vx_image_handle partition(init_vx_image(2048, 2048, kScales));
            functions tmpl = unit_disk_template;
            vx_test::limit_address_space(kScarceMemory);
            lMMS_Part(big.get(), partition.get(), 1, kScales, 1, &tmpl, 8, 3u);
        },
        exit_code::watershed_out_of_memory, "Not enough Mem for Sorted image in WATERSHED");
    vx_test::TempDir dir;
    EXPECT_EXIT(std::_Exit(jobs_in_scarce_memory(big.get(), dir.path().string())),
                ::testing::ExitedWithCode(0), "");
    set_tree_workers(0);
}

}  // namespace
