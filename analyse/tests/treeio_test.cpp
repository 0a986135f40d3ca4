#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "analyse/files/treeio.h"
#include "analyse/trees/lRegion_Graph.h"
#include "analyse/trees/regiontree.h"
#include "analyse/trees/tree_walk.h"
#include "testsupport/region_tree_builder.h"
#include "testsupport/full_disk.h"
#include "testsupport/vx_test.h"

namespace {

using vx_test::partition_from;
using vx_test::read_file;
using vx_test::TempDir;
using vx_test::write_file;

region_tree* hand_tree()
{
    const vx_image_handle v(partition_from(vx_test::kThreeScales));
    region_tree* tree = Region_Graph(v.get(), 8);
    return tree;
}

std::vector<int32_t> ints_at(const std::string& bytes, size_t offset, size_t n)
{
    std::vector<int32_t> out(n);
    for (size_t k = 0; k < n; ++k) {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + offset + 4 * k);
        out[k] =
            static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24);
    }
    return out;
}

std::string le(std::vector<int32_t> values)
{
    std::string out;
    for (int32_t v : values)
        for (int b = 0; b < 4; ++b)
            out.push_back(static_cast<char>((static_cast<uint32_t>(v) >> (8 * b)) & 0xff));
    return out;
}

// Nodes in breadth-first order with everything a file keeps.
struct node_view {
    int file_index, label, nsons, birth, age, max_width, min_width, left, right, ahead, ambiguity,
        border;
    std::vector<int> pixels, contour, inner;
    bool operator==(const node_view& o) const
    {
        return std::tie(file_index, label, nsons, birth, age, max_width, min_width, left, right,
                        ahead, ambiguity, border, pixels, contour,
                        inner) == std::tie(o.file_index, o.label, o.nsons, o.birth, o.age,
                                           o.max_width, o.min_width, o.left, o.right, o.ahead,
                                           o.ambiguity, o.border, o.pixels, o.contour, o.inner);
    }
};

std::vector<node_view> view(region_tree* tree)
{
    std::vector<node_view> out;
    walk_breadth_first(tree->root, [&out](tregionnode* n, int) {
        auto vec = [](const int* p, int n) {
            return std::vector<int>(p, p + (p != nullptr ? n : 0));
        };
        std::vector<int> pixels = vec(n->pixels, n->size);
        std::sort(pixels.begin(), pixels.end());
        out.push_back({n->file_index, n->label, list_size(n->sons), n->birth, n->age, n->max_width,
                       n->min_width, n->left, n->right, n->ahead, n->ambiguity, n->border, pixels,
                       vec(n->contour, n->contour_size),
                       vec(n->inner_contour, n->inner_contour_size)});
    });
    return out;
}

