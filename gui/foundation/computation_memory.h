#pragma once

// Memory and the computations of the analysis: about how much the trees of a
// picture need, how much this process may still take, and a computation
// that gives up when memory runs out instead of ending the program.

#include <QString>
#include <QtGlobal>
#include <functional>

// About the bytes that the bright and the dark tree of a width x height
// picture take at their peak while both are computed at once: both
// partitions (one int per pixel and scale) with the work of the partition
// and the graph, or the trees with their attributes, whichever is more.
qint64 vx_tree_computation_bytes(int width, int height, int brightScales, int darkScales);
// About the bytes of both trees of such a picture with their attributes, as
// an analysis or a query loads them.
qint64 vx_measured_trees_bytes(int width, int height);

// "<n> scales of a <w> x <h> image need about <m> MB for both trees" (the
// bright and the dark count named apart when they differ), and "both trees
// of a <w> x <h> image need about <m> MB with their attributes".
QString vx_tree_computation_need(int width, int height, int brightScales, int darkScales);
QString vx_measured_trees_need(int width, int height);

// The bytes a tree computation may still take in this process: the physical
// memory less what the process holds, and less again where its address
// space (RLIMIT_AS, less what the computation's threads hold of it) or its
// data (RLIMIT_DATA) is limited below that; -1 when the system tells
// nothing.
qint64 vx_memory_left();

// "<m> MB".
QString vx_megabytes(qint64 bytes);

// Runs step on the calling thread with memory that runs out thrown instead
// of ending the process (out_of_memory_recovery, imagecore/fatal.h), which
// the worker threads of the computation take on. True when it ran through;
// false when memory ran out, what the step held having been freed by its
// handles. Anything else thrown passes on.
bool vx_within_memory(const std::function<void()>& step);
