#pragma once

// A preprocessing chain whose pictures are read and written through the
// image display widget, so that Qt's formats and the 16-bit grey format
// "16BG" work. It displays nothing. GUI thread only.

#include "automation/preprocessing/vx_image_processing.h"

class qimage_frame;

class QTVxImageProcessing : public VxImageProcessing {
public:
    // An empty chain. The display widget is accepted for the callers that
    // have one; the chain never uses it.
    explicit QTVxImageProcessing(qimage_frame* frame);
    QTVxImageProcessing();

    // A new one-scale picture of the file as the display widget reads it
    // (a "16BG" file with its own values), owned by the caller; null when the
    // file cannot be read.
    vx_image* readImage(const char* file) override;
    // Writes the picture as PNG ("<name less extension>.png", as the display
    // widget exports). Grey pictures (values 0..255, or 16-bit grey mapped
    // onto them) are drawn through the widget's grey palette; any other
    // picture holds packed colours 0xRRGGBB and is written in colour. A write
    // that fails shows the widget's write error pop-up.
    void writeImage(const char* file, image* img) override;
    void display() override;
};