TEST(TreeFile, RootAndOneNodeLayout)
{
    TempDir dir;
    const vx_image_handle v(partition_from({{"111", "111"}}));
    const region_tree_handle tree(Region_Graph(v.get(), 8));
    const std::string path = dir.file("one.tree");
    ASSERT_EQ(write_elemset_region_tree(tree.get(), path.c_str()), 1);
    const std::string bytes = read_file(path);
    EXPECT_EQ(bytes.substr(0, 5), "RTHR2");
    EXPECT_EQ(ints_at(bytes, 5, 5), (std::vector<int32_t>{2, 3, 2, 1, 6}));
    EXPECT_EQ(ints_at(bytes, 25, 6), (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(bytes[49], '\n');
    // Root: number 0, one son, offset 0, all pixels, no contour data.
    EXPECT_EQ(ints_at(bytes, 50, 15),
              (std::vector<int32_t>{0, 1, 0, 2, 1, 0, 0, 0, 0, 0, 0, 0, 6, 0, 0}));
    const tregionnode* node = first_son(tree->root);
    const std::vector<int32_t> record = ints_at(bytes, 110, 15);
    EXPECT_EQ(record[0], 1);
    EXPECT_EQ(record[1], 0);
    EXPECT_EQ(record[2], 15);
    EXPECT_EQ(record[11], 0);
    EXPECT_EQ(record[12], 6);
    EXPECT_EQ(record[13], node->contour_size);
    EXPECT_EQ(bytes.size(), 170 + 4u * node->contour_size);
}

TEST(TreeFile, ElementSetRunsPutSonsBeforeTheFathersOwnPixels)
{
    const region_tree_handle tree(hand_tree());
    std::vector<int> set(24), seen(24, 0);
    int count = 0;
    ASSERT_EQ(generate_elemset(tree->root, set.data(), &count, seen.data(), 24), 1);
    EXPECT_EQ(count, 24);
    // Left half, then the right half's two sons, then its row-2 line pixels,
    // then the line column owned by the node of the whole image.
    EXPECT_EQ(set, (std::vector<int>{0,  1,  6,  7,  12, 13, 18, 19, 3, 4, 5,  9,
                                     10, 11, 21, 22, 23, 15, 16, 17, 2, 8, 14, 20}));
    std::vector<int> offsets;
    walk_breadth_first(tree->root,
                       [&offsets](tregionnode* n, int) { offsets.push_back(n->elemset_offset); });
    EXPECT_EQ(offsets, (std::vector<int>{0, 0, 0, 8, 8, 14}));
    // A pixel outside the image, or more pixels than room, is refused.
    std::fill(seen.begin(), seen.end(), 0);
    count = 0;
    EXPECT_EQ(generate_elemset(tree->root, set.data(), &count, seen.data(), 20), 0);
}

TEST(TreeFile, RoundTripsKeepNodesAndBytes)
{
    TempDir dir;
    struct format {
        int (*write)(region_tree*, const char*);
        region_tree* (*load)(const char*);
    };
    const format formats[] = {{write_elemset_region_tree, load_elemset_region_tree},
                              {write_elemset_region_tree_ascii, load_elemset_region_tree_ascii},
                              {write_region_tree, load_region_tree}};
    for (const format& fmt : formats) {
        const region_tree_handle tree(hand_tree());
        tree->regions = 99;  // a stale count is not written
        const std::string first = dir.file("first.tree");
        const std::string second = dir.file("second.tree");
        ASSERT_EQ(fmt.write(tree.get(), first.c_str()), 1);
        const region_tree_handle loaded(fmt.load(first.c_str()));
        EXPECT_EQ(loaded->regions, 6);
        EXPECT_EQ(loaded->width, 6);
        EXPECT_EQ(loaded->scales, 3);
        EXPECT_STREQ(loaded->name, first.c_str());
        EXPECT_EQ(view(loaded.get()), view(tree.get()));
        ASSERT_EQ(fmt.write(loaded.get(), second.c_str()), 1);
        EXPECT_EQ(read_file(first), read_file(second));
        // Writing neither takes nor gives away pixel arrays.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
    }
}

TEST(TreeFile, VersionOneDerivesBorderFlagsFromTheContour)
{
    TempDir dir;
    const region_tree_handle tree(hand_tree());
    const std::string path = dir.file("v2.tree");
    ASSERT_EQ(write_elemset_region_tree(tree.get(), path.c_str()), 1);
    // Rewrite as version 1: drop the border field of every record.
    const std::string v2 = read_file(path);
    std::string v1 = "RTHRG" + v2.substr(5, 20 + 4 * 24 + 1);
    size_t at = v1.size();
    walk_breadth_first(tree->root, [&](tregionnode* n, int) {
        std::vector<int32_t> r = ints_at(v2, at, 15);
        r.erase(r.begin() + 2);
        v1 += le(r);
        const size_t data =
            n->father != nullptr ? 4u * (n->contour_size + n->inner_contour_size) : 0u;
        v1 += v2.substr(at + 60, data);
        at += 60 + data;
    });
    write_file(path, v1);
    const region_tree_handle loaded(load_elemset_region_tree(path.c_str()));
    EXPECT_EQ(view(loaded.get()), view(tree.get()));
}

// Tries every reader on the bytes; true when one of them accepts them.
bool any_reader_accepts(const std::string& bytes)
{
    using try_fn = region_tree* (*)(FILE*, const char**);
    for (try_fn fn :
         {try_read_elemset_region_tree, try_read_elemset_region_tree_ascii, try_read_region_tree}) {
        FILE* f = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
        const char* error = nullptr;
        region_tree* tree = fn(f, &error);
        std::fclose(f);
        if (tree != nullptr) {
            delete_regiontree(tree);
            return true;
        }
        EXPECT_NE(error, nullptr);
    }
    return false;
}

TEST(TreeFileBadInput, EveryTruncationAndCorruptionIsRefused)
{
    TempDir dir;
    const region_tree_handle tree(hand_tree());
    const std::string path = dir.file("t.tree");
    const std::string text_path = dir.file("t.txt");
    ASSERT_EQ(write_elemset_region_tree(tree.get(), path.c_str()), 1);
    ASSERT_EQ(write_region_tree(tree.get(), text_path.c_str()), 1);
    const std::string good = read_file(path);
    const std::string text = read_file(text_path);
    EXPECT_TRUE(any_reader_accepts(good));
    EXPECT_TRUE(any_reader_accepts(text));
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(any_reader_accepts(good.substr(0, n))) << "binary cut at " << n;
    for (size_t n = 0; n < text.size(); ++n)
        EXPECT_FALSE(any_reader_accepts(text.substr(0, n))) << "text cut at " << n;

    auto with_int = [&good](size_t offset, int32_t value) {
        std::string bad = good;
        bad.replace(offset, 4, le({value}));
        return bad;
    };
    const size_t root = 26 + 4 * 24;
    const size_t first = root + 60;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"magic", "RTHR3" + good.substr(5)},
        {"regions huge", with_int(5, 0x7fffffff)},
        {"regions zero", with_int(5, 0)},
        {"regions one short", with_int(5, 5)},
        {"width negative", with_int(9, -6)},
        {"size overflows", with_int(9, 0x10000)},
        {"elemset count", with_int(21, 25)},
        {"elemset huge", with_int(21, 0x7ffffff0)},
        {"position outside", with_int(25, 24)},
        {"position negative", with_int(25, -1)},
        {"position repeated", with_int(29, 0)},
        {"line end", good.substr(0, root - 1) + "x" + good.substr(root)},
        {"root number", with_int(root, 1)},
        {"root sons negative", with_int(root + 4, -1)},
        {"root sons too many", with_int(root + 4, 6)},
        {"root offset", with_int(root + 44, 1)},
        {"root size", with_int(root + 48, 23)},
        {"son number", with_int(first, 2)},
        {"son offset", with_int(first + 44, 1)},
        {"son size", with_int(first + 48, 25)},
        {"contour negative", with_int(first + 52, -3)},
        {"contour huge", with_int(first + 52, 0x7fffffff)},
        {"inner negative", with_int(first + 56, -1)},
        {"contour position", with_int(first + 60, 24)},
        {"sons beyond the count", with_int(first + 4, 3)},
        {"sons short of the count", with_int(first + 4, 1)},
    };
    for (const auto& [name, bytes] : cases)
        EXPECT_FALSE(any_reader_accepts(bytes)) << name;
}

