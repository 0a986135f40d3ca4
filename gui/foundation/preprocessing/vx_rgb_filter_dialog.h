#pragma once

// "RGB Filter": the channel factors of an RGBFilter step. No field is
// validated: text that is no decimal number gives 0.

#include <QString>

#include "automation/preprocessing/rgb_filter.h"
#include "gui/foundation/preprocessing/vx_preprocess_dialog.h"

class VxRGBFilterDialog : public VxPreprocessDialog {
    Q_OBJECT
public:
    explicit VxRGBFilterDialog(QWidget* parent = nullptr);

public slots:
    void setRed(const QString& text);
    void setGreen(const QString& text);
    void setBlue(const QString& text);
    // RGBFilter::init(red, green, blue), then DoIt.
    void Transform() override;

private:
    RGBFilter step;
    double red = 1.0;
    double green = 1.0;
    double blue = 1.0;
};
