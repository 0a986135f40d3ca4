#pragma once

// Exit codes of the unrecoverable conditions (vx_fatal, vx_fatal_stderr,
// vx_calloc). Each failure site has its own fixed code; callers and scripts
// tell the sites apart by them, so a value never changes. Several names share
// a value where the sites always did.
namespace exit_code {

// ---- memory ----

// Memory exhausted for a record or an array that has no code of its own.
inline constexpr int out_of_memory = 42;
// The image record or its pixel arrays.
inline constexpr int image_out_of_memory = 815;
// The record or the value and count tables of a histogram.
inline constexpr int histogram_out_of_memory = 100;
// The temporary counting table of a histogram.
inline constexpr int histogram_table_out_of_memory = 4711;
// The integer queue's record or ring.
inline constexpr int queue_out_of_memory = 100;
// The buffers of the 2-D Fourier transform.
inline constexpr int fft2d_out_of_memory = 10;
// The level table or the sorted pixel list of the watershed.
inline constexpr int watershed_out_of_memory = 4712;
// Region nodes, their pixel arrays, tree records and node arrays.
inline constexpr int region_tree_out_of_memory = 73;
// Contour, coordinate and convex hull arrays.
inline constexpr int contour_out_of_memory = 100;
// Region histograms and the attribute buffer of the feature passes.
inline constexpr int region_features_out_of_memory = 100;
// An instruction of a rule program. Once 0, which told a calling script
// that the run had succeeded; now the code of every other exhausted memory.
inline constexpr int rule_command_out_of_memory = 42;

// ---- images ----

// init_image given no record.
inline constexpr int no_image_to_initialize = 815;
// copy_image between images of different sizes.
inline constexpr int image_size_mismatch = 42;
// A connectivity other than 4, 8 or -1.
inline constexpr int unknown_connectivity = 100;
// The connectivity of no image asked for.
inline constexpr int no_image_for_connectivity = 100;
// calibrate_image or recalibrate_image met a value or index the histogram
// does not hold.
inline constexpr int not_in_histogram = 100;

// ---- lists ----

// delete_elem_in_list on a list without elements.
inline constexpr int delete_from_empty_list = 42;

// ---- image files ----

// A "16BG" file that cannot be opened.
inline constexpr int bg16_unreadable = 10;
// A PGM file that is not P5, not 8 bit, damaged or truncated.
inline constexpr int pgm_unreadable = 19;
// An Analyze header or voxel file that is missing, short or impossible.
inline constexpr int analyze_unreadable = 10;
// An Analyze datatype other than 8-bit and 16-bit integers.
inline constexpr int analyze_datatype_unknown = 10;

// ---- Fourier transforms ----

// A 1-D transform's arguments: a size that is no power of two, a null array
// (reported on standard error).
inline constexpr int fft_bad_argument = 1;
// A 2-D transform's arguments: sizes that are no power of two, missing or
// mismatched input images.
inline constexpr int fft2d_bad_argument = 10;

// ---- filters ----

// The filter template of a multiscale partition scale cannot be built.
inline constexpr int template_not_built = 42;
// The watershed's queue overflowing or running empty.
inline constexpr int watershed_queue_full = 4711;
inline constexpr int watershed_queue_empty = 4711;

// ---- region trees and contours ----

// The contour tracer lost the contour it follows.
inline constexpr int contour_lost = 129;
// The contour tracer found no neighbour outside the region to start from.
inline constexpr int contour_start_not_found = 42;
// An outer contour entry that is neither contour nor region.
inline constexpr int contour_inconsistent = 100;

// ---- tree files ----

// A tree file that cannot be opened or written.
inline constexpr int tree_file_unwritable = 42;
// A tree file that cannot be opened for reading.
inline constexpr int tree_file_unreadable = 42;
// A file that the tree-file loaders refuse.
inline constexpr int tree_file_invalid = 42;

// ---- rules ----

// An element of a symbol that is not an array.
inline constexpr int rule_not_an_array = 42;
// A rule machine initialised without a grey image.
inline constexpr int rule_machine_without_image = 42;
// A push onto a full, or a pop from an empty, value or predicate stack.
inline constexpr int rule_stack_overflow = 42;
inline constexpr int rule_stack_underflow = 42;
// An instruction list that leaves values on the value stack.
inline constexpr int rule_stack_not_empty = 42;
// The rule scanner's own failures (input that cannot be read, no memory for
// its buffers), which the generated scanner reports on standard error.
inline constexpr int rule_scanner_failure = 2;
// A rule changed "numfdc", the count of Fourier coefficients.
inline constexpr int rule_fdc_count_changed = 100;

// ---- vectors ----

// A self-organising map step with a negative move length or rate.
inline constexpr int sofm_negative_step = 34;

// ---- batch automation ----

// A feature-layer file with a wrong head or missing values.
inline constexpr int feature_layer_file = 40;
// A feature-layer file that cannot be opened.
inline constexpr int feature_layer_open = 42;
// A labeled repository initialised with fewer than 2 classes.
inline constexpr int labeled_repository_too_few_classes = 10;

}  // namespace exit_code
