#pragma once

// Small repositories of generated grey pictures in a temporary directory,
// for the tests of the repository classes.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "imagecore/files/pgm.h"
#include "imagecore/image.h"
#include "testsupport/file_repository.h"
#include "testsupport/vx_test.h"

namespace vx_test {

// A grey picture (24 x 20 unless told otherwise) with a bright and a dark
// blob placed by the seed, written as a PGM file.
inline void write_picture(const std::string& path, int seed, int width = 24, int height = 20)
{
    image* img = create_image(width, height, 100);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int bx = x - (5 + seed % 7), by = y - (6 + seed % 5);
            const int dx = x - 16, dy = y - (12 - seed % 3);
            if (bx * bx + by * by < 12)
                img->pixels[y * width + x] = 200 + seed;
            else if (dx * dx + dy * dy < 9)
                img->pixels[y * width + x] = 10;
            else
                img->pixels[y * width + x] = 100 + (x * 7 + y * 3 + seed) % 11;
        }
    ASSERT_EQ(write_pgm_p5(path.c_str(), img), 0);
    delete_image(img);
}

// n pictures img0.pgm .. in <dir>/images and an empty <dir>/trees.
struct repository_dir {
    TempDir dir;
    std::string images = dir.file("images");
    std::string trees = dir.file("trees");
    std::vector<std::string> names;

    explicit repository_dir(int n)
    {
        std::filesystem::create_directory(images);
        std::filesystem::create_directory(trees);
        for (int i = 0; i < n; ++i) {
            names.push_back("img" + std::to_string(i) + ".pgm");
            write_picture(images + "/" + names.back(), i);
        }
    }

    // A repository of the listed pictures (all of them by default), built
    // without its trace line.
    template <class Repository = FileRepository>
    std::unique_ptr<Repository> repository(int mode, std::vector<std::string> list = {})
    {
        if (list.empty())
            list = names;
        std::vector<char*> pointers;
        for (std::string& name : list)
            pointers.push_back(name.data());
        testing::internal::CaptureStdout();
        auto r = std::make_unique<Repository>(pointers.data(), static_cast<int>(pointers.size()),
                                              trees.c_str(), images.c_str(), mode);
        testing::internal::GetCapturedStdout();
        return r;
    }
};

// Computes the trees of every image with that many scales, quietly.
inline void compute_trees(VxRepository& r, int scales)
{
    testing::internal::CaptureStdout();
    r.computeRepositoryInit(scales);
    while (r.computeRepositoryStep(nullptr, nullptr) >= 0) {}
    testing::internal::GetCapturedStdout();
}

}  // namespace vx_test