TEST(TreeFileBadInput, MalformedCorpusIsRefusedAndValidSamplesRead)
{
    int files = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(VX_TESTDATA_DIR "/malformed/tree_file")) {
        const std::string name = entry.path().filename().string();
        const bool valid = name.find("valid") != std::string::npos;
        EXPECT_EQ(any_reader_accepts(read_file(entry.path().string())), valid) << name;
        ++files;
    }
    EXPECT_GT(files, 20);
}

TEST(TreeFileBadInput, TextSizesAreBackedByData)
{
    // A text tree that claims a huge image but lists no pixels.
    const std::string lying =
        "RegionTree\nRegions: 1\nWidth: 40000\nHeight: 40000\nScales: 1\nNode: 0\nSuccessors: 0\n"
        "Birth: 2\nAge: 1\nMax Width: 0\nMin Width: 0\nContour Left: 0\nContour Right: 0\n"
        "Contour Ahead: 0\nAmbiguity: 0\nSize: 1600000000\nContour Size: 0\nInner Contour Size: "
        "0\nContour:\n";
    EXPECT_FALSE(any_reader_accepts(lying));
    std::string small = lying;
    small.replace(small.find("40000"), 5, "2");
    small.replace(small.find("40000"), 5, "2");
    small.replace(small.find("1600000000"), 10, "4");
    EXPECT_TRUE(any_reader_accepts(small));
    EXPECT_FALSE(any_reader_accepts("RegionTree\nRegions: 99999999999\n"));
}

