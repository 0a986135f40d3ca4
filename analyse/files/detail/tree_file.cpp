#include "analyse/files/detail/tree_file.h"

#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "analyse/trees/contour.h"
#include "analyse/trees/regiontree.h"
#include "analyse/trees/tree_walk.h"
#include "imagecore/fatal.h"
#include "imagecore/files/checked_file.h"
#include "imagecore/files/vxfileio.h"
#include "imagecore/files/vxfopen.h"
#include "imagecore/report.h"

namespace {

constexpr const char* kNoContour = "Could not alloc memory for Contour while Reading from File ";
constexpr const char* kNoInner =
    "Could not alloc memory for  Inner Contour while Reading from File ";

constexpr long kPiece = 1 << 16;

// Reads n ints in pieces through `read_piece(dst, count)`, growing the
// array with what arrives, so that a count the file does not back never
// becomes a big allocation.
template <class ReadPiece>
bool read_growing(long n, int** out, const char* no_memory, ReadPiece read_piece)
{
    *out = nullptr;
    if (n < 0)
        return false;
    if (n == 0)
        return true;
    int* values = nullptr;
    long capacity = 0;
    long done = 0;
    while (done < n) {
        if (done == capacity) {
            capacity = std::min(n, std::max(kPiece, capacity * 2));
            auto* bigger = static_cast<int*>(
                std::realloc(values, sizeof(int) * static_cast<size_t>(capacity)));
            if (bigger == nullptr) {
                std::free(values);
                vx_out_of_memory(exit_code::out_of_memory, "%s", no_memory);
            }
            values = bigger;
        }
        const long want = std::min(capacity, n) - done;
        if (!read_piece(values + done, want)) {
            std::free(values);
            return false;
        }
        done += want;
    }
    *out = values;
    return true;
}

bool scan_int(FILE* f, int* value)
{
    int c = std::getc(f);
    const bool negative = c == '-';
    if (negative)
        c = std::getc(f);
    if (c < '0' || c > '9') {
        if (c != EOF)
            std::ungetc(c, f);
        return false;
    }
    long v = 0;
    while (c >= '0' && c <= '9') {
        v = v * 10 + (c - '0');
        if (v > static_cast<long>(INT_MAX) + 1)
            return false;
        c = std::getc(f);
    }
    if (c != EOF)
        std::ungetc(c, f);
    v = negative ? -v : v;
    if (v > INT_MAX || v < INT_MIN)
        return false;
    *value = static_cast<int>(v);
    return true;
}

// Whether the file may still hold n values of at least `bytes` bytes each.
// Counts within one piece are left to the read itself: measuring what
// remains seeks, which drops the stream's buffer, and a tree file holds two
// arrays per region.
bool may_hold(FILE* f, long n, long bytes)
{
    if (n < 0)
        return false;
    if (n <= kPiece)
        return true;
    const long remaining = vx_remaining_bytes(f);
    return remaining < 0 || remaining / bytes >= n;
}

}  // namespace

node_record record_of(const tregionnode* node, int number, int nsons)
{
    const bool root = node->father == nullptr;
    return node_record{number,
                       nsons,
                       node->border,
                       node->birth,
                       node->age,
                       node->max_width,
                       node->min_width,
                       node->left,
                       node->right,
                       node->ahead,
                       node->ambiguity,
                       root ? 0 : node->elemset_offset,
                       node->size,
                       root ? 0 : node->contour_size,
                       root ? 0 : node->inner_contour_size};
}

void record_to_ints(const node_record& r, int version, int* out)
{
    int all[kRecordFields];
    std::memcpy(all, &r, sizeof all);
    static_assert(sizeof(node_record) == sizeof all, "records are plain ints");
    if (version == 2) {
        std::memcpy(out, all, sizeof all);
        return;
    }
    out[0] = all[0];
    out[1] = all[1];
    std::memcpy(out + 2, all + 3, sizeof(int) * (kRecordFields - 3));
}

node_record record_from_ints(const int* in, int version)
{
    int all[kRecordFields];
    if (version == 2) {
        std::memcpy(all, in, sizeof all);
    } else {
        all[0] = in[0];
        all[1] = in[1];
        all[2] = 0;
        std::memcpy(all + 3, in + 2, sizeof(int) * (kRecordFields - 3));
    }
    node_record r;
    std::memcpy(&r, all, sizeof r);
    return r;
}

bool read_int_array(FILE* f, long n, int** out, const char* no_memory)
{
    if (!may_hold(f, n, 4))
        return false;
    return read_growing(n, out, no_memory, [f](int* dst, long count) {
        return read_4_byte_ints(f, dst, static_cast<size_t>(count)) == static_cast<size_t>(count);
    });
}

