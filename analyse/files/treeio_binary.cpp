#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "analyse/files/detail/tree_file.h"
#include "analyse/files/treeio.h"
#include "analyse/trees/tree_walk.h"
#include "imagecore/fatal.h"
#include "imagecore/files/checked_file.h"
#include "imagecore/files/vxfileio.h"
#include "imagecore/files/vxfopen.h"
#include "imagecore/report.h"

namespace {

constexpr char kMagicV1[] = "RTHRG";
constexpr char kMagicV2[] = "RTHR2";
constexpr int kMagicLength = 5;
constexpr const char* kNoSet = "Could not alloc memory for Node while Reading from File ";

// Writes the element-set tree with either header; `write_header` gets the
// file, the region count and the element-set size. `fatal`: a target whose
// temporary file cannot be created ends the process. *error (when given)
// receives the errno value of a failure, 0 when the file is in place.
template <class Header>
int write_elemset_file(region_tree* tree, const char* path, Header write_header, bool fatal,
                       int* error)
{
    if (error != nullptr)
        *error = EINVAL;
    const std::vector<tregionnode*> order = breadth_first(tree->root);
    const long npixels = vx_pixel_count(tree->width, tree->height);
    std::vector<int> set(static_cast<size_t>(npixels > 0 ? npixels : 0));
    std::vector<int> seen(set.size(), 0);
    int count = 0;
    if (npixels < 0 ||
        !generate_elemset(tree->root, set.data(), &count, seen.data(), static_cast<int>(npixels)) ||
        count != npixels) {
        vx_report("Could not write Region tree %s\n", path);
        return 0;
    }
    checked_file out(path, "wb");
    if (tree_output_opened(out, fatal)) {
        FILE* f = out.stream();
        out.record(write_header(f, static_cast<int>(order.size()), count));
        out.record(put_ints(f, set.data(), set.size()));
        out.record(std::fputc('\n', f) != EOF);
        for (size_t k = 0; k < order.size() && out.error() == 0; ++k)
            out.record(write_elemset_region_node(order[k], f, static_cast<int>(k),
                                                 list_size(order[k]->sons)) == 1);
    }
    const bool written = out.close();
    if (error != nullptr)
        *error = out.error();
    return written ? 1 : 0;
}

bool write_text_header(FILE* f, const region_tree* tree, int regions, int entries)
{
    return put_text(f, "RegionTree\n") && put_number_line(f, "Regions: ", regions) &&
           put_number_line(f, "Width: ", tree->width) &&
           put_number_line(f, "Height: ", tree->height) &&
           put_number_line(f, "Scales: ", tree->scales) &&
           put_number_line(f, "ElemsetSize: ", entries);
}

int write_binary_tree(region_tree* tree, const char* path, bool fatal, int* error)
{
    return write_elemset_file(
        tree, path,
        [tree](FILE* f, int regions, int entries) {
            const int header[5] = {regions, tree->width, tree->height, tree->scales, entries};
            return std::fwrite(kMagicV2, 1, kMagicLength, f) == kMagicLength &&
                   put_ints(f, header, 5);
        },
        fatal, error);
}

// The header lines after "RegionTree".
bool read_text_header(FILE* f, int* regions, int* width, int* height, int* scales)
{
    return scan_number_line(f, "Regions: ", regions) && scan_number_line(f, "Width: ", width) &&
           scan_number_line(f, "Height: ", height) && scan_number_line(f, "Scales: ", scales);
}

}  // namespace

region_tree* parse_elemset_body(FILE* f, int version, int regions, int width, int height,
                                int scales, long entries, const char** error)
{
    if (regions < 1 || width < 1 || height < 1 || scales < 0 || vx_pixel_count(width, height) < 0) {
        *error = "header out of range";
        return nullptr;
    }
    tree_assembler tree(regions, width, height, scales);
    int* set = nullptr;
    if (entries != tree.pixel_count() || !read_int_array(f, entries, &set, kNoSet)) {
        *error = "element set incomplete or of the wrong size";
        return nullptr;
    }
    if (!tree.set_elemset(set, entries, error))
        return nullptr;
    if (std::getc(f) != '\n') {
        *error = "no line end after the element set";
        return nullptr;
    }
    bool root = true;
    while (tree.wants_more()) {
        node_record r;
        int* contour = nullptr;
        int* inner = nullptr;
        if (!read_binary_record(f, version, &r, error))
            return nullptr;
        if (root)
            r.contour_size = r.inner_contour_size = 0;
        if (!tree.check(r, error) ||
            !read_record_contours(f, r, tree.pixel_count(), &contour, &inner, error))
            return nullptr;
        tree.add(r, contour, inner, nullptr, version == 1);
        root = false;
    }
    return tree.finish(error);
}

region_tree* try_read_elemset_region_tree(FILE* f, const char** error)
{
    char magic[kMagicLength];
    if (std::fread(magic, 1, kMagicLength, f) != kMagicLength) {
        *error = kNoTreeTag;
        return nullptr;
    }
    int version = 0;
    if (std::memcmp(magic, kMagicV1, kMagicLength) == 0)
        version = 1;
    else if (std::memcmp(magic, kMagicV2, kMagicLength) == 0)
        version = 2;
    if (version == 0) {
        *error = kNoTreeTag;
        return nullptr;
    }
    int header[5];
    if (read_4_byte_ints(f, header, 5) != 5) {
        *error = "header incomplete";
        return nullptr;
    }
    return parse_elemset_body(f, version, header[0], header[1], header[2], header[3], header[4],
                              error);
}

