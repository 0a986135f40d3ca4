#pragma once

// "Scale Image": the factor of a scaleImage step, a decimal number from 0 to
// 1000000 with up to 5 decimals in the C locale.

#include <QString>

#include "automation/preprocessing/scale_image_step.h"
#include "gui/foundation/preprocessing/vx_preprocess_dialog.h"

class QLineEdit;

class VxRescaleDialog : public VxPreprocessDialog {
    Q_OBJECT
public:
    explicit VxRescaleDialog(QWidget* parent = nullptr);

public slots:
    void setScaling(const QString& qstScaling);
    // scaleImage::init(scaling), then DoIt; nothing while the text is no
    // acceptable number or the factor is not above 0 ("", "0").
    void Transform() override;

private:
    scaleImage step;
    double scaling = 0.5;
    QLineEdit* scalingEdit = nullptr;
};
