#include "gui/foundation/detail/display_palettes.h"

#include <cstdint>
#include <cstdlib>
#include <initializer_list>

#include "imagecore/palette.h"

namespace display_palettes {
namespace {

enum class fill { ramp, constant };

// A block's colour as the channels it lights (0 or 1 each).
struct block {
    int red;
    int green;
    int blue;
    fill kind;
};

constexpr block grey{1, 1, 1, fill::ramp};
constexpr block cyan{0, 1, 1, fill::ramp};
constexpr block magenta{1, 0, 1, fill::ramp};
constexpr block yellow{1, 1, 0, fill::ramp};
constexpr block red{1, 0, 0, fill::ramp};
constexpr block green{0, 1, 0, fill::ramp};
constexpr block blue{0, 0, 1, fill::ramp};

constexpr block constant(block b)
{
    return {b.red, b.green, b.blue, fill::constant};
}

void add_entry(std::vector<unsigned char>& entries, int r, int g, int b)
{
    entries.push_back(static_cast<unsigned char>(b));
    entries.push_back(static_cast<unsigned char>(g));
    entries.push_back(static_cast<unsigned char>(r));
    entries.push_back(0);
}

std::vector<unsigned char> blocks(std::initializer_list<block> list)
{
    std::vector<unsigned char> entries;
    entries.reserve(list.size() * 256 * 4);
    for (const block& b : list)
        for (int v = 0; v < 256; ++v) {
            const int level = b.kind == fill::ramp ? v : 255;
            add_entry(entries, b.red * level, b.green * level, b.blue * level);
        }
    return entries;
}

}  // namespace

std::vector<unsigned char> grey_value_palette1()
{
    return blocks({grey, cyan, magenta, yellow, red, green, green});
}

std::vector<unsigned char> grey_value_palette1(int n)
{
    std::vector<unsigned char> entries = blocks({grey, cyan, magenta, yellow, blue, red, green});
    for (int64_t j = 0; j < n; ++j)
        add_entry(entries, static_cast<int>(2 * j * j % 255), static_cast<int>(j * (j - 1) % 255),
                  static_cast<int>(j * j % 255));
    return entries;
}

std::vector<unsigned char> grey_value_palette2()
{
    return blocks({grey, cyan, magenta, yellow, blue, red, green});
}

std::vector<unsigned char> grey_value_palette4()
{
    return blocks(
        {grey, constant(blue), constant(green), constant(red), constant(cyan), red, green, blue});
}

std::vector<unsigned char> random_palette(int n)
{
    int* colours = initColorScrambledPalette(n);
    if (colours == nullptr)
        return {};
    std::vector<unsigned char> entries;
    entries.reserve((static_cast<size_t>(n) + 1) * 4);
    for (int i = 0; i <= n; ++i) {
        const auto word = static_cast<uint32_t>(colours[i]);
        for (int shift = 0; shift < 32; shift += 8)
            entries.push_back(static_cast<unsigned char>(word >> shift));
    }
    std::free(colours);
    return entries;
}

}  // namespace display_palettes
