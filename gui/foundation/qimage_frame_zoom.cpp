// qimage_frame: the zoom window and the viewport's size.
#include <algorithm>

#include "gui/foundation/qimage_frame.h"
#include "imagecore/report.h"

int qimage_frame::DisplayFrameWidth() const
{
    return viewportWidth() / zoom;
}

int qimage_frame::DisplayFrameHeight() const
{
    return viewportHeight() / zoom;
}

bool qimage_frame::insideViewport(int x, int y) const
{
    return x >= 0 && y >= 0 && x < viewportWidth() && y < viewportHeight();
}

bool qimage_frame::insideImage(int column, int row) const
{
    return column >= 0 && row >= 0 && column < imageWidth && row < imageHeight;
}

void qimage_frame::setZoomfactor(QString qstFactor)
{
    bool ok = false;
    const int factor = qstFactor.toInt(&ok);
    if (ok && factor >= 1)
        zoom = factor;
}

void qimage_frame::updateZoomWindow()
{
    setZoomWindow();
    display_image_zoomed();
}

void qimage_frame::setZoomWindow()
{
    applyZoomWindow(zoom, zoomLeft, zoomTop);
}

void qimage_frame::setZoomWindow(int iValue)
{
    applyZoomWindow(iValue, zoomLeft, zoomTop);
}

void qimage_frame::setZoomWindow(int iTopX, int iTopY)
{
    applyZoomWindow(zoom, iTopX, iTopY);
}

void qimage_frame::setZoomWindow(int iValue, int iTopX, int iTopY)
{
    applyZoomWindow(iValue, iTopX, iTopY);
}

void qimage_frame::applyZoomWindow(int z, int left, int top)
{
    // 1.-3. The mouse acts from now on; a factor beyond the viewport is cut,
    // one below 1 changes nothing else.
    mouseEnabled = true;
    if (z > viewportWidth())
        z = viewportWidth() - 1;
    if (z < 1)
        return;
    // 4.-6. The window's size, and its origin kept inside the image.
    const int w = viewportWidth() / z;
    const int h = viewportHeight() / z;
    zoom = z;
    zoomWidth = w;
    zoomHeight = h;
    zoomLeft = w > imageWidth || left < 0 ? 0 : std::min(left, imageWidth - w);
    zoomTop = h > imageHeight || top < 0 ? 0 : std::min(top, imageHeight - h);
}

void qimage_frame::emitZoomFactor()
{
    emit changedZoomfactor(zoom);
    emit ZoomfactorChanged(QString::number(zoom));
}

void qimage_frame::ZoomFactorUp()
{
    ZoomFactorUp(viewportWidth() / 2, viewportHeight() / 2);
}

void qimage_frame::ZoomFactorUp(int iX, int iY)
{
    // The image pixel under (x, y) becomes the centre of the new window.
    const int z = zoom;
    applyZoomWindow(z + 1, zoomLeft + iX / z - viewportWidth() / (2 * (z + 1)),
                    zoomTop + iY / z - viewportHeight() / (2 * (z + 1)));
    display_image_zoomed();
    emitZoomFactor();
}

void qimage_frame::ZoomFactorDown()
{
    const int z = zoom;
    if (z < 2)
        return;
    applyZoomWindow(z - 1, zoomLeft + zoomWidth / 2 - (viewportWidth() / (z - 1)) / 2,
                    zoomTop + zoomHeight / 2 - (viewportHeight() / (z - 1)) / 2);
    display_image_zoomed();
    emitZoomFactor();
}

void qimage_frame::LeftMoveZoomFrame()
{
    if (zoomLeft > 0) {
        applyZoomWindow(zoom, zoomLeft - 1, zoomTop);
        display_image_zoomed();
    }
}

void qimage_frame::RightMoveZoomFrame()
{
    if (zoomLeft + zoomWidth + 1 < imageWidth) {
        applyZoomWindow(zoom, zoomLeft + 1, zoomTop);
        display_image_zoomed();
    }
}

void qimage_frame::UpMoveZoomFrame()
{
    if (zoomTop > 0) {
        applyZoomWindow(zoom, zoomLeft, zoomTop - 1);
        display_image_zoomed();
    }
}

void qimage_frame::DownMoveZoomFrame()
{
    if (zoomTop + zoomHeight + 1 < imageHeight) {
        applyZoomWindow(zoom, zoomLeft, zoomTop + 1);
        display_image_zoomed();
    }
}

void qimage_frame::resizeDisplayFrame(int w, int h)
{
    if (w < 1 || h < 1)
        return;
    replaceScreen(w, h);
    applyZoomWindow(1, 0, 0);
    display_image_zoomed();
}

void qimage_frame::fitDisplayFrame(int margin, QWidget* other)
{
    const QWidget* beside = other != nullptr ? other : this;
    const int w = width() - margin - beside->width();
    const int h = height() - margin - beside->height();
    if (w < 1 || h < 1 || (w >= width() && h >= height()))
        return;
    resizeDisplayFrame(w, h);
}

void qimage_frame::resizeFrame(int iWidth, int iHeight)
{
    if (iWidth < imageWidth || iHeight < imageHeight)
        return;
    vx_report("do Resize\n ");
    replaceScreen(iWidth, iHeight);
    vx_report("1\n ");
    applyZoomWindow(zoom, zoomLeft, zoomTop);
    vx_report("2\n ");
    drawZoomed();
    vx_report("3\n ");
    repaint();
    vx_report("Resize done\n ");
}

void qimage_frame::resizeFrameStep(int dw, int dh)
{
    int w = viewportWidth() + dw;
    int h = viewportHeight() + dh;
    if (w / zoom > imageWidth && h / zoom < imageHeight)
        w = zoom * imageWidth - 1;
    else if (w / zoom < imageWidth && h / zoom > imageHeight)
        h = zoom * imageHeight - 1;
    resizeFrame(w, h);
}

void qimage_frame::resizeFrame(int iOffset)
{
    resizeFrameStep(iOffset, iOffset);
}

void qimage_frame::bigger()
{
    resizeFrame(resizeStep);
}

void qimage_frame::smaller()
{
    resizeFrame(-resizeStep);
}
