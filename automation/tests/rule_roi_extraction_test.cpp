#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "automation/preprocessing/rule_roi_extraction.h"
#include "imagecore/image.h"
#include "testsupport/vx_test.h"

namespace {

struct image_deleter {
    void operator()(image* img) const { delete_image(img); }
};
using image_ptr = std::unique_ptr<image, image_deleter>;

constexpr int kGrey = 20 * 0x010101;
constexpr int kBright = 200 * 0x010101;

// A 16 x 16 dark grey picture with a bright 6 x 6 square at columns 4..9,
// rows 6..11.
image_ptr square_picture()
{
    image_ptr img(create_image(16, 16, kGrey));
    for (int y = 6; y < 12; ++y)
        for (int x = 4; x < 10; ++x)
            img->pixels[y * 16 + x] = kBright;
    return img;
}

struct roi_run {
    vx_test::TempDir dir;
    image_ptr input = square_picture();

    image_ptr run(const std::string& query, double scaling)
    {
        vx_test::write_file(dir.file("update.rule"),
                            "DECLS: a := area; #DECLS RULES: TD: #RULES\n");
        vx_test::write_file(dir.file("query.rule"), query);
        RuleRoiExtraction step(dir.path().c_str(), scaling, 3, 1, 0,
                               dir.file("update.rule").c_str(), dir.file("query.rule").c_str());
        testing::internal::CaptureStdout();
        image_ptr out(step.apply(input.get()));
        testing::internal::GetCapturedStdout();
        return out;
    }
    // Both protocol pictures, the scaled input and the marked region.
    bool protocol_written() const
    {
        bool node = false;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            node = node || entry.path().filename().string().rfind("Node_", 0) == 0;
        return node && std::filesystem::exists(dir.file("ScaledInput.pgm"));
    }
};

int count_of(const image* img, int value)
{
    int n = 0;
    for (int i = 0; i < img->width * img->height; ++i)
        n += img->pixels[i] == value ? 1 : 0;
    return n;
}

TEST(RuleRoiExtraction, CropsTheBoxOfTheFirstSelectedRegionWholeOutOfTheInput)
{
    roi_run r;
    const image_ptr out = r.run("RULES: TD: meangrey > 100 #RULES\n", 1.0);
    ASSERT_NE(out, nullptr);
    EXPECT_LT(out->width * out->height, 16 * 16 / 2);
    EXPECT_EQ(count_of(out.get(), kBright), 36);
    EXPECT_TRUE(r.protocol_written());

    // The box found at half size is taken back to the unscaled picture.
    const image_ptr half = r.run("RULES: TD: meangrey > 100 #RULES\n", 0.5);
    EXPECT_EQ(count_of(half.get(), kBright), 36);
    EXPECT_LT(half->width, 16);
}

TEST(RuleRoiExtraction, WithoutASelectedRegionGivesTheScaledPicture)
{
    roi_run r;
    const image_ptr out = r.run("RULES: TD: area > 100000 #RULES\n", 0.5);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->width, 8);
    EXPECT_EQ(out->height, 8);
    EXPECT_EQ(count_of(out.get(), kBright), 9);
    EXPECT_TRUE(r.protocol_written());
}

}  // namespace
