#include "analyse/display/dual_analyse.h"

#include <algorithm>
#include <cstdlib>

#include "analyse/detail/position_walk.h"
#include "analyse/handles.h"
#include "imagecore/fatal.h"

namespace {

constexpr int kDarkContour = -1;  // marks dark contours until the bright pass has seen them

tregionnode** new_active_array(int entries)
{
    return static_cast<tregionnode**>(vx_calloc(
        static_cast<size_t>(std::max(entries, 1)), sizeof(tregionnode*), exit_code::out_of_memory,
        "Could not allocate the active region arrays -> PANIC"));
}

int bright_contour_code(int before)
{
    switch (before) {
    case OVERLAY_NONE:
    case OVERLAY_BRIGHT: return OVERLAY_CONTOUR;
    case kDarkContour: return OVERLAY_BRIGHT_ON_DARK_CONTOUR;
    case OVERLAY_DARK: return OVERLAY_BRIGHT_CONTOUR_IN_DARK;
    default: return before;
    }
}

int bright_interior_code(int before)
{
    switch (before) {
    case OVERLAY_NONE: return OVERLAY_BRIGHT;
    case kDarkContour: return OVERLAY_BRIGHT_ON_DARK_EDGE;
    case OVERLAY_DARK: return OVERLAY_BRIGHT_IN_DARK;
    default: return before;
    }
}

// code * step + grey. The overlay holds combined values after an output, so a
// caller that forgets the contour update must not overflow: the sum wraps.
int display_value(int code, int step, int grey)
{
    return static_cast<int>(static_cast<unsigned>(code) * static_cast<unsigned>(step) +
                            static_cast<unsigned>(grey));
}

// Writes value(code, grey) into the overlay and the output at every pixel
// that all three images hold.
template <class Value>
void combine_output(image* output, const image* grey, image* overlay, Value value)
{
    if (output == nullptr || grey == nullptr || overlay == nullptr)
        return;
    const int n =
        std::min({image_pixel_count(grey), image_pixel_count(overlay), image_pixel_count(output)});
    int* codes = overlay->pixels;
    const int* g = grey->pixels;
    int* out = output->pixels;
    for (int p = 0; p < n; ++p) {
        const int v = value(codes[p], g[p]);
        codes[p] = v;
        out[p] = v;
    }
}

}  // namespace

dual_analyse* init_dual_analyse(region_tree* bright, region_tree* dark)
{
    dual_analyse_handle dva(
        static_cast<dual_analyse*>(vx_calloc(1, sizeof(dual_analyse), exit_code::out_of_memory,
                                             "Could not allocate the dual analysis -> PANIC")));
    dva->dark_size = dark->regions + 1;
    dva->bright_size = bright->regions + 1;
    dva->dark_nodes = new_active_array(dva->dark_size);
    dva->bright_nodes = new_active_array(dva->bright_size);
    const vx_image* attr = bright->attr_image;
    const int width = attr != nullptr ? attr->width : bright->width;
    const int height = attr != nullptr ? attr->height : bright->height;
    dva->overlay = create_image(width, height, 0);
    dva->aux_image1 = create_image(width, height, 0);
    dva->aux_image2 = create_image(width, height, 0);
    return dva.release();
}

void delete_dual_analyse(dual_analyse* dva)
{
    if (dva == nullptr)
        return;
    std::free(dva->dark_nodes);
    std::free(dva->bright_nodes);
    delete_image(dva->overlay);
    delete_image(dva->aux_image1);
    delete_image(dva->aux_image2);
    std::free(dva);
}

void contour_update_dual_analyse(dual_analyse* dva)
{
    const int n = image_pixel_count(dva->overlay);
    int* codes = dva->overlay->pixels;
    std::fill(codes, codes + n, OVERLAY_NONE);

    // Among dark regions a later contour overwrites an earlier interior, but
    // an interior never overwrites a contour.
    dva->active_dark = 0;
    for (int i = 0; i < dva->dark_size; ++i) {
        const tregionnode* node = dva->dark_nodes[i];
        if (node == nullptr)
            continue;
        ++dva->active_dark;
        const auto mark_contour = [codes](int p) { codes[p] = kDarkContour; };
        for_each_inner_contour(node, n, mark_contour);
        for_each_outer_contour(node, n, mark_contour);
        for_each_pixel(node, n, [codes](int p) {
            if (codes[p] == OVERLAY_NONE)
                codes[p] = OVERLAY_DARK;
        });
    }

    dva->active_bright = 0;
    for (int i = 0; i < dva->bright_size; ++i) {
        const tregionnode* node = dva->bright_nodes[i];
        if (node == nullptr)
            continue;
        ++dva->active_bright;
        const auto mark_contour = [codes](int p) { codes[p] = bright_contour_code(codes[p]); };
        for_each_inner_contour(node, n, mark_contour);
        for_each_outer_contour(node, n, mark_contour);
        for_each_pixel(node, n, [codes](int p) { codes[p] = bright_interior_code(codes[p]); });
    }

    std::replace(codes, codes + n, kDarkContour, static_cast<int>(OVERLAY_CONTOUR));
}

void update_dual_analyse_output(image* output, image* grey, dual_analyse* dva)
{
    combine_output(output, grey, dva->overlay,
                   [](int code, int g) { return display_value(code, 256, g); });
}

void update_dual_analyse_contour_output(image* output, image* grey, dual_analyse* dva)
{
    combine_output(output, grey, dva->overlay, [](int code, int g) {
        return code <= OVERLAY_BRIGHT_ON_DARK_EDGE ? display_value(code, 255, g) : g;
    });
}

void update_single_analyse_output(image* output, image* grey, single_analyse* sa)
{
    combine_output(output, grey, sa->overlay,
                   [](int code, int g) { return display_value(code, 256, g); });
}

void update_single_analyse_contour_output(image* output, image* grey, single_analyse* sa)
{
    combine_output(output, grey, sa->overlay, [](int code, int g) {
        return code <= OVERLAY_BRIGHT_ON_DARK_EDGE ? display_value(code, 256, g) : g;
    });
}

void invert_va_output(image* img)
{
    const int n = image_pixel_count(img);
    for (int p = 0; p < n; ++p)
        img->pixels[p] = static_cast<int>(255u - static_cast<unsigned>(img->pixels[p]));
}

void create_va_output()
{}

void va_adapt_colormap()
{}

image* va_init_fourier_display(int width, int height)
{
    image* img = create_image(width, height, 0);
    const int n = image_pixel_count(img);
    for (int p = 0; p < n; ++p)
        img->pixels[p] = p % 256;
    return img;
}