bool scan_literal(FILE* f, const char* text)
{
    for (const char* p = text; *p != 0; ++p)
        if (std::getc(f) != static_cast<unsigned char>(*p))
            return false;
    return true;
}

bool scan_number_line(FILE* f, const char* tag, int* value)
{
    return scan_literal(f, tag) && scan_int(f, value) && std::getc(f) == '\n';
}

bool scan_numbers(FILE* f, long n, int** out, const char* no_memory)
{
    if (!may_hold(f, n, 2))
        return false;
    const bool complete = read_growing(n, out, no_memory, [f](int* dst, long count) {
        for (long k = 0; k < count; ++k)
            if (!scan_int(f, &dst[k]) || std::getc(f) != ' ')
                return false;
        return true;
    });
    if (complete && std::getc(f) == '\n')
        return true;
    std::free(*out);
    *out = nullptr;
    return false;
}

bool put_ints(FILE* f, const int* values, size_t n)
{
    return write_4_byte_ints(f, values, n) == n;
}

bool put_text(FILE* f, const char* text)
{
    const size_t n = std::strlen(text);
    return std::fwrite(text, 1, n, f) == n;
}

bool put_number_line(FILE* f, const char* tag, int value)
{
    char line[64];
    char* end = line + std::snprintf(line, sizeof line, "%s", tag);
    end = std::to_chars(end, line + sizeof line - 1, value).ptr;
    *end++ = '\n';
    *end = 0;
    return put_text(f, line);
}

bool put_numbers(FILE* f, const int* values, int n)
{
    // Formatted into a block of text, written a block at a time.
    char block[1 << 14];
    size_t used = 0;
    for (int k = 0; k < n; ++k) {
        if (sizeof block - used < 16) {
            if (std::fwrite(block, 1, used, f) != used)
                return false;
            used = 0;
        }
        used = static_cast<size_t>(
            std::to_chars(block + used, block + sizeof block, values[k]).ptr - block);
        block[used++] = ' ';
    }
    return std::fwrite(block, 1, used, f) == used;
}

bool tree_output_opened(const checked_file& out, bool fatal)
{
    if (!out.is_open() && fatal)
        vx_fatal(exit_code::tree_file_unwritable, "Could not open Region tree for writing");
    return out.is_open();
}

const char* const kNoTreeTag = "no tree file magic or first line";

void not_a_tree_file(const char* path, const char* error)
{
    if (error == nullptr || error == kNoTreeTag)
        vx_fatal(exit_code::tree_file_invalid,
                 " RegionTree Tag not found presuming %s not a Tree File\n ", path);
    vx_fatal(exit_code::tree_file_invalid, "Tree File %s refused: %s\n", path, error);
}

FILE* open_tree_file(const char* path)
{
    FILE* f = vxfopen(path, "rb");
    if (f == nullptr)
        vx_fatal(exit_code::tree_file_unreadable, "treeio Cannot open Tree File \n%s\n", path);
    return f;
}

std::vector<tregionnode*> breadth_first(tregionnode* root)
{
    std::vector<tregionnode*> order;
    walk_breadth_first(root, [&order](tregionnode* n, int) { order.push_back(n); });
    return order;
}

tregionnode* node_from_record(const node_record& r, int* pixels, bool owns_pixels, int* contour,
                              int* inner, bool derive_border, int width, int height)
{
    tregionnode* node = init_region_node(nullptr, r.birth, r.size, pixels, nullptr);
    node->owns_pixels = owns_pixels ? 1 : 0;
    node->elemset_offset = owns_pixels ? 0 : -1;
    node->label = node->file_index = r.number;
    node->age = r.age;
    node->max_width = r.max_width;
    node->min_width = r.min_width;
    node->left = r.left;
    node->right = r.right;
    node->ahead = r.ahead;
    node->ambiguity = r.ambiguity;
    node->contour = contour;
    node->contour_size = contour != nullptr ? r.contour_size : 0;
    node->inner_contour = inner;
    node->inner_contour_size = inner != nullptr ? r.inner_contour_size : 0;
    node->border = derive_border ? get_contour_border_id(contour, node->contour_size, width, height)
                                 : r.border;
    return node;
}

bool read_binary_record(FILE* f, int version, node_record* r, const char** error)
{
    int fields[kRecordFields];
    const size_t n = version == 2 ? kRecordFields : kRecordFields - 1;
    if (read_4_byte_ints(f, fields, n) != n) {
        *error = "node record incomplete";
        return false;
    }
    *r = record_from_ints(fields, version);
    return true;
}

