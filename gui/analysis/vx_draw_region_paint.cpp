// VxDrawRegion: painting the labels and drawing them over the template.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <algorithm>
#include <cstdlib>

#include "gui/analysis/vx_draw_region.h"
#include "gui/foundation/qimage_frame.h"
#include "imagecore/label.h"
#include "imagecore/neighbourhood.h"
#include "imagecore/report.h"

// ---- display ----

int VxDrawRegion::displayWord(int p) const
{
    const auto grey = static_cast<unsigned>(shownGrey->pixels[p]);
    const int value = labels->pixels[p];
    if (value == 0)
        return static_cast<int>(grey);
    return static_cast<int>(grey << 24 | static_cast<unsigned>(255 - alpha) << 16 |
                            static_cast<unsigned>(value));
}

void VxDrawRegion::updateEntireDisplay()
{
    int* words = display->get_t_image()->pixels;
    const int n = labels->width * labels->height;
    for (int p = 0; p < n; ++p)
        words[p] = displayWord(p);
    display->display_image_zoomed();
}

void VxDrawRegion::updateDisplay()
{
    int* words = display->get_t_image()->pixels;
    const int w = labels->width;
    const int left = display->DisplayFrameLeft();
    const int top = display->DisplayFrameTop();
    const int right = std::min(w, left + display->DisplayFrameWidth());
    const int bottom = std::min(labels->height, top + display->DisplayFrameHeight());
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            words[y * w + x] = displayWord(y * w + x);
    display->display_image_zoomed();
}

void VxDrawRegion::setPixel(int iPos)
{
    const int w = labels->width;
    if (iPos < 0 || iPos >= w * labels->height)
        return;
    display->get_t_image()->pixels[iPos] = displayWord(iPos);
    display->display_pixel_orig_zoomed(iPos % w, iPos / w);
}

bool VxDrawRegion::inside(int x, int y) const
{
    return inside_image(x, y, labels->width, labels->height);
}

// ---- painting ----

void VxDrawRegion::paint(int x, int y, int value)
{
    if (!inside(x, y))
        return;
    const int p = y * labels->width + x;
    labels->pixels[p] = value;
    setPixel(p);
}

void VxDrawRegion::drawLine(int x1, int y1, int x2, int y2, int value)
{
    // Steps along the longer axis from the end with the smaller coordinate
    // there; the other coordinate moves by the slope times the step,
    // truncated toward zero (exactly, in integers, so the far end is hit).
    const int dx = x2 - x1;
    const int dy = y2 - y1;
    if (std::abs(dy) < std::abs(dx)) {
        const int x = std::min(x1, x2);
        const int y = x1 < x2 ? y1 : y2;
        for (int step = 0; step <= std::abs(dx); ++step)
            paint(x + step, y + static_cast<int>(static_cast<long long>(dy) * step / dx), value);
    } else if (dy != 0) {
        const int y = std::min(y1, y2);
        const int x = y1 < y2 ? x1 : x2;
        for (int step = 0; step <= std::abs(dy); ++step)
            paint(x + static_cast<int>(static_cast<long long>(dx) * step / dy), y + step, value);
    } else {
        paint(x1, y1, value);
    }
    display->update();
}

void VxDrawRegion::fill(int x, int y)
{
    if (!inside(x, y))
        return;
    copy_image(undoImage.get(), labels.get());
    const int w = labels->width;
    const int seed = y * w + x;
    label_iterate_local(labels->pixels, offsets, 4, activeColor, labels->pixels[seed], seed, w,
                        labels->height, fillQueue.get());
    updateEntireDisplay();
}

void VxDrawRegion::mousePressLeftButton(int iX, int iY)
{
    if (!inside(iX, iY))
        return;
    lastX = iX;
    lastY = iY;
    switch (drawMode) {
    case erase_mode: paint(iX, iY, 0); break;
    case draw_mode: paint(iX, iY, activeColor); break;
    case fill_mode: fill(iX, iY); break;
    case pick_mode: {
        const int value = labels->pixels[iY * labels->width + iX];
        currentLabel = value > 256 ? value - 256 : 0;
        labelField->setText(QString::number(currentLabel));
        setActiveColor();
        break;
    }
    default: break;
    }
}

void VxDrawRegion::mouseMoveLeftButton(int iX, int iY)
{
    if (!inside(iX, iY) || (drawMode != erase_mode && drawMode != draw_mode))
        return;
    const int value = drawMode == erase_mode ? 0 : activeColor;
    if (inside(lastX, lastY))
        drawLine(lastX, lastY, iX, iY, value);
    else
        paint(iX, iY, value);
    lastX = iX;
    lastY = iY;
}

void VxDrawRegion::mousePressLeftCtlButton(int iX, int iY)
{
    if (!inside(iX, iY))
        return;
    lastX = iX;
    lastY = iY;
    fill(iX, iY);
}

void VxDrawRegion::undoFill()
{
    copy_image(labels.get(), undoImage.get());
    updateEntireDisplay();
}

void VxDrawRegion::clear()
{
    fdRegion = 0;
    erase_image(labels.get(), 0);
    updateEntireDisplay();
    attributesView->clear();
    regions.clear();
    lastY = -1;
}

void VxDrawRegion::setSketch(const image* sketch)
{
    if (sketch == nullptr || sketch->width != labels->width || sketch->height != labels->height) {
        vx_report("Sketch does not fit the template of %d x %d\n", labels->width, labels->height);
        return;
    }
    const int n = labels->width * labels->height;
    for (int p = 0; p < n; ++p)
        labels->pixels[p] = sketch->pixels[p] != 0 ? 257 : 0;
    // Every label may have changed, so the frame's words outside the view,
    // which zooming or panning shows later, are refreshed too.
    updateEntireDisplay();
}
