// qimage_frame: turning data words into the screen image.
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cstdint>

#include "gui/foundation/qimage_frame.h"
#include "imagecore/report.h"

namespace {

QRgb opaque(uint32_t rgb)
{
    return 0xFF000000u | (rgb & 0xFFFFFFu);
}

QRgb entry_colour(const unsigned char* entry)
{
    return 0xFF000000u | uint32_t{entry[2]} << 16 | uint32_t{entry[1]} << 8 | entry[0];
}

// Overlay grey g with alpha a over a colour's channels c. The full redraw
// weighs with 256 and shifts, g * a >> 8 plus c * (256 - a) >> 8 (alpha 0
// gives c itself); the single-pixel blend divides by 255. The two differ by
// design; both terms are truncated separately, and neither sum leaves a byte.
QRgb blend_shifted(uint32_t colour, uint32_t word)
{
    const uint32_t alpha = (word >> 16) & 0xFFu;
    const uint32_t over = ((word >> 24) * alpha) >> 8;
    const uint32_t keep = 256 - alpha;
    // Red and blue share one product: a channel times keep stays below
    // 65536, so neither reaches the other's bits.
    const uint32_t red_blue = ((colour & 0x00FF00FFu) * keep >> 8) & 0x00FF00FFu;
    const uint32_t green = ((colour & 0x0000FF00u) * keep >> 8) & 0x0000FF00u;
    return 0xFF000000u | (red_blue + green + over * 0x010101u);
}

QRgb blend_divided(const unsigned char* entry, uint32_t word)
{
    const uint32_t alpha = (word >> 16) & 0xFFu;
    const uint32_t over = (word >> 24) * alpha / 255;
    const uint32_t keep = 255 - alpha;
    return 0xFF000000u | (over + entry[2] * keep / 255) << 16 |
           (over + entry[1] * keep / 255) << 8 | (over + entry[0] * keep / 255);
}

void report_missing_colour(uint32_t index)
{
    vx_report("No color Number %d in palette\n", static_cast<int>(index));
}

// One screen row of the zoomed redraw: screen column i shows image column
// columns[i] for i below `inside`, the background beyond. `colours` holds
// the palette entries that a 16-bit index can reach, as 0x00RRGGBB.
struct row_painter {
    const std::vector<int>& columns;
    size_t inside;
    QRgb background;
    const std::vector<uint32_t>& colours;

    template <class Colour>
    void paint(const int* row, QRgb* out, Colour colour) const
    {
        for (size_t i = 0; i < inside; ++i)
            colour(static_cast<uint32_t>(row[columns[i]]), out[i]);
        std::fill(out + inside, out + columns.size(), background);
    }

    // Whether every pixel of the row was drawn.
    bool paint_row(int mode, const int* row, QRgb* out) const
    {
        bool complete = true;
        if (mode == 1) {
            paint(row, out, [this, &complete](uint32_t word, QRgb& pixel) {
                const uint32_t index = word & 0xFFFFu;
                if (index < colours.size()) {
                    pixel = blend_shifted(colours[index], word);
                } else {
                    report_missing_colour(index);
                    complete = false;
                }
            });
        } else if (mode == 2) {
            paint(row, out, [](uint32_t word, QRgb& pixel) { pixel = opaque(word); });
        } else {
            paint(row, out, [](uint32_t word, QRgb& pixel) { pixel = opaque(word & 0xFFu); });
        }
        return complete;
    }
};

QRgb* screen_row(QImage& screen, int j)
{
    return reinterpret_cast<QRgb*>(screen.bits() +
                                   static_cast<qsizetype>(j) * screen.bytesPerLine());
}

}  // namespace

void qimage_frame::display_image_zoomed()
{
    drawZoomed();
    repaint();
}