TEST(TreeFileDeath, LoadersEndWithTheirMessages)
{
    TempDir dir;
    const std::string path = dir.file("junk.tree");
    write_file(path, "JUNK!and more");
    EXPECT_VX_FATAL(load_elemset_region_tree(path.c_str()), 42,
                    "RegionTree Tag not found presuming .*junk.tree not a Tree File");
    EXPECT_VX_FATAL(load_region_tree(path.c_str()), 42, "not a Tree File");
    write_file(path, "RegionX");
    EXPECT_VX_FATAL(load_elemset_region_tree_ascii(path.c_str()), 42, "RegionTree Tag not found");
    // A file with the right tag names the reader's reason for refusing it.
    region_tree* good = hand_tree();
    const std::string tree_path = dir.file("good.tree");
    ASSERT_EQ(write_elemset_region_tree(good, tree_path.c_str()), 1);
    const std::string bytes = read_file(tree_path);
    write_file(path, bytes.substr(0, 12));
    EXPECT_VX_FATAL(load_elemset_region_tree(path.c_str()), 42,
                    "Tree File .*junk.tree refused: header incomplete");
    write_file(path, bytes.substr(0, 29) + le({0}) + bytes.substr(33));
    EXPECT_VX_FATAL(load_elemset_region_tree(path.c_str()), 42,
                    "refused: element set position outside the image or repeated");
    write_file(path, bytes.substr(0, bytes.size() - 1));
    EXPECT_VX_FATAL(load_elemset_region_tree(path.c_str()), 42, "refused: contour incomplete");
    write_file(path, "RegionTree\nRegions: 1\nWidth: x\n");
    EXPECT_VX_FATAL(load_region_tree(path.c_str()), 42, "refused: text header ill-formed");
    delete_regiontree(good);
    EXPECT_VX_FATAL(load_elemset_region_tree_ascii(dir.file("none").c_str()), 42,
                    "treeio Cannot open Tree File \n.*none");
    const region_tree_handle tree(hand_tree());
    EXPECT_VX_FATAL(write_elemset_region_tree(tree.get(), dir.file("missing/dir/t.tree").c_str()),
                    42, "Could not open Region tree for writing");
}

// 3 when the write failed under a small file-size limit and left no file.
int write_with_size_limit(region_tree* tree, const std::string& path,
                          const std::filesystem::path& dir)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = 64;
    setrlimit(RLIMIT_FSIZE, &limit);
    const int written = write_elemset_region_tree(tree, path.c_str());
    const bool left = std::distance(std::filesystem::directory_iterator(dir), {}) != 0;
    return written == 0 && !left ? 3 : 4;
}