region_tree* try_read_elemset_region_tree_ascii(FILE* f, const char** error)
{
    int regions, width, height, scales, entries;
    if (!scan_literal(f, "RegionTree\n")) {
        *error = kNoTreeTag;
        return nullptr;
    }
    if (!read_text_header(f, &regions, &width, &height, &scales) ||
        !scan_number_line(f, "ElemsetSize: ", &entries)) {
        *error = "text header ill-formed";
        return nullptr;
    }
    return parse_elemset_body(f, 2, regions, width, height, scales, entries, error);
}

int write_elemset_region_tree(region_tree* tree, const char* path)
{
    return write_binary_tree(tree, path, true, nullptr);
}

int try_write_elemset_region_tree(region_tree* tree, const char* path, int* error)
{
    return write_binary_tree(tree, path, false, error);
}

int write_elemset_region_tree_ascii(region_tree* tree, const char* path)
{
    return write_elemset_file(
        tree, path,
        [tree](FILE* f, int regions, int entries) {
            return write_text_header(f, tree, regions, entries);
        },
        true, nullptr);
}

region_tree* load_elemset_region_tree(const char* path)
{
    return read_tree_or_die(open_tree_file(path), path, try_read_elemset_region_tree);
}

region_tree* load_elemset_region_tree_ascii(const char* path)
{
    return read_tree_or_die(open_tree_file(path), path, try_read_elemset_region_tree_ascii);
}

region_tree* read_elemset_region_tree(FILE* f, int version)
{
    return read_tree_or_die(
        f, "the stream", [version](FILE* in, const char** error) -> region_tree* {
            int header[5];
            if ((version != 1 && version != 2) || read_4_byte_ints(in, header, 5) != 5)
                return nullptr;
            return parse_elemset_body(in, version, header[0], header[1], header[2], header[3],
                                      header[4], error);
        });
}

region_tree* read_elemset_region_tree_ascii(FILE* f)
{
    return read_tree_or_die(f, "the stream", try_read_elemset_region_tree_ascii);
}

int write_elemset_region_node(tregionnode* node, FILE* f, int number, int nsons)
{
    node->file_index = number;
    const node_record r = record_of(node, number, nsons);
    int fields[kRecordFields];
    record_to_ints(r, 2, fields);
    bool ok = put_ints(f, fields, kRecordFields);
    if (node->father != nullptr) {
        if ((r.contour_size > 0 && node->contour == nullptr) ||
            (r.inner_contour_size > 0 && node->inner_contour == nullptr))
            return 0;
        ok = ok && put_ints(f, node->contour, static_cast<size_t>(r.contour_size)) &&
             put_ints(f, node->inner_contour, static_cast<size_t>(r.inner_contour_size));
    }
    return ok ? 1 : 0;
}

namespace {

tregionnode* read_single_record(FILE* f, region_tree* tree, int version)
{
    const char* error = nullptr;
    node_record r;
    const long npixels = vx_pixel_count(tree->width, tree->height);
    if (npixels < 0 || !read_binary_record(f, version, &r, &error) || r.size < 0 || r.offset < 0 ||
        static_cast<long>(r.offset) + r.size > npixels || (r.size > 0 && tree->elemset == nullptr))
        return nullptr;
    int* contour = nullptr;
    int* inner = nullptr;
    if (!read_record_contours(f, r, static_cast<int>(npixels), &contour, &inner, &error))
        return nullptr;
    int* pixels = tree->elemset != nullptr ? tree->elemset + r.offset : nullptr;
    return node_from_record(r, pixels, false, contour, inner, version == 1, tree->width,
                            tree->height);
}

}  // namespace

tregionnode* read_elemset_region_node(FILE* f, region_tree* tree)
{
    return read_single_record(f, tree, 1);
}

tregionnode* read_elemset_region_node_v2(FILE* f, region_tree* tree)
{
    return read_single_record(f, tree, 2);
}

int generate_elemset(tregionnode* node, int* set, int* count, int* seen, int capacity)
{
    // A node's run starts where the count stood when the walk came to it and
    // holds its sons' runs, then its pixels that none of them holds.
    struct run {
        int start = 0;
        run for_son() const { return {}; }
    };
    bool ok = true;
    const auto add_pixels = [&](const tregionnode* n) {
        const bool leaf = is_leaf(n);
        for (int k = 0; k < n->size; ++k) {
            const int p = n->pixels[k];
            if (p < 0 || p >= capacity)
                return false;
            if (!leaf && seen[p])
                continue;
            if (*count >= capacity)
                return false;
            set[(*count)++] = p;
            seen[p] = 1;
        }
        return true;
    };
    walk_pre_post(
        node, run{}, [count](tregionnode*, run& r) { r.start = *count; },
        [&](tregionnode* n, run& r, run*) {
            ok = ok && add_pixels(n) && *count - r.start == n->size;
            if (ok)
                n->elemset_offset = r.start;
        });
    return ok ? 1 : 0;
}
