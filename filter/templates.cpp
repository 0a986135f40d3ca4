#include "filter/templates.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "filter/detail/template_grid.h"
#include "imagecore/array_utils.h"
#include "imagecore/report.h"

namespace {

constexpr const char* kNoFilter = "Not enough memory for filter struct";
constexpr const char* kNoTemplate = "Not enough memory for filter template";

int* alloc_ints(size_t n)
{
    return static_cast<int*>(std::malloc(sizeof(int) * (n == 0 ? 1 : n)));
}

}  // namespace

f_filter* init_f_filter()
{
    auto* f = static_cast<f_filter*>(std::calloc(1, sizeof(f_filter)));
    if (f == nullptr)
        vx_report("%s\n", kNoFilter);
    return f;
}

void delete_filter(f_filter* f)
{
    if (f == nullptr)
        return;
    free_offset_tmpl(f->offsets);
    std::free(f->values);
    std::free(f);
}

offset_tmpl* generate_offset_tmpl(const int* values, int width, int height)
{
    const size_t cells = static_cast<size_t>(width) * static_cast<size_t>(height);
    int count = 0;
    for (size_t i = 0; i < cells; ++i)
        count += values[i] != -1;
    auto* t = static_cast<offset_tmpl*>(std::calloc(1, sizeof(offset_tmpl)));
    if (t == nullptr)
        return nullptr;
    t->dx = alloc_ints(static_cast<size_t>(count));
    t->dy = alloc_ints(static_cast<size_t>(count));
    t->value = alloc_ints(static_cast<size_t>(count));
    if (t->dx == nullptr || t->dy == nullptr || t->value == nullptr) {
        free_offset_tmpl(t);
        return nullptr;
    }
    int k = 0;
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            const int v = values[static_cast<size_t>(row) * width + col];
            if (v == -1)
                continue;
            t->dx[k] = col - width / 2;
            t->dy[k] = row - height / 2;
            t->value[k] = v;
            ++k;
        }
    }
    t->count = count;
    return t;
}

void free_offset_tmpl(offset_tmpl* t)
{
    if (t == nullptr)
        return;
    std::free(t->dx);
    std::free(t->dy);
    std::free(t->value);
    std::free(t);
}

void set_filter_grid(f_filter* f, int* values, int width, int height)
{
    if (f->values != values)
        std::free(f->values);
    free_offset_tmpl(f->offsets);
    f->values = values;
    f->width = width;
    f->height = height;
    f->centre_col = width / 2;
    f->centre_row = height / 2;
    f->offsets = generate_offset_tmpl(values, width, height);
}

f_filter* create_copy_template(const f_filter* src)
{
    auto* f = static_cast<f_filter*>(std::calloc(1, sizeof(f_filter)));
    if (f == nullptr) {
        vx_report("%s\n", kNoFilter);
        return nullptr;
    }
    const size_t cells = static_cast<size_t>(src->width) * static_cast<size_t>(src->height);
    int* values = alloc_ints(cells);
    if (values == nullptr) {
        vx_report("%s\n", kNoTemplate);
        std::free(f);
        return nullptr;
    }
    if (cells > 0)
        std::memcpy(values, src->values, sizeof(int) * cells);
    f->op = src->op;
    f->use_mask = src->use_mask;
    f->iterations = src->iterations;
    f->quantile = src->quantile;
    f->mask = src->mask;
    set_filter_grid(f, values, src->width, src->height);
    return f;
}

int* init_f_template(const functions* tmpl, f_filter* f)
{
    double* (*builder)(const functions*, int*) = nullptr;
    switch (tmpl->type) {
    case 1: builder = init_disk_template; break;
    case 2: builder = init_sphere_template; break;
    case 3: builder = init_circ_pow_template; break;
    case 4: builder = init_elip_pow_template; break;
    case 5: builder = binomial; break;
    case 6: builder = init_square_template; break;
    default: break;
    }
    int size = 0;
    double* grid = builder != nullptr ? builder(tmpl, &size) : nullptr;
    if (grid == nullptr) {
        vx_report("morph_filter  templates No valid Function for Template given\n");
        return nullptr;
    }
    int* values = cnv_d_field(grid, size * size);
    if (values == nullptr) {
        vx_report("%s\n", kNoTemplate);
        return nullptr;
    }
    set_filter_grid(f, values, size, size);
    return f->values;
}

int* cnv_d_field(double* grid, int n)
{
    int* values = alloc_ints(n > 0 ? static_cast<size_t>(n) : 0);
    if (values != nullptr) {
        for (int i = 0; i < n; ++i)
            values[i] = round_weight(grid[i]);
    }
    std::free(grid);
    return values;
}

void show_template(const f_filter* f)
{
    const offset_tmpl* t = f->offsets;
    int k = 0;
    for (int row = 0; row < f->height; ++row) {
        for (int col = 0; col < f->width; ++col) {
            const bool inside = t != nullptr && k < t->count && t->dx[k] == col - f->width / 2 &&
                                t->dy[k] == row - f->height / 2;
            if (inside)
                std::printf("%d ", t->value[k++]);
            else
                std::printf(". ");
        }
        std::printf("\n");
    }
}

void template_point_reflection(f_filter* f)
{
    flip_vertical(f->values, f->height, f->width);
    flip_horizontal(f->values, f->height, f->width);
    set_filter_grid(f, f->values, f->width, f->height);
}

int maskcheck(int value, int mask, int op)
{
    if (op == 1)
        return value > mask ? value : mask;
    if (op == 2)
        return value < mask ? value : mask;
    return value;
}
