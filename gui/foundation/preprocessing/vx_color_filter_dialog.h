#pragma once

// "Color Filter": the polygon of an IntensityTransform step, as the text of
// blank-separated "x,y" pairs that IntensityTransform::init reads.

#include <QString>

#include "automation/preprocessing/intensity_transform.h"
#include "gui/foundation/preprocessing/vx_preprocess_dialog.h"

class VxColorFilterDialog : public VxPreprocessDialog {
    Q_OBJECT
public:
    explicit VxColorFilterDialog(QWidget* parent = nullptr);

public slots:
    // Stores the text as it is.
    void setIntensityMax(const QString& text);
    // IntensityTransform::init(curve text), then DoIt.
    void Transform() override;

private:
    IntensityTransform step;
    QString curve = QStringLiteral("0.0,1.0 0.5,0.0 1.0,1.0");
};
