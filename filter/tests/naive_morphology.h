#pragma once

// Deliberately plain versions of the grey-level operators, written from their
// definitions (repeat a step until nothing changes), against which the fast
// library versions are checked.

#include <algorithm>
#include <deque>
#include <numeric>
#include <random>
#include <vector>

#include "imagecore/image.h"
#include "imagecore/neighbourhood.h"

namespace naive {

using grid = std::vector<int>;

// The neighbourhood extreme: erode = true takes the minimum.
inline grid neighbourhood(const grid& in, int w, int h, int conn, bool erode)
{
    grid out(in.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int v = in[y * w + x];
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    if (conn == 4 && dx != 0 && dy != 0)
                        continue;
                    const int nx = x + dx;
                    const int ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h)
                        continue;
                    const int q = in[ny * w + nx];
                    v = erode ? std::min(v, q) : std::max(v, q);
                }
            }
            out[y * w + x] = v;
        }
    }
    return out;
}

// Reconstruction by dilation (erode = false) of marker under mask, or by
// erosion above it.
inline grid reconstruct(grid marker, const grid& mask, int w, int h, int conn, bool erode)
{
    for (size_t i = 0; i < marker.size(); ++i)
        marker[i] = erode ? std::max(marker[i], mask[i]) : std::min(marker[i], mask[i]);
    for (;;) {
        grid next = neighbourhood(marker, w, h, conn, erode);
        for (size_t i = 0; i < next.size(); ++i)
            next[i] = erode ? std::max(next[i], mask[i]) : std::min(next[i], mask[i]);
        if (next == marker)
            return marker;
        marker = next;
    }
}

inline grid fill_holes(const grid& img, int w, int h, int conn)
{
    const int top = *std::max_element(img.begin(), img.end());
    grid marker = img;
    for (int y = 1; y + 1 < h; ++y)
        for (int x = 1; x + 1 < w; ++x)
            marker[y * w + x] = top;
    return reconstruct(marker, img, w, h, conn, true);
}

inline grid to_grid(const image* img)
{
    return grid(img->pixels, img->pixels + img->width * img->height);
}

inline image* to_image(const grid& g, int w, int h)
{
    image* img = create_image(w, h, 0);
    std::copy(g.begin(), g.end(), img->pixels);
    update_image_struct(img);
    return img;
}

// The immersion written out step by step, with a bounds test per neighbour:
// pixels sorted by value (raster order within a value), -1 unreached, -2
// masked, -3 queued, 0 line. `wrap` accepts every neighbour inside the pixel
// array, as the limited watershed does.
inline grid literal_watershed(const grid& img, int w, int h, int n, bool wrap)
{
    const int npix = w * h;
    std::vector<int> order(npix);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return img[a] < img[b]; });
    grid lab(npix, -1);
    const auto neighbour = [&](int p, int d) {
        if (wrap) {
            const int q = p + nb_order.offset(d, w);
            return q >= 0 && q < npix ? q : -1;
        }
        return neighbour_in_image(d, p % w, p / w, w, h) ? p + nb_order.offset(d, w) : -1;
    };
    std::deque<int> fifo;
    int basins = 0;
    bool flag = false;
    for (size_t start = 0; start < order.size();) {
        size_t end = start;
        while (end < order.size() && img[order[end]] == img[order[start]])
            ++end;
        for (size_t k = start; k < end; ++k) {
            const int p = order[k];
            lab[p] = -2;
            for (int d = 0; d < n; ++d) {
                const int q = neighbour(p, d);
                if (q >= 0 && lab[q] >= 0) {
                    lab[p] = -3;
                    fifo.push_back(p);
                    break;
                }
            }
        }
        while (!fifo.empty()) {
            const int p = fifo.front();
            fifo.pop_front();
            for (int d = 0; d < n; ++d) {
                const int q = neighbour(p, d);
                if (q < 0)
                    continue;
                if (lab[q] > 0) {
                    if (lab[p] == -3)
                        lab[p] = lab[q];
                    else if (lab[p] > 0 && lab[p] != lab[q]) {
                        lab[p] = 0;
                        flag = false;
                    } else if (lab[p] == 0 && flag)
                        lab[p] = lab[q];
                } else if (lab[q] == -2) {
                    lab[q] = -3;
                    fifo.push_back(q);
                } else if (lab[q] == 0 && lab[p] == -3) {
                    lab[p] = 0;
                    flag = true;
                }
            }
        }
        for (size_t k = start; k < end; ++k) {
            if (lab[order[k]] != -2)
                continue;
            lab[order[k]] = ++basins;
            fifo.push_back(order[k]);
            while (!fifo.empty()) {
                const int p = fifo.front();
                fifo.pop_front();
                for (int d = 0; d < n; ++d) {
                    const int q = neighbour(p, d);
                    if (q >= 0 && lab[q] == -2) {
                        lab[q] = basins;
                        fifo.push_back(q);
                    }
                }
            }
        }
        start = end;
    }
    return lab;
}

// Noise over a few flat discs, so that reconstructions have plateaus, holes
// and long propagation paths to work on. `top` is 255 or 65535.
inline grid random_image(std::mt19937& rng, int w, int h, int top)
{
    std::uniform_int_distribution<int> value(0, top);
    std::uniform_int_distribution<int> noise(0, top / 16);
    grid g(static_cast<size_t>(w) * h);
    for (int& v : g)
        v = noise(rng);
    std::uniform_int_distribution<int> cx(0, w - 1), cy(0, h - 1),
        radius(1, 1 + std::max(w, h) / 4);
    const int discs = 1 + w * h / 60;
    for (int d = 0; d < discs; ++d) {
        const int x0 = cx(rng), y0 = cy(rng), r = radius(rng), v = value(rng);
        for (int y = std::max(0, y0 - r); y < std::min(h, y0 + r + 1); ++y)
            for (int x = std::max(0, x0 - r); x < std::min(w, x0 + r + 1); ++x)
                if ((x - x0) * (x - x0) + (y - y0) * (y - y0) <= r * r)
                    g[y * w + x] = std::min(top, v + noise(rng) / 4);
    }
    return g;
}

}  // namespace naive
