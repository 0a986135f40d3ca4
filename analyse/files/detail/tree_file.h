#pragma once

// Pieces shared by the tree-file writers and readers. Not part of the
// library's interface.

#include <cstdio>
#include <string>
#include <vector>

#include "analyse/trees/region_types.h"

class checked_file;

// The fixed fields of a node record in version 2 order; version 1 and the
// text forms lack `border`.
struct node_record {
    int number;
    int nsons;
    int border;
    int birth;
    int age;
    int max_width;
    int min_width;
    int left;
    int right;
    int ahead;
    int ambiguity;
    int offset;
    int size;
    int contour_size;
    int inner_contour_size;
};

inline constexpr int kRecordFields = 15;

// The record of a node as it is written: number, sons and pixel-run offset
// given by the writer.
node_record record_of(const tregionnode* node, int number, int nsons);
// Record fields to and from an int array in version 2 (15 ints) or
// version 1 (14 ints) order.
void record_to_ints(const node_record& r, int version, int* out);
node_record record_from_ints(const int* in, int version);

// Reads n little-endian ints into a new array (null for n = 0). Never
// allocates much more than the file still holds. False when the file ends
// early; a failed allocation ends the process with `no_memory`.
bool read_int_array(FILE* f, long n, int** out, const char* no_memory);

// Tree files are written through checked_file (mode "wb"): under a
// temporary name beside the target, renamed into place when complete.
// Whether the file is open; when it is not, `fatal` ends the process as the
// plain writers document (exit code 42).
bool tree_output_opened(const checked_file& out, bool fatal);

// Checked writes: false when not everything was written.
bool put_ints(FILE* f, const int* values, size_t n);
bool put_text(FILE* f, const char* text);
bool put_number_line(FILE* f, const char* tag, int value);  // "<tag>%d\n"
bool put_numbers(FILE* f, const int* values, int n);        // "%d " each

// Breadth-first order of the tree, root first.
std::vector<tregionnode*> breadth_first(tregionnode* root);

// Builds a tree from records arriving in breadth-first order, checking that
// they form one: numbers in order, son counts adding up to the region count,
// and (for element-set trees) every node's pixel run inside its father's,
// after its elder brother's. Nodes built so far are freed when the
// assembler goes without handing out its tree.
class tree_assembler {
public:
    tree_assembler(int regions, int width, int height, int scales);
    ~tree_assembler();
    tree_assembler(const tree_assembler&) = delete;
    tree_assembler& operator=(const tree_assembler&) = delete;

    // Element-set trees: the set (width * height distinct positions) is
    // taken over. False when it is ill-formed.
    bool set_elemset(int* set, long entries, const char** error);
    // Whether another record is due.
    bool wants_more() const;
    // Checks a record against the structure so far (before its contour data
    // is read). False with `error` set when it does not fit.
    bool check(const node_record& r, const char** error) const;
    // Adds a checked record with its contours (taken over; version 1 and
    // text trees derive the border flags from them) and, for text trees, its
    // own pixel array.
    void add(const node_record& r, int* contour, int* inner, int* own_pixels, bool derive_border);
    // Pixels listed by the root's sons so far.
    long root_son_pixels() const { return root_son_pixels_; }
    // The tree, when every announced record arrived; null with `error` else.
    region_tree* finish(const char** error);

    int pixel_count() const { return npixels_; }

private:
    int regions_;
    int width_;
    int height_;
    int scales_;
    int npixels_;
    int* elemset_ = nullptr;
    std::vector<tregionnode*> nodes_;
    std::vector<int> run_end_;  // per node: where its next son's run may start
    long announced_ = 1;        // records due: the root and every son counted so far
    size_t parent_ = 0;         // node whose sons arrive now
    int parent_slots_ = 0;      // of them still to come
    std::vector<int> want_sons_;
    long root_son_pixels_ = 0;
};

// A node from a checked record: label = file_index = number, pixels from the
// element set (borrowed) or its own array, contours taken over.
tregionnode* node_from_record(const node_record& r, int* pixels, bool owns_pixels, int* contour,
                              int* inner, bool derive_border, int width, int height);
// Reads the fixed fields of one binary record (14 or 15 ints).
bool read_binary_record(FILE* f, int version, node_record* r, const char** error);
// Reads the record's outer and inner contour (binary), checking the counts
// and that every position lies in an image of `npixels`.
bool read_record_contours(FILE* f, const node_record& r, int npixels, int** contour, int** inner,
                          const char** error);

// Whether every value is a position in an image of npixels.
bool positions_inside(const int* values, long n, int npixels);

// Scanning of the text forms.
// Matches the literal text; false at the first mismatch.
bool scan_literal(FILE* f, const char* text);
// "<tag><int>\n" with an optional sign; false when ill-formed or out of range.
bool scan_number_line(FILE* f, const char* tag, int* value);
// n numbers "%d " each, then "\n", into a new array (null for n = 0).
bool scan_numbers(FILE* f, long n, int** out, const char* no_memory);

// The reason a reader gives for a file whose magic or first line is not
// that of a tree file.
extern const char* const kNoTreeTag;

// The loaders' ending for a file that a reader refused, printing the
// reader's reason (exit code 42); and for one that cannot be opened.
[[noreturn]] void not_a_tree_file(const char* path, const char* error);
FILE* open_tree_file(const char* path);

// Runs a validating reader on the stream, closes it and ends the process
// when the reader refused the file; names the tree after `path`.
template <class Try>
region_tree* read_tree_or_die(FILE* f, const char* path, Try try_read)
{
    const char* error = nullptr;
    region_tree* tree = try_read(f, &error);
    std::fclose(f);
    if (tree == nullptr)
        not_a_tree_file(path, error);
    std::snprintf(tree->name, sizeof tree->name, "%s", path);
    return tree;
}

// Parses the element-set tree after its magic or text header: element set,
// the 0x0A byte and version 1 or 2 records.
region_tree* parse_elemset_body(FILE* f, int version, int regions, int width, int height,
                                int scales, long entries, const char** error);