bool read_record_contours(FILE* f, const node_record& r, int npixels, int** contour, int** inner,
                          const char** error)
{
    *contour = *inner = nullptr;
    if (read_int_array(f, r.contour_size, contour, kNoContour) &&
        read_int_array(f, r.inner_contour_size, inner, kNoInner)) {
        if (positions_inside(*contour, r.contour_size, npixels) &&
            positions_inside(*inner, r.inner_contour_size, npixels))
            return true;
        *error = "contour position outside the image";
    } else {
        *error = "contour incomplete";
    }
    std::free(*contour);
    std::free(*inner);
    *contour = *inner = nullptr;
    return false;
}

tree_assembler::tree_assembler(int regions, int width, int height, int scales)
    : regions_(regions),
      width_(width),
      height_(height),
      scales_(scales),
      npixels_(static_cast<int>(vx_pixel_count(width, height)))
{}

tree_assembler::~tree_assembler()
{
    if (!nodes_.empty())
        delete_region(nodes_[0]);
    std::free(elemset_);
}

bool tree_assembler::set_elemset(int* set, long entries, const char** error)
{
    elemset_ = set;
    if (entries != npixels_) {
        *error = "element set size differs from width x height";
        return false;
    }
    std::vector<char> seen(static_cast<size_t>(npixels_), 0);
    for (long k = 0; k < entries; ++k) {
        const int p = set[k];
        if (p < 0 || p >= npixels_ || seen[p]) {
            *error = "element set position outside the image or repeated";
            return false;
        }
        seen[p] = 1;
    }
    return true;
}

bool tree_assembler::wants_more() const
{
    return static_cast<long>(nodes_.size()) < announced_;
}

bool tree_assembler::check(const node_record& r, const char** error) const
{
    if (r.number != static_cast<long>(nodes_.size())) {
        *error = "node records out of breadth-first order";
        return false;
    }
    if (r.nsons < 0 || r.size < 0 || r.contour_size < 0 || r.inner_contour_size < 0) {
        *error = "negative count in node record";
        return false;
    }
    if (announced_ + r.nsons > regions_) {
        *error = "sons exceed the region count";
        return false;
    }
    const long end = static_cast<long>(r.offset) + r.size;
    if (nodes_.empty()) {
        if (r.size != npixels_ || (elemset_ != nullptr && r.offset != 0)) {
            *error = "root does not cover the image";
            return false;
        }
        return true;
    }
    if (r.size > npixels_) {
        *error = "node larger than the image";
        return false;
    }
    if (elemset_ == nullptr)
        return true;
    const tregionnode* father = nodes_[parent_];
    const long father_end = static_cast<long>(father->pixels - elemset_) + father->size;
    if (r.offset < run_end_[parent_] || end > father_end) {
        *error = "pixel run outside the father's";
        return false;
    }
    return true;
}

void tree_assembler::add(const node_record& r, int* contour, int* inner, int* own_pixels,
                         bool derive_border)
{
    int* pixels = own_pixels != nullptr ? own_pixels
                  : elemset_ != nullptr ? elemset_ + r.offset
                                        : nullptr;
    tregionnode* node = node_from_record(r, pixels, own_pixels != nullptr, contour, inner,
                                         derive_border, width_, height_);
    nodes_.push_back(node);
    want_sons_.push_back(r.nsons);
    run_end_.push_back(r.offset);
    announced_ += r.nsons;
    if (nodes_.size() == 1) {
        parent_ = 0;
        parent_slots_ = r.nsons;
    } else {
        add_region_son(nodes_[parent_], node);
        run_end_[parent_] = r.offset + r.size;
        --parent_slots_;
        if (parent_ == 0)
            root_son_pixels_ += r.size;
    }
    while (parent_slots_ == 0 && parent_ + 1 < nodes_.size())
        parent_slots_ = want_sons_[++parent_];
}

region_tree* tree_assembler::finish(const char** error)
{
    if (wants_more() || static_cast<long>(nodes_.size()) != regions_) {
        *error = "sons do not add up to the region count";
        return nullptr;
    }
    auto* tree = static_cast<region_tree*>(std::calloc(1, sizeof(region_tree)));
    if (tree == nullptr)
        vx_out_of_memory(exit_code::region_tree_out_of_memory, "Cannot alloc region tree -> PANIC");
    tree->regions = regions_;
    tree->width = width_;
    tree->height = height_;
    tree->scales = scales_;
    tree->root = tree->root2 = nodes_[0];
    tree->elemset = elemset_;
    elemset_ = nullptr;
    nodes_.clear();
    return tree;
}

bool positions_inside(const int* values, long n, int npixels)
{
    for (long k = 0; k < n; ++k)
        if (values[k] < 0 || values[k] >= npixels)
            return false;
    return true;
}
