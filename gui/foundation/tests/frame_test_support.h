#pragma once

// Helpers of the qimage_frame tests: the screen read back through grab(),
// a plain redraw written from the definition, and input events.

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWheelEvent>
#include <cstdint>
#include <vector>

#include "gui/foundation/qimage_frame.h"

namespace frame_test {

// What the frame paints of its viewport (the minimum size is the viewport).
inline QImage screen_of(qimage_frame& frame)
{
    return frame.grab(QRect(QPoint(0, 0), frame.minimumSize()))
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

struct view {
    int width;  // viewport
    int height;
    int zoom;
    int left;
    int top;
};

// Screen colour of one data word in mode 1 (full redraw), 2 or another mode.
inline QRgb word_colour(uint32_t word, int mode, const std::vector<unsigned char>& palette)
{
    if (mode == 2)
        return 0xFF000000u | (word & 0xFFFFFFu);
    if (mode != 1)
        return 0xFF000000u | (word & 0xFFu);
    const unsigned char* entry = palette.data() + 4 * (word & 0xFFFFu);
    const int alpha = (word >> 16) & 255;
    const int grey = (word >> 24) & 255;
    const auto channel = [&](int c) { return (grey * alpha >> 8) + (c * (256 - alpha) >> 8); };
    return qRgb(channel(entry[2]), channel(entry[1]), channel(entry[0]));
}

// The zoomed redraw as defined, column by column: every word must index the
// palette.
inline QImage plain_redraw(const std::vector<int>& words, int imageWidth, int imageHeight,
                           const view& v, int mode, const std::vector<unsigned char>& palette,
                           QRgb background)
{
    QImage out(v.width, v.height, QImage::Format_RGB32);
    for (int i = 0; i < v.width; ++i)
        for (int j = 0; j < v.height; ++j) {
            const int x = i / v.zoom + v.left;
            const int y = v.top + j / v.zoom;
            out.setPixel(
                i, j,
                x < imageWidth && y < imageHeight
                    ? word_colour(static_cast<uint32_t>(words[y * imageWidth + x]), mode, palette)
                    : background);
        }
    return out;
}

inline QRgb background_of(const qimage_frame& frame)
{
    return 0xFF000000u | static_cast<QRgb>(frame.BackgroungColor());
}

inline void mouse(QWidget& widget, QEvent::Type type, QPoint point, Qt::MouseButton button,
                  Qt::MouseButtons held, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, QPointF(point), QPointF(widget.mapToGlobal(point)), button, held,
                      modifiers);
    QApplication::sendEvent(&widget, &event);
}

inline void press(QWidget& widget, QPoint point, Qt::MouseButton button,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    mouse(widget, QEvent::MouseButtonPress, point, button, button, modifiers);
}

inline void move(QWidget& widget, QPoint point, Qt::MouseButtons held)
{
    mouse(widget, QEvent::MouseMove, point, Qt::NoButton, held);
}

inline void wheel(QWidget& widget, QPoint point, int turn, Qt::KeyboardModifiers modifiers,
                  Qt::MouseButtons held = Qt::NoButton)
{
    QWheelEvent event(QPointF(point), QPointF(widget.mapToGlobal(point)), QPoint(), QPoint(0, turn),
                      held, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &event);
}

}  // namespace frame_test