TEST(TreeFileWriter, FailedWritesLeaveNoFileBehind)
{
    TempDir dir;
    const region_tree_handle tree(hand_tree());
    const std::string path = dir.file("big.tree");
    // A file-size limit makes a write fail half-way.
    EXPECT_EXIT(std::exit(write_with_size_limit(tree.get(), path, dir.path())),
                ::testing::ExitedWithCode(3), "");
    // A target that cannot be replaced (a folder) fails after the writes.
    std::filesystem::create_directory(path);
    EXPECT_EQ(write_region_tree(tree.get(), path.c_str()), 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    // A tree whose pixels are not nested runs is refused before any file is made.
    tregionnode* son = first_son(tree->root);
    son->pixels[0] = 99;
    EXPECT_EQ(write_elemset_region_tree(tree.get(), dir.file("bad.tree").c_str()), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad.tree")));
}

TEST(TreeFileWriter, TheTryWriterNeverEndsTheProcessAndSaysWhy)
{
    TempDir dir;
    const region_tree_handle tree(hand_tree());
    int error = 0;
    EXPECT_EQ(try_write_elemset_region_tree(tree.get(), dir.file("missing/t.tree").c_str(), &error),
              0);
    EXPECT_EQ(error, ENOENT);
    const std::string path = dir.file("t.tree");
    write_file(path, "older tree");
    EXPECT_EXIT(
        std::exit(vx_test::under_size_limit([&] {
            const int written = try_write_elemset_region_tree(tree.get(), path.c_str(), &error);
            return written == 0 && error == EFBIG && read_file(path) == "older tree" ? 3 : 4;
        })),
        ::testing::ExitedWithCode(3), "");
    EXPECT_EQ(try_write_elemset_region_tree(tree.get(), path.c_str(), &error), 1);
    EXPECT_EQ(error, 0);
}

TEST(TreeFileText, SeekHelpersAndScanner)
{
    TempDir dir;
    const region_tree_handle tree(hand_tree());
    const std::string path = dir.file("t.txt");
    ASSERT_EQ(write_region_tree(tree.get(), path.c_str()), 1);
    FILE* f = std::fopen(path.c_str(), "rb");
    EXPECT_EQ(seek_node_by_number(f, 3), 3);
    EXPECT_EQ(seek_contour_size(f), static_cast<int>(view(tree.get())[3].contour.size()));
    EXPECT_EQ(seek_contour_tag(f), 0);
    EXPECT_EQ(seek_node_by_number(f, 1), -1);
    EXPECT_EQ(seek_contour_tag(f), -1);
    std::fclose(f);

    char text[] = "Size: 12;7 rest 3.5e2x";
    f = fmemopen(text, sizeof text - 1, "rb");
    int value = -1;
    EXPECT_EQ(vxfscanf(f, "Size: %d", &value), 'd');
    EXPECT_EQ(value, 12);
    EXPECT_EQ(vxfscanf(f, " rost", &value), 'r');
    EXPECT_EQ(std::fgetc(f), 'e');
    EXPECT_EQ(vxfscanf(f, "st %f", &value), 'f');
    EXPECT_EQ(value, 12);
    EXPECT_EQ(std::fgetc(f), 'x');
    std::fclose(f);
}

TEST(TreeFileText, AsciiNodeRecordsRoundTrip)
{
    TempDir dir;
    const region_tree_handle tree(hand_tree());
    const std::string path = dir.file("nodes.txt");
    ASSERT_EQ(write_elemset_region_tree(tree.get(), dir.file("t.tree").c_str()), 1);
    const region_tree_handle loaded(load_elemset_region_tree(dir.file("t.tree").c_str()));
    // The written tree carries the element-set offsets of the loaded one.
    tregionnode* whole = first_son(tree->root);
    tregionnode* right = last_son(whole);
    FILE* f = std::fopen(path.c_str(), "wb");
    EXPECT_EQ(write_elemset_region_node_ascii(right, f, 3, 2), 1);
    std::fclose(f);
    f = std::fopen(path.c_str(), "rb");
    const region_node_handle back(read_elemset_region_node_ascii(f, loaded.get()));
    std::fclose(f);
    ASSERT_NE(back.get(), nullptr);
    EXPECT_EQ(back->file_index, 3);
    // The run of the node in the element set: its sons' pixels, then its own.
    EXPECT_EQ(std::vector<int>(back->pixels, back->pixels + back->size),
              (std::vector<int>{3, 4, 5, 9, 10, 11, 21, 22, 23, 15, 16, 17}));
    EXPECT_EQ(std::vector<int>(back->contour, back->contour + back->contour_size),
              std::vector<int>(right->contour, right->contour + right->contour_size));
    EXPECT_EQ(back->border, right->border);
}

}  // namespace
