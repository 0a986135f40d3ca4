#include "analyse/fourier/contour_chaincode.h"

#include <cstdio>

#include "imagecore/neighbourhood.h"
#include "imagecore/queue.h"
#include "imagecore/report.h"

void set_chaincode_offsets(int* offsets, int width)
{
    fill_neighbour_offsets(chaincode_order, width, offsets);
}

int nextchainpos(int position, int last, const int* offsets, int connectivity, int start_direction)
{
    const int count = connectivity == 8 ? 4 : 8;
    int d = start_direction;
    int found = -1;
    for (int i = 0; i < count && d >= 0 && d < 8; ++i) {
        if (static_cast<long long>(last) + offsets[d] == position)
            found = d;
        else
            d = (d + i) % count;
        vx_report("Dir %d, Sdir %d ", d, found);
        if (found >= 0)
            break;
    }
    vx_report("\n");
    return found;
}

void contour_chaincode_order(int* contour, int n, int width, int connectivity)
{
    if (n < 2)
        return;
    int offsets[8];
    set_chaincode_offsets(offsets, width);
    iqueue* pending = init_iqueue(n);
    for (int i = 1; i < n; ++i)
        iqueue_put(contour[i], pending);
    int direction = connectivity == 4 ? 6 : 2;
    int placed = 1;
    // Without this bound a position that never neighbours the chain would be
    // requeued forever: a full round without progress ends the ordering.
    int misses = 0;
    int position = 0;
    while (misses < pending->count && iqueue_get(&position, pending)) {
        if (nextchainpos(position, contour[placed - 1], offsets, connectivity, direction) >= 0) {
            contour[placed] = position;
            vx_report("Pos %d: %d, %d\n", placed, position, 1);
            ++placed;
            direction = 1;
            misses = 0;
        } else {
            iqueue_put(position, pending);
            ++misses;
        }
    }
    while (iqueue_get(&position, pending))
        contour[placed++] = position;
    delete_iqueue(pending);
}
