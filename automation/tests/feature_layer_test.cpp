#include <zlib.h>

#include <string>

#include "automation/layers/vxfeaturelayerimage.h"
#include "imagecore/exit_codes.h"
#include "imagecore/files/image_loader.h"
#include "testsupport/vx_test.h"

using vx_test::read_file;
using vx_test::TempDir;
using vx_test::write_file;

namespace {

std::string gunzip(const std::string& path)
{
    gzFile f = gzopen(path.c_str(), "rb");
    std::string text;
    char buffer[256];
    for (int n; f != nullptr && (n = gzread(f, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    if (f != nullptr)
        gzclose(f);
    return text;
}

}  // namespace

TEST(VxFeatureLayerImage, FilesAreGzippedTextThatReadsBack)
{
    TempDir dir;
    VxFeatureLayerImage layers(3, 2, 2);
    layers.setValue(1.25, 2, 1, 0);
    layers.setValue(-7.0, 0, 0, 1);
    layers.addLayer(0.5, "flat");
    layers.write(dir.file("f.gz").c_str());

    EXPECT_EQ(read_file(dir.file("f.gz")).substr(0, 2), "\x1f\x8b");
    const std::string zero = "0.000000, ";
    EXPECT_EQ(gunzip(dir.file("f.gz")),
              "Width: 3\nHeight: 2\nLayer: 3\n"
              "Layer_0\n" +
                  zero + zero + zero + zero + zero +
                  "1.250000,\n"
                  "Layer_1\n-7.000000, " +
                  zero + zero + zero + zero +
                  "0.000000,\n"
                  "flat\n0.500000, 0.500000, 0.500000, 0.500000, 0.500000, 0.500000,\n");

    VxFeatureLayerImage back(dir.file("f.gz").c_str());
    ASSERT_EQ(back.getLayer(), 3);
    EXPECT_EQ(back.getWidth(), 3);
    EXPECT_EQ(back.getHeight(), 2);
    EXPECT_STREQ(back.getLayerTag(2), "flat");
    EXPECT_EQ(back.getLayerIDX("Layer_1"), 1);
    EXPECT_EQ(back.getValue(2, 1, 0), 1.25);
    EXPECT_EQ(back.getValue(0, 0, 1), -7.0);
    EXPECT_EQ(back.getLayer("flat")[5], 0.5);
    EXPECT_EQ(back.getValue(3, 0, 0), 0.0);
    EXPECT_EQ(back.getLayer(3), nullptr);
}

TEST(VxFeatureLayerImage, TakenTagsAreNumberedAndOtherSizesRefused)
{
    VxFeatureLayerImage a(2, 2, 0);
    const int ramp[] = {1, 2, 3, 4};
    a.addLayer(ramp, "area");
    a.addLayer(nullptr);
    VxFeatureLayerImage b(2, 2, 0);
    b.addLayer(9.0, "area");
    a.append(b);
    ASSERT_EQ(a.getLayer(), 3);
    EXPECT_STREQ(a.getLayerTag(1), "Layer_1");
    EXPECT_STREQ(a.getLayerTag(2), "area_2");
    EXPECT_EQ(a.getValue(1, 1, 2), 9.0);
    a.setLayerTag(1, "area");
    EXPECT_STREQ(a.getLayerTag(1), "area_3");
    a.removeLayer("area");
    ASSERT_EQ(a.getLayer(), 2);
    EXPECT_EQ(a.getValue(0, 0, 0), 0.0);
    EXPECT_EQ(a.getValue(0, 0, 1), 9.0);

    VxFeatureLayerImage wide(3, 2, 1);
    testing::internal::CaptureStdout();
    a.append(wide);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Could not append"), std::string::npos);
    EXPECT_EQ(a.getLayer(), 2);
}

TEST(VxFeatureLayerImage, LayerPicturesSpreadValuesOverTheGreys)
{
    TempDir dir;
    VxFeatureLayerImage layers(2, 1, 0);
    const double ramp[] = {-1.0, 1.0};
    layers.addLayer(ramp, "ramp");
    layers.addLayer(3.0, "flat");
    layers.writeLayerImages(dir.file("p").c_str());
    image* picture = nullptr;
    ASSERT_EQ(loadPNG(dir.file("p.0.ramp.png").c_str(), &picture), 0);
    EXPECT_EQ(picture->pixels[0] & 0xff, 0);
    EXPECT_EQ(picture->pixels[1] & 0xff, 255);
    delete_image(picture);
    ASSERT_EQ(loadPNG(dir.file("p.1.flat.png").c_str(), &picture), 0);
    EXPECT_EQ(picture->pixels[1] & 0xff, 0) << "max = min gives 0";
    delete_image(picture);
}

TEST(VxFeatureLayerImage, BadFilesEndTheProcess)
{
    TempDir dir;
    write_file(dir.file("zero.txt"), "Width: 0\nHeight: 2\nLayer: 1\n");
    write_file(dir.file("tag.txt"), "Width: 2\nHight: 2\nLayer: 1\n");
    write_file(dir.file("cut.txt"), "Width: 2\nHeight: 1\nLayer: 1\nx\n1.0, ");
    const std::string zero = dir.file("zero.txt");
    EXPECT_VX_FATAL(
        VxFeatureLayerImage{zero.c_str()}, exit_code::feature_layer_file,
        "zero.txt is not a valid feature layer file Tag expecting Tag Width: \nERROR! BAILING OUT");
    const std::string tag = dir.file("tag.txt");
    EXPECT_VX_FATAL(VxFeatureLayerImage{tag.c_str()}, exit_code::feature_layer_file,
                    "expecting Tag Height: ");
    const std::string cut = dir.file("cut.txt");
    EXPECT_VX_FATAL(VxFeatureLayerImage{cut.c_str()}, exit_code::feature_layer_file,
                    "layer 0 ends after 1 values");
    const std::string none = dir.file("none.gz");
    EXPECT_VX_FATAL(VxFeatureLayerImage{none.c_str()}, exit_code::feature_layer_open,
                    "Could Not Open .*none.gz for input\nERROR! BAILING OUT");
}
