#include <cstdlib>
#include <vector>

#include "analyse/files/detail/tree_file.h"
#include "analyse/files/treeio.h"
#include "analyse/trees/tree_walk.h"
#include "imagecore/fatal.h"
#include "imagecore/files/checked_file.h"
#include "imagecore/files/vxfileio.h"
#include "imagecore/files/vxfopen.h"

namespace {

constexpr const char* kNoNode = "Could not alloc memory for Node while Reading from File ";
constexpr const char* kNoContour = "Could not alloc memory for Contour while Reading from File ";
constexpr const char* kNoInner =
    "Could not alloc memory for  Inner Contour while Reading from File ";
constexpr long kSmallImage = 1 << 16;

// Tags of the old text node, in file order, and the record field each holds.
struct tagged_field {
    const char* tag;
    int node_record::*field;
};

constexpr tagged_field kOldTags[] = {
    {"Node: ", &node_record::number},
    {"Successors: ", &node_record::nsons},
    {"Birth: ", &node_record::birth},
    {"Age: ", &node_record::age},
    {"Max Width: ", &node_record::max_width},
    {"Min Width: ", &node_record::min_width},
    {"Contour Left: ", &node_record::left},
    {"Contour Right: ", &node_record::right},
    {"Contour Ahead: ", &node_record::ahead},
    {"Ambiguity: ", &node_record::ambiguity},
    {"Size: ", &node_record::size},
    {"Contour Size: ", &node_record::contour_size},
    {"Inner Contour Size: ", &node_record::inner_contour_size},
};

constexpr tagged_field kAsciiTags[] = {
    {"N: ", &node_record::number},        {"SN: ", &node_record::nsons},
    {"B: ", &node_record::birth},         {"A: ", &node_record::age},
    {"XW: ", &node_record::max_width},    {"IW: ", &node_record::min_width},
    {"CL: ", &node_record::left},         {"CR: ", &node_record::right},
    {"CA: ", &node_record::ahead},        {"AY: ", &node_record::ambiguity},
    {"EI: ", &node_record::offset},       {"S: ", &node_record::size},
    {"CS: ", &node_record::contour_size}, {"IC: ", &node_record::inner_contour_size},
};

template <size_t N>
bool put_fields(FILE* f, const node_record& r, const tagged_field (&tags)[N])
{
    for (const tagged_field& t : tags)
        if (!put_number_line(f, t.tag, r.*t.field))
            return false;
    return true;
}

template <size_t N>
bool scan_fields(FILE* f, node_record* r, const tagged_field (&tags)[N])
{
    *r = node_record{};
    for (const tagged_field& t : tags)
        if (!scan_number_line(f, t.tag, &(r->*t.field)))
            return false;
    return r->size >= 0 && r->contour_size >= 0 && r->inner_contour_size >= 0 && r->nsons >= 0;
}

// The contour lines of an old text node after its pixels.
bool put_old_contours(FILE* f, const tregionnode* node, const node_record& r)
{
    if (!put_text(f, "Contour:\n"))
        return false;
    if (node->father == nullptr)
        return true;
    if (!put_numbers(f, node->contour, r.contour_size) || !put_text(f, "\n"))
        return false;
    if (r.inner_contour_size == 0)
        return true;
    return put_text(f, "Inner Contour:\n") &&
           put_numbers(f, node->inner_contour, r.inner_contour_size) && put_text(f, "\n");
}

bool contours_present(const tregionnode* node, const node_record& r)
{
    return node->father == nullptr ||
           ((r.contour_size == 0 || node->contour != nullptr) &&
            (r.inner_contour_size == 0 || node->inner_contour != nullptr));
}

// Reads the pixel list (non-root) and contours of an old text node.
bool scan_old_body(FILE* f, const node_record& r, bool root, int npixels, int** pixels,
                   int** contour, int** inner)
{
    *pixels = *contour = *inner = nullptr;
    bool ok = root || (scan_numbers(f, r.size, pixels, kNoNode) &&
                       positions_inside(*pixels, r.size, npixels));
    ok = ok && scan_literal(f, "Contour:\n");
    if (ok && !root) {
        ok = scan_numbers(f, r.contour_size, contour, kNoContour) &&
             positions_inside(*contour, r.contour_size, npixels);
        if (ok && r.inner_contour_size > 0)
            ok = scan_literal(f, "Inner Contour:\n") &&
                 scan_numbers(f, r.inner_contour_size, inner, kNoInner) &&
                 positions_inside(*inner, r.inner_contour_size, npixels);
    }
    if (ok)
        return true;
    std::free(*pixels);
    std::free(*contour);
    std::free(*inner);
    *pixels = *contour = *inner = nullptr;
    return false;
}

}  // namespace

int write_region_node(tregionnode* node, FILE* f, int number, int nsons)
{
    const node_record r = record_of(node, number, nsons);
    if (!contours_present(node, r) || !put_fields(f, r, kOldTags))
        return 0;
    if (node->father != nullptr &&
        (!put_numbers(f, node->pixels, node->size) || !put_text(f, "\n")))
        return 0;
    return put_old_contours(f, node, r) ? 1 : 0;
}

