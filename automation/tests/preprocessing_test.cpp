#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "automation/preprocessing/extract_rr.h"
#include "automation/preprocessing/intensity_transform.h"
#include "automation/preprocessing/rgb_filter.h"
#include "automation/preprocessing/scale_image_step.h"
#include "automation/preprocessing/vx_image_processing.h"
#include "imagecore/image.h"
#include "imagecore/vx_image.h"

namespace {

struct image_deleter {
    void operator()(image* img) const { delete_image(img); }
};
using image_ptr = std::unique_ptr<image, image_deleter>;

image_ptr picture(int width, int height, const std::vector<int>& pixels)
{
    image_ptr img(create_image(width, height, 0));
    for (size_t i = 0; i < pixels.size(); ++i)
        img->pixels[i] = pixels[i];
    return img;
}

std::vector<int> pixels_of(const image* img)
{
    return std::vector<int>(img->pixels, img->pixels + img->width * img->height);
}

int rgb(int r, int g, int b)
{
    return (r << 16) + (g << 8) + b;
}

TEST(RGBFilter, WeightsEachChannelAndClampsToTheByteRange)
{
    const image_ptr in = picture(2, 1, {rgb(200, 100, 50), rgb(0, 255, 1)});
    RGBFilter unit(1, 1, 1);
    EXPECT_EQ(pixels_of(image_ptr(unit.apply(in.get())).get()), pixels_of(in.get()));

    RGBFilter filter(2, 0.5, -1);
    EXPECT_STREQ(filter.FunctionName(), "RGB Filter Image");
    EXPECT_STREQ(filter.FunctionParameter(), "Red: 2.000000, Green: 0.500000, Blue: -1.000000");
    EXPECT_EQ(pixels_of(image_ptr(filter.apply(in.get())).get()),
              (std::vector<int>{rgb(255, 50, 0), rgb(0, 127, 0)}));
}

TEST(IntensityTransform, ConvertsToHueSaturationAndMeanIntensity)
{
    double h = 0, s = 0, i = 0;
    RGB2HSI(255, 0, 0, &h, &s, &i);
    EXPECT_DOUBLE_EQ(h, 0);
    EXPECT_DOUBLE_EQ(s, 1);
    EXPECT_DOUBLE_EQ(i, 85);
    RGB2HSI(0, 0, 255, &h, &s, &i);
    EXPECT_NEAR(h, 240, 1e-9);
    RGB2HSI(90, 90, 90, &h, &s, &i);
    EXPECT_EQ(h, 1.0);
    EXPECT_EQ(s, 0.0);
    EXPECT_DOUBLE_EQ(i, 90);
}

TEST(IntensityTransform, DefaultPolygonLeavesEveryColourAsItIs)
{
    const std::vector<int> colours = {rgb(0, 0, 0),      rgb(255, 255, 255), rgb(200, 100, 50),
                                      rgb(10, 250, 30),  rgb(3, 7, 240),     rgb(255, 0, 128),
                                      rgb(120, 120, 121)};
    const image_ptr in = picture(static_cast<int>(colours.size()), 1, colours);
    IntensityTransform identity;
    EXPECT_EQ(pixels_of(image_ptr(identity.apply(in.get())).get()), colours);
}

TEST(IntensityTransform, PolygonScalesIntensityAndKeepsHueAndSaturation)
{
    // Intensity halved: (200, 100, 50) has I = 350 / 3, so every channel halves.
    IntensityTransform half("0,0 1,0.5");
    EXPECT_STREQ(half.FunctionParameter(), "Distribution Polygon: 0,0 1,0.5");
    const image_ptr in = picture(2, 1, {rgb(200, 100, 50), rgb(200, 200, 200)});
    const std::vector<int> expected = {rgb(100, 50, 25), rgb(100, 100, 100)};
    EXPECT_EQ(pixels_of(image_ptr(half.apply(in.get())).get()), expected);

    std::unique_ptr<ProcessImage> copy(half.copy());
    EXPECT_STREQ(copy->FunctionName(), "Intensity Transformation");
    EXPECT_STREQ(copy->FunctionParameter(), half.FunctionParameter());
    EXPECT_EQ(pixels_of(image_ptr(copy->apply(in.get())).get()), expected);
}

TEST(IntensityTransform, RaisedIntensityClampsChannels)
{
    IntensityTransform raise("0,0 0.5,1 1,1");
    const image_ptr in = picture(1, 1, {rgb(200, 100, 50)});
    EXPECT_EQ(pixels_of(image_ptr(raise.apply(in.get())).get()),
              (std::vector<int>{rgb(255, 200, 100)}));
}

TEST(scaleImage, ResamplesByNearestNeighbourAndKeepsTheInputForBadFactors)
{
    const image_ptr in = picture(4, 2, {1, 2, 3, 4, 5, 6, 7, 8});
    scaleImage half(0.5);
    EXPECT_STREQ(half.FunctionName(), "Scale Image");
    EXPECT_STREQ(half.FunctionParameter(), "Scaling: 0.500000");
    const image_ptr out(half.apply(in.get()));
    EXPECT_EQ(out->width, 2);
    EXPECT_EQ(pixels_of(out.get()), (std::vector<int>{1, 3}));

    scaleImage zero(0);
    testing::internal::CaptureStdout();
    const image_ptr kept(zero.apply(in.get()));
    EXPECT_NE(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(pixels_of(kept.get()), pixels_of(in.get()));
}

TEST(ExtractRR, CropsTheBoxClampedToThePicture)
{
    const image_ptr in = picture(4, 3, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    ExtractRR box(1, 2, 4, 3, 0);  // top 1, left 2, right 4, bottom 3
    EXPECT_STREQ(box.FunctionName(), "Crop an image by a BOX");
    EXPECT_STREQ(ExtractRR().FunctionName(), "Extract a Region from an image ");
    const image_ptr out(box.apply(in.get()));
    EXPECT_EQ(out->width, 2);
    EXPECT_EQ(pixels_of(out.get()), (std::vector<int>{6, 7, 10, 11}));

    ExtractRR larger(-5, -5, 50, 50, 0);
    EXPECT_EQ(pixels_of(image_ptr(larger.apply(in.get())).get()), pixels_of(in.get()));

    ExtractRR inverted(2, 3, 1, 1, 0);
    testing::internal::CaptureStdout();
    const image_ptr kept(inverted.apply(in.get()));
    EXPECT_NE(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(pixels_of(kept.get()), pixels_of(in.get()));

    std::unique_ptr<ProcessImage> copy(ExtractRR().copy());
    EXPECT_STREQ(copy->FunctionName(), "Crop an image by a BOX");
}

TEST(ProcessImage, BaseCopiesThePictureAndAssignmentMakesADummy)
{
    const image_ptr in = picture(2, 1, {5, 6});
    ProcessImage base;
    EXPECT_EQ(pixels_of(image_ptr(base.apply(in.get())).get()), pixels_of(in.get()));
    scaleImage target(0.25);
    ProcessImage& as_base = target;
    std::unique_ptr<ProcessImage> dummy(as_base = base);
    EXPECT_STREQ(dummy->FunctionName(), "Dummy Copy");
    EXPECT_STREQ(target.FunctionParameter(), "Scaling: 0.250000");
    scaleImage source(2);
    std::unique_ptr<scaleImage> fresh(target = source);
    EXPECT_STREQ(fresh->FunctionParameter(), "Scaling: 2.000000");
    EXPECT_STREQ(target.FunctionParameter(), "Scaling: 0.250000");
}

// A chain that keeps what it is asked to write.
class RecordingChain : public VxImageProcessing {
public:
    std::vector<std::string> paths;
    std::vector<std::vector<int>> written;
    const image* source = nullptr;
    int displays = 0;

    void writeImage(const char* path, image* img) override
    {
        paths.push_back(path);
        written.push_back(pixels_of(img));
    }
    vx_image* readImage(const char*) override
    {
        return init_vximage_from_single_image(source, 1, 0);
    }
    void display() override { ++displays; }
};

TEST(VxImageProcessing, RunsCopiesOfItsStepsInOrder)
{
    const image_ptr in = picture(4, 2, {rgb(100, 0, 0), 0, rgb(20, 0, 0), 0, 0, 0, 0, 0});
    vx_image* input = init_vximage_from_single_image(in.get(), 1, 0);
    RecordingChain chain;
    EXPECT_EQ(chain.apply(input), nullptr);

    scaleImage half(0.5);
    RGBFilter red(2, 1, 1);
    testing::internal::CaptureStdout();
    chain.addFunction(half);
    chain.addFunction(red);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Function Scale Image Added\nFunction RGB Filter Image Added\n");
    // Later edits of the caller's steps do not reach the chain.
    half.init(1.0);
    red.init(0, 0, 0);

    const image_ptr out(chain.apply(input));
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(pixels_of(out.get()), (std::vector<int>{rgb(200, 0, 0), rgb(40, 0, 0)}));
    EXPECT_TRUE(chain.written.empty());
    EXPECT_EQ(chain.displays, 1);

    // With the protocol every step's result is written, and it stays on.
    image_ptr(chain.apply(input, "protocol"));
    EXPECT_EQ(chain.paths, (std::vector<std::string>{"protocol", "protocol"}));
    EXPECT_EQ(chain.written[0], (std::vector<int>{rgb(100, 0, 0), rgb(20, 0, 0)}));
    image_ptr(chain.apply(input));
    EXPECT_EQ(chain.paths.size(), 4u);
    delete_vximage(input);

    chain.source = in.get();
    chain.resetFunctions();
    chain.addFunction(red);
    chain.paths.clear();
    chain.apply("in.png", "out.png");
    ASSERT_EQ(chain.paths, (std::vector<std::string>{"protocol", "out.png"}));
    EXPECT_EQ(chain.written.back(), std::vector<int>(8, 0));
}

}  // namespace
