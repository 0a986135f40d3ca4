#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "analyse/handles.h"
#include "analyse/trees/contour.h"
#include "imagecore/image.h"
#include "imagecore/queue.h"
#include "testsupport/vx_test.h"

namespace {

// A label image from rows of digits ('0' line, '1'..'9' labels).
image* labels_from(const std::vector<std::string>& rows, int conn = 8)
{
    const int w = static_cast<int>(rows[0].size());
    const int h = static_cast<int>(rows.size());
    image* img = create_image(w, h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img->pixels[y * w + x] = rows[y][x] - '0';
    img->connect = conn;
    return img;
}

struct traced {
    int ambiguity = 0;
    int straight = 0, diagonal = 0, left = 0, right = 0, ahead = 0;
    int border = 0;
    std::vector<int> outer;
    std::vector<int> inner;
};

traced trace(image* img, int start)
{
    traced t;
    const iqueue_handle q(init_iqueue(img->width * img->height));
    int size = 0;
    const std::vector<int> before(img->pixels, img->pixels + img->width * img->height);
    t.ambiguity =
        tracer_queued(img, start / img->width, start % img->width, img->pixels[start], &t.straight,
                      &t.diagonal, &t.left, &t.right, &t.ahead, &size, img->connect, q.get());
    int* outer = nullptr;
    int* inner = nullptr;
    int inner_size = 0;
    t.border = get_regions_contours_queued(img, start, &outer, size, &inner, &inner_size, q.get());
    t.outer.assign(outer, outer + size);
    t.inner.assign(inner, inner + inner_size);
    std::free(outer);
    std::free(inner);
    // Tracing leaves the label image as it found it.
    EXPECT_EQ(before, std::vector<int>(img->pixels, img->pixels + img->width * img->height));
    return t;
}

std::vector<int> sorted(std::vector<int> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

const std::vector<std::string> kSquareInRing = {
    "2222222", "2000002", "2011102", "2011102", "2011102", "2000002", "2222222",
};

TEST(TracerQueued, SquareInsideLineRingWalksTheRingInOrder)
{
    const image_handle img(labels_from(kSquareInRing));
    const traced t = trace(img.get(), 2 * 7 + 2);
    EXPECT_EQ(t.ambiguity, 0);
    EXPECT_EQ(t.straight, 8);
    EXPECT_EQ(t.diagonal, 0);
    EXPECT_EQ(t.left, 4);
    EXPECT_EQ(t.right, 0);
    EXPECT_EQ(t.ahead, 4);
    EXPECT_EQ(t.border, 0);
    // Marking order of the walk, rotated to start at the largest position.
    EXPECT_EQ(t.outer,
              (std::vector<int>{40, 19, 12, 10, 11, 9, 8, 29, 15, 22, 36, 37, 38, 39, 33, 26}));
    EXPECT_TRUE(t.inner.empty());
}

TEST(TracerQueued, RegionFillingTheBorderWithAHole)
{
    image* img = labels_from({
        "1111111",
        "1111111",
        "1100011",
        "1102011",
        "1100011",
        "1111111",
        "1111111",
    });
    const traced t = trace(img, 0);
    EXPECT_EQ(t.ambiguity, 0);
    EXPECT_EQ(t.straight, 24);
    EXPECT_EQ(t.left, 4);
    EXPECT_EQ(t.ahead, 20);
    EXPECT_EQ(t.border, BORDER_TOP | BORDER_RIGHT | BORDER_BOTTOM | BORDER_LEFT);
    ASSERT_EQ(t.outer.size(), 24u);
    EXPECT_EQ(t.outer[0], 48);
    std::vector<int> rim;
    for (int p = 0; p < 49; ++p)
        if (p % 7 == 0 || p % 7 == 6 || p / 7 == 0 || p / 7 == 6)
            rim.push_back(p);
    EXPECT_EQ(sorted(t.outer), rim);
    EXPECT_EQ(sorted(t.inner), (std::vector<int>{16, 17, 18, 23, 25, 30, 31, 32}));
    delete_image(img);
}

TEST(TracerQueued, ThinImageAndSinglePixels)
{
    // A 3 x 1 region is walked there and back; its pixels are contour entries
    // once per visit, and the contour queue grows past the image size.
    const image_handle thin(labels_from({"111"}));
    traced t = trace(thin.get(), 0);
    EXPECT_EQ(t.outer, (std::vector<int>{2, 1, 0, 1}));
    EXPECT_EQ(t.right, 2);
    EXPECT_EQ(t.ahead, 2);
    EXPECT_EQ(t.border, 15);

    // One pixel: its own position is its contour, its ring no hole.
    const image_handle dot(labels_from({"22222", "20002", "20102", "20002", "22222"}));
    t = trace(dot.get(), 12);
    EXPECT_EQ(t.outer, (std::vector<int>{12}));
    EXPECT_TRUE(t.inner.empty());
    EXPECT_EQ(t.border, 0);
    EXPECT_EQ(t.straight + t.diagonal, 0);

    const image_handle corner(labels_from({"10", "00"}));
    t = trace(corner.get(), 0);
    EXPECT_EQ(t.outer, (std::vector<int>{0}));
    EXPECT_EQ(t.border, BORDER_TOP | BORDER_LEFT);
}

TEST(TracerQueued, DiagonalStepsAndTurns)
{
    // A diagonal staircase: the walk steps diagonally and turns both ways.
    image* img = labels_from({
        "000000",
        "010000",
        "001000",
        "000100",
        "000000",
    });
    const traced t = trace(img, 7);
    EXPECT_EQ(t.diagonal, 4);
    EXPECT_EQ(t.straight, 0);
    EXPECT_EQ(t.right, 2);
    EXPECT_EQ(t.ahead, 2);
    EXPECT_EQ(t.left, 0);
    EXPECT_TRUE(t.inner.empty());
    delete_image(img);
}

TEST(TracerQueued, InteriorStartIsSearched)
{
    // (1, 1) holds label 1 but has no line neighbour: the walk searches the
    // first pixel of the label that has one.
    image* img = labels_from({
        "00000",
        "01110",
        "01110",
        "01110",
        "00000",
    });
    const traced t = trace(img, 12);
    EXPECT_EQ(t.ambiguity, 1);
    EXPECT_EQ(t.outer.size(), 16u);
    int offsets[8];
    set_nb_offsets(offsets, 5);
    int row = 2, col = 2;
    EXPECT_EQ(check_initial_pos(img, offsets, &row, &col, 1), 1);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(col, 1);
    row = 1;
    col = 2;
    EXPECT_EQ(check_initial_pos(img, offsets, &row, &col, 1), 0);
    row = 2;
    col = 2;
    EXPECT_EQ(check_initial_pos(img, offsets, &row, &col, 7), 1);
    EXPECT_EQ(col, -1);
    delete_image(img);
}

TEST(TracerQueuedDeath, MissingLabelIsALostContour)
{
    const image_handle img(labels_from({"111", "111", "111"}));
    const iqueue_handle q(init_iqueue(9));
    int s, d, l, r, a, size;
    EXPECT_VX_FATAL(tracer_queued(img.get(), 1, 1, 5, &s, &d, &l, &r, &a, &size, 8, q.get()), 129,
                    "Lost contour in tracer queued");
}

TEST(ScanForms, AgreeWithTheQueuedTracerAsSets)
{
    const image_handle img(labels_from(kSquareInRing));
    int s, d, l, r, a, size;
    EXPECT_EQ(tracer(img.get(), 2, 2, 1, &s, &d, &l, &r, &a, &size, 8), 0);
    EXPECT_EQ(size, 16);
    EXPECT_EQ(l, 4);
    int* outer = nullptr;
    int* inner = nullptr;
    int inner_size = -1;
    EXPECT_EQ(get_regions_contours(img.get(), 16, &outer, size, &inner, &inner_size), 0);
    const traced queued = trace(img.get(), 16);
    EXPECT_EQ(std::vector<int>(outer, outer + size), sorted(queued.outer));
    EXPECT_EQ(inner_size, 0);
    EXPECT_EQ(img->pixels[8], 0);
    EXPECT_EQ(img->pixels[16], 1);
    std::free(outer);
    std::free(inner);
}

TEST(ScanForms, HoleLabellingCountsLinePixelsIteratively)
{
    // A large region: the hole search must not recurse per pixel.
    const int w = 600, h = 600;
    const image_handle img(create_image(w, h, 1));
    img->connect = 8;
    img->pixels[300 * w + 300] = 0;
    int offsets[8];
    set_nb_offsets(offsets, w);
    int count = 0;
    hole_contour_label(img->pixels, 0, 1, w, h, 8, offsets, &count);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(img->pixels[300 * w + 300], CONTOUR_INNER);
    EXPECT_EQ(img->pixels[0], CONTOUR_VISITED);
}

TEST(BorderIds, PixelsAndContours)
{
    EXPECT_EQ(get_pixel_border_id(0, 4, 3), 9);
    EXPECT_EQ(get_pixel_border_id(11, 4, 3), 6);
    EXPECT_EQ(get_pixel_border_id(5, 4, 3), 0);
    const int positions[] = {1, 4};
    EXPECT_EQ(get_contour_border_id(positions, 2, 4, 3), BORDER_TOP | BORDER_LEFT);
    EXPECT_EQ(get_contour_border_id(positions, 0, 4, 3), 0);
}

TEST(Widths, MinimumStartsAtTheCountAndSkipsMaximumRaises)
{
    const tcoord pts[] = {{3, 0, 3}, {1, 0, 1}, {0, 0, 0}};
    int max = -1, min = -1;
    rad_min_max(pts, 3, 0, 0, &max, &min);
    EXPECT_EQ(max, 3);
    EXPECT_EQ(min, 0);
    // The first point raises the maximum and is never the minimum.
    const tcoord one[] = {{2, 0, 2}};
    rad_min_max(one, 1, 0, 0, &max, &min);
    EXPECT_EQ(max, 2);
    EXPECT_EQ(min, 1);
    rad_min_max(nullptr, 0, 0, 0, &max, &min);
    EXPECT_EQ(max, 0);
    EXPECT_EQ(min, 0);

    int x = -1, y = -1;
    const int pixels[] = {0, 1, 5, 6};  // width 5: columns 0,1,0,1 rows 0,0,1,1
    center_of_mass(pixels, 4, 5, &x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);

    const image_handle img(labels_from(kSquareInRing));
    const int region[] = {16, 17, 18, 23, 24, 25, 30, 31, 32};
    const int contour[] = {40, 19, 12, 10};
    max = min = -1;
    region_width(&max, &min, region, 9, contour, 4, img.get());
    EXPECT_EQ(max, 2);
    EXPECT_EQ(min, 2);
    max = min = -7;
    region_width(&max, &min, region, 9, contour, 0, img.get());
    EXPECT_EQ(max, -7);
}

TEST(ContourArrays, QueueAndCoordinates)
{
    const iqueue_handle q(init_iqueue(2));
    EXPECT_EQ(contour_2_array(q.get()), nullptr);
    iqueue_put(7, q.get());
    iqueue_put(3, q.get());
    int* a = contour_2_array(q.get());
    EXPECT_EQ(a[0], 7);
    EXPECT_EQ(a[1], 3);
    EXPECT_TRUE(iqueue_empty(q.get()));
    EXPECT_EQ(array_2_tcarray(a, 0, 4, 4), nullptr);
    tcoord* c = array_2_tcarray(a, 2, 4, 4);
    EXPECT_EQ(c[0].x, 3);
    EXPECT_EQ(c[0].y, 1);
    EXPECT_EQ(c[1].pos, 3);
    std::free(c);
    std::free(a);
}

TEST(ConvexHull, CornersCounterClockwiseOnScreen)
{
    // A square with an inner point and a point on an edge.
    const tcoord pts[] = {{0, 0, 0}, {2, 0, 2}, {1, 1, 0}, {2, 2, 0}, {0, 2, 0}, {1, 0, 1}};
    int* hull = grahams_scan(pts, 6);
    EXPECT_EQ(std::vector<int>(hull, hull + 6), (std::vector<int>{0, 4, 3, 1, -1, -1}));
    std::free(hull);
    EXPECT_EQ(grahams_scan(pts, 0), nullptr);
}

}  // namespace