int write_region_tree(region_tree* tree, const char* path)
{
    const std::vector<tregionnode*> order = breadth_first(tree->root);
    checked_file out(path, "wb");
    tree_output_opened(out, true);
    FILE* f = out.stream();
    out.record(put_text(f, "RegionTree\n") &&
               put_number_line(f, "Regions: ", static_cast<int>(order.size())) &&
               put_number_line(f, "Width: ", tree->width) &&
               put_number_line(f, "Height: ", tree->height) &&
               put_number_line(f, "Scales: ", tree->scales));
    for (size_t k = 0; k < order.size() && out.error() == 0; ++k)
        out.record(write_region_node(order[k], f, static_cast<int>(k), list_size(order[k]->sons)) ==
                   1);
    return out.close() ? 1 : 0;
}

tregionnode* read_region_node(FILE* f, int width, int height)
{
    const long npixels = vx_pixel_count(width, height);
    node_record r;
    int* pixels;
    int* contour;
    int* inner;
    if (npixels < 0 || !scan_fields(f, &r, kOldTags) ||
        !scan_old_body(f, r, false, static_cast<int>(npixels), &pixels, &contour, &inner))
        return nullptr;
    return node_from_record(r, pixels, true, contour, inner, true, width, height);
}

region_tree* try_read_region_tree(FILE* f, const char** error)
{
    int regions, width, height, scales;
    if (!scan_literal(f, "RegionTree\n")) {
        *error = kNoTreeTag;
        return nullptr;
    }
    if (!scan_number_line(f, "Regions: ", &regions) || !scan_number_line(f, "Width: ", &width) ||
        !scan_number_line(f, "Height: ", &height) || !scan_number_line(f, "Scales: ", &scales)) {
        *error = "text header ill-formed";
        return nullptr;
    }
    if (regions < 1 || width < 1 || height < 1 || scales < 0 || vx_pixel_count(width, height) < 0) {
        *error = "header out of range";
        return nullptr;
    }
    tree_assembler tree(regions, width, height, scales);
    bool root = true;
    while (tree.wants_more()) {
        node_record r;
        int* pixels;
        int* contour;
        int* inner;
        if (!scan_fields(f, &r, kOldTags)) {
            *error = "node ill-formed";
            return nullptr;
        }
        if (root)
            r.contour_size = r.inner_contour_size = 0;
        if (!tree.check(r, error))
            return nullptr;
        if (!scan_old_body(f, r, root, tree.pixel_count(), &pixels, &contour, &inner)) {
            *error = "node pixels or contours ill-formed";
            return nullptr;
        }
        tree.add(r, contour, inner, pixels, true);
        root = false;
    }
    // The root's identity pixels are not in the file. Its sons list nearly
    // every pixel of a real tree, so an image much larger than they show is
    // a header that lies; it must not become a huge allocation.
    const long npixels = tree.pixel_count();
    if (npixels > kSmallImage && 2 * tree.root_son_pixels() < npixels) {
        *error = "image size not backed by the root's sons";
        return nullptr;
    }
    region_tree* result = tree.finish(error);
    if (result == nullptr)
        return nullptr;
    tregionnode* r = result->root;
    r->pixels = static_cast<int*>(
        vx_calloc(static_cast<size_t>(npixels), sizeof(int), exit_code::out_of_memory, kNoNode));
    r->owns_pixels = 1;
    for (int p = 0; p < npixels; ++p)
        r->pixels[p] = p;
    return result;
}

region_tree* load_region_tree(const char* path)
{
    return read_tree_or_die(open_tree_file(path), path, try_read_region_tree);
}

region_tree* read_region_tree(FILE* f)
{
    return read_tree_or_die(f, "the stream", try_read_region_tree);
}

int write_elemset_region_node_ascii(tregionnode* node, FILE* f, int number, int nsons)
{
    node->file_index = number;
    const node_record r = record_of(node, number, nsons);
    if (!contours_present(node, r) || !put_fields(f, r, kAsciiTags) || !put_text(f, "Contour:\n"))
        return 0;
    if (node->father == nullptr)
        return 1;
    bool ok = put_ints(f, node->contour, static_cast<size_t>(r.contour_size)) && put_text(f, "\n");
    if (ok && r.inner_contour_size > 0)
        ok = put_text(f, "Inner Contour:\n") &&
             put_numbers(f, node->inner_contour, r.inner_contour_size) && put_text(f, "\n");
    return ok ? 1 : 0;
}

tregionnode* read_elemset_region_node_ascii(FILE* f, region_tree* tree)
{
    const long npixels = vx_pixel_count(tree->width, tree->height);
    node_record r;
    if (npixels < 0 || !scan_fields(f, &r, kAsciiTags) || !scan_literal(f, "Contour:\n") ||
        r.offset < 0 || static_cast<long>(r.offset) + r.size > npixels ||
        (r.size > 0 && tree->elemset == nullptr))
        return nullptr;
    int* contour = nullptr;
    int* inner = nullptr;
    const char* error = nullptr;
    const bool root = r.number == 0;
    if (!root) {
        node_record outer_only = r;
        outer_only.inner_contour_size = 0;
        bool ok = read_record_contours(f, outer_only, static_cast<int>(npixels), &contour, &inner,
                                       &error) &&
                  std::getc(f) == '\n';
        if (ok && r.inner_contour_size > 0)
            ok = scan_literal(f, "Inner Contour:\n") &&
                 scan_numbers(f, r.inner_contour_size, &inner, kNoInner) &&
                 positions_inside(inner, r.inner_contour_size, static_cast<int>(npixels));
        if (!ok) {
            std::free(contour);
            std::free(inner);
            return nullptr;
        }
    }
    int* pixels = tree->elemset != nullptr ? tree->elemset + r.offset : nullptr;
    return node_from_record(r, pixels, false, contour, inner, true, tree->width, tree->height);
}
