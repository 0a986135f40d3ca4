#include <climits>
#include <vector>

#include "imagecore/handles.h"
#include "imagecore/histogram.h"
#include "imagecore/image.h"
#include "testsupport/vx_test.h"

namespace {

image* image_of(const std::vector<int>& values)
{
    image* img = create_image(static_cast<int>(values.size()), 1, 0);
    for (size_t i = 0; i < values.size(); ++i)
        img->pixels[i] = values[i];
    return img;
}

std::vector<int> values_of(const histogramm* h)
{
    return std::vector<int>(h->values, h->values + h->ncolors);
}

std::vector<int> counts_of(const histogramm* h)
{
    return std::vector<int>(h->counts, h->counts + h->ncolors);
}

}  // namespace

TEST(Histogram, CountsValuesAndIgnoresStaleMinMax)
{
    const image_handle img(image_of({7, -3, 7, 12, -3, 7}));
    img->min = img->max = 0;  // stale, as after pixels were written directly
    const histogramm_handle h(init_histogramm(img.get()));
    EXPECT_EQ(h->min, -3);
    EXPECT_EQ(h->max, 12);
    EXPECT_EQ(h->npixels, 6);
    EXPECT_EQ(values_of(h.get()), (std::vector<int>{-3, 7, 12}));
    EXPECT_EQ(counts_of(h.get()), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(get_histo_org_num(h.get(), 7), 3);
    EXPECT_EQ(get_histo_org_num(h.get(), 8), 0);
    EXPECT_EQ(get_histo_org_num(h.get(), 100), 0);

    calibrate_image(img.get(), h.get());
    EXPECT_EQ(std::vector<int>(img->pixels, img->pixels + 6), (std::vector<int>{1, 0, 1, 2, 0, 1}));
    recalibrate_image(img.get(), h.get());
    EXPECT_EQ(std::vector<int>(img->pixels, img->pixels + 6),
              (std::vector<int>{7, -3, 7, 12, -3, 7}));
}

TEST(Histogram, ExtremeValueRangesGiveTheSameResults)
{
    const image_handle img(image_of({INT_MAX, INT_MIN, 0, INT_MAX, 5}));
    const histogramm_handle h(init_histogramm(img.get()));
    EXPECT_EQ(values_of(h.get()), (std::vector<int>{INT_MIN, 0, 5, INT_MAX}));
    EXPECT_EQ(counts_of(h.get()), (std::vector<int>{1, 1, 1, 2}));
    calibrate_image(img.get(), h.get());
    EXPECT_EQ(std::vector<int>(img->pixels, img->pixels + 5), (std::vector<int>{3, 0, 1, 3, 2}));
    recalibrate_image(img.get(), h.get());
    EXPECT_EQ(img->pixels[1], INT_MIN);
}

TEST(Histogram, ValuesOutsideTheHistogramAreFatal)
{
    const image_handle img(image_of({1, 3}));
    const histogramm_handle h(init_histogramm(img.get()));
    img->pixels[1] = 2;
    EXPECT_VX_FATAL(calibrate_image(img.get(), h.get()), 100, "Color 2 not in Histogram");
    img->pixels[1] = 9;
    EXPECT_VX_FATAL(calibrate_image(img.get(), h.get()), 100, "Color 9 not in Histogram");
    EXPECT_VX_FATAL(recalibrate_image(img.get(), h.get()), 100, "Index 9 not in Histogram");
}

TEST(Histogram, MeanAndVariance)
{
    const int values[] = {1, 2, 4, 7};
    EXPECT_EQ(array_mean(values, 4), 3);
    EXPECT_EQ(array_variance(values, 4, 3), 5);  // (4 + 1 + 1 + 16) / 4 truncated
    EXPECT_EQ(array_mean(values, 0), 0);
    EXPECT_EQ(array_variance(values, 0, 3), 0);
    const int wide[] = {INT_MAX, INT_MAX};
    EXPECT_EQ(array_mean(wide, 2), INT_MAX);
    EXPECT_EQ(array_variance(wide, 2, INT_MIN), INT_MAX);
}
