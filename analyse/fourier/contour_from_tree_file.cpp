#include <cstdio>

#include "analyse/files/treeio.h"
#include "analyse/fourier/fourier_coefficients.h"
#include "imagecore/report.h"

namespace {

int fail(FILE* stream)
{
    std::fclose(stream);
    return -1;
}

}  // namespace

int getcontour(FILE* stream, int* positions, int capacity, int node)
{
    if (seek_node_by_number(stream, node) < 1) {
        vx_report("No Node %d Tag found\n", node);
        return fail(stream);
    }
    const int size = seek_contour_size(stream);
    if (size < 1) {
        vx_report("No Contour Size Tag found for Node %d.\n", node);
        return fail(stream);
    }
    if (seek_contour_tag(stream) < 0) {
        vx_report("No Contour: Tag found\n");
        return fail(stream);
    }
    if (size > capacity) {
        vx_report("Contour of Node %d has %d positions, room for %d\n", node, size, capacity);
        return fail(stream);
    }
    for (int i = 0; i < size; ++i)
        if (std::fscanf(stream, "%d ", &positions[i]) != 1) {
            vx_report("Contour of Node %d ends after %d of %d positions\n", node, i, size);
            return fail(stream);
        }
    return size;
}
