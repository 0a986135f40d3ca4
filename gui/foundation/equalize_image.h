#pragma once

// A viewer for double-valued images: the values mapped onto 0..255 by the
// image core's logarithmic mapping (equalize_double_array_256, type 2) in a
// qimage_frame, its coordinate readout, and a slider 0..250 that sets the
// mapping's weight to value / 255.

#include <QWidget>
#include <vector>

#include "imagecore/image.h"

class qimage_frame;

class EqualizeImage : public QWidget {
    Q_OBJECT
public:
    // Copies the record's double pixels, or its int pixels when it has none;
    // shows them with weight 1. The record is not changed.
    EqualizeImage(const image* img, QWidget* parent);
    ~EqualizeImage() override;

public slots:
    // Maps the values again with weight iValue / 255 and redraws.
    void updateEqualize(int iValue);

private:
    qimage_frame* frame = nullptr;
    std::vector<double> values;
};
