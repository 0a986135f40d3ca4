#pragma once

// The repository that the repository benchmarks work on: 16 generated grey
// pictures of 512 x 512, their trees at 20 scales; and their clock.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "imagecore/files/pgm.h"
#include "imagecore/image.h"

inline constexpr int kImages = 16;
inline constexpr int kSize = 512;
inline constexpr int kScales = 20;

using clock_type = std::chrono::steady_clock;

inline double seconds_since(clock_type::time_point start)
{
    return std::chrono::duration<double>(clock_type::now() - start).count();
}

// Smooth bright and dark blobs over a slow gradient with a little noise: many
// regions at every scale, like a micrograph. A size x size PGM file.
inline void write_blob_picture(const std::string& path, int size, unsigned seed)
{
    image* img = create_image(size, size, 0);
    std::srand(seed);
    struct blob {
        int x, y, r, v;
    };
    std::vector<blob> blobs(60);
    for (blob& b : blobs)
        b = {std::rand() % size, std::rand() % size, 4 + std::rand() % 40,
             std::rand() % 2 != 0 ? 80 : -80};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int v = 100 + (x + y) / 16 + std::rand() % 9;
            for (const blob& b : blobs)
                if ((x - b.x) * (x - b.x) + (y - b.y) * (y - b.y) < b.r * b.r)
                    v += b.v;
            img->pixels[y * size + x] = std::clamp(v, 0, 255);
        }
    write_pgm_p5(path.c_str(), img);
    delete_image(img);
}

// The pictures image0.pgm .. image<count - 1>.pgm (seeds seed, seed + 1, ...)
// written into the directory, with their names as the repository's list
// constructor takes them.
struct repository_pictures {
    std::vector<std::string> names;
    std::vector<char*> list;

    explicit repository_pictures(const std::string& images, int count = kImages,
                                 unsigned seed = 17u)
    {
        for (int i = 0; i < count; ++i) {
            names.push_back("image" + std::to_string(i) + ".pgm");
            write_blob_picture(images + "/" + names.back(), kSize, seed + static_cast<unsigned>(i));
        }
        for (std::string& name : names)
            list.push_back(name.data());
    }
};

// A rule file or any other text file of the benchmark.
inline void write_text(const std::string& path, const std::string& text)
{
    FILE* f = std::fopen(path.c_str(), "w");
    std::fputs(text.c_str(), f);
    std::fclose(f);
}
