#pragma once

// "Extract Rectangular Region": the box of an ExtractRR step. Width and
// Height are handed on as the step reads them, as the right and the bottom
// bound (the first column and row after the box); their tool tips say so.
// No field is validated: text that is no base-10 integer gives 0.

#include <QString>

#include "automation/preprocessing/extract_rr.h"
#include "gui/foundation/preprocessing/vx_preprocess_dialog.h"

class VxExtractRRDialog : public VxPreprocessDialog {
    Q_OBJECT
public:
    explicit VxExtractRRDialog(QWidget* parent = nullptr);

public slots:
    void setTop(const QString& text);
    void setLeft(const QString& text);
    void setWidth(const QString& text);
    void setHeight(const QString& text);
    // ExtractRR::init(top, left, width, height, 0), then DoIt.
    void Transform() override;

private:
    ExtractRR step;
    int top = 0;
    int left = 0;
    int width = 0;
    int height = 0;
};