void qimage_frame::drawZoomed()
{
    initImageDepth32();
    const int vw = viewportWidth();
    const int vh = viewportHeight();
    if (vw == 0 || vh == 0)
        return;
    // 1. Image columns grow with screen columns, so those beyond the image
    //    form each row's tail.
    std::vector<int> columns(static_cast<size_t>(vw));
    size_t inside = 0;
    for (int i = 0; i < vw; ++i) {
        const int x = i / zoom + zoomLeft;
        columns[static_cast<size_t>(i)] = x;
        inside += x < imageWidth;
    }
    // 2. The palette as colours, once per redraw.
    std::vector<uint32_t> colours;
    if (displayMode == 1 && paletteCount > 0) {
        colours.resize(static_cast<size_t>(std::min(paletteCount, 0x10000)));
        for (size_t p = 0; p < colours.size(); ++p)
            colours[p] = entry_colour(displayPalette + 4 * p) & 0xFFFFFFu;
    }
    const row_painter painter{columns, inside, opaque(static_cast<uint32_t>(BackgroungColor())),
                              colours};
    // 3. Row by row; a row that shows the same image row as the one above,
    //    which was drawn whole, is a copy of it.
    const QRgb* above = nullptr;
    int aboveY = -1;
    for (int j = 0; j < vh; ++j) {
        QRgb* out = screen_row(screen, j);
        const int y = zoomTop + j / zoom;
        if (y == aboveY && above != nullptr) {
            std::copy(above, above + vw, out);
            continue;
        }
        bool complete = true;
        if (y >= imageHeight)
            std::fill(out, out + vw, painter.background);
        else
            complete = painter.paint_row(
                displayMode, data + static_cast<size_t>(y) * static_cast<size_t>(imageWidth), out);
        above = complete ? out : nullptr;
        aboveY = y;
    }
}

void qimage_frame::display_image()
{
    initImageDepth32();
    const int w = std::min(imageWidth, viewportWidth());
    const int h = std::min(imageHeight, viewportHeight());
    for (int y = 0; y < h; ++y) {
        const int* row = data + static_cast<size_t>(y) * static_cast<size_t>(imageWidth);
        QRgb* out = screen_row(screen, y);
        for (int x = 0; x < w; ++x) {
            const auto word = static_cast<uint32_t>(row[x]);
            if (displayMode == 2) {
                out[x] = opaque(word);
            } else if (displayMode == 1 && displayPalette == nullptr) {
                out[x] = opaque(word & 0xFFu);
            } else if (displayMode == 1) {
                if (static_cast<int64_t>(word) >= paletteCount)
                    report_missing_colour(word);
                else
                    out[x] = entry_colour(displayPalette + 4 * static_cast<size_t>(word));
            }
        }
    }
    repaint();
    vx_report("display Image\n");
}

void qimage_frame::display_pixel_orig_zoomed(int x, int y)
{
    if (displayMode == 1)
        updatePixelZoomPalettedDisplay(x, y);
}

void qimage_frame::updatePixelZoomPalettedDisplay(int x, int y)
{
    if (!insideImage(x, y) || x < zoomLeft || y < zoomTop || x - zoomLeft >= DisplayFrameWidth() ||
        y - zoomTop >= DisplayFrameHeight())
        return;
    const auto word =
        static_cast<uint32_t>(data[static_cast<size_t>(y) * static_cast<size_t>(imageWidth) + x]);
    const uint32_t index = word & 0xFFFFu;
    if (static_cast<int64_t>(index) >= paletteCount) {
        report_missing_colour(index);
        return;
    }
    initImageDepth32();
    const QRgb colour = blend_divided(displayPalette + 4 * index, word);
    const int left = (x - zoomLeft) * zoom;
    const int top = (y - zoomTop) * zoom;
    for (int j = top; j < top + zoom; ++j) {
        QRgb* out = screen_row(screen, j) + left;
        std::fill(out, out + zoom, colour);
    }
    update(left, top, zoom, zoom);
}

void qimage_frame::updatePixelZoomRawDisplay(int, int)
{}

void qimage_frame::updatePixelZoomRGBDisplay(int, int)
{}

void qimage_frame::update_image(const char* tag)
{
    repaint();
    vx_report("update_image for %s\n", tag);
}

void qimage_frame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, screen);
}

void qimage_frame::setTip(QString text)
{
    setToolTip(text + "Size W: " + QString::number(screen.width()) +
               " H: " + QString::number(screen.height()));
}

int qimage_frame::BackgroungColor() const
{
    return static_cast<int>(palette().color(backgroundRole()).rgb() & 0xFFFFFFu);
}
