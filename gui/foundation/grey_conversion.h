#pragma once

// The display widget's three ways of turning a colour into one grey value
// (0..255), on widget-free pictures so that other readers share them.

#include <QImage>

enum class VxGreyRule {
    // The largest channel.
    MaxNormalized,
    // The channels' mean, rounded: int((R + G + B) / 3 + 0.5).
    GreyNormalized,
    // R for equal channels, else the colour's length scaled so that white
    // is 256: int(sqrt(R*R + G*G + B*B) / (256 * sqrt(3)) * 256).
    GreyEuclidean,
};

int vx_grey_value(VxGreyRule rule, int red, int green, int blue);

// words[y * width + x] = the grey value of the picture's pixel (x, y).
void vx_grey_words(const QImage& picture, VxGreyRule rule, int* words);
