#include "gui/foundation/preprocessing/vx_color_filter_dialog.h"

#include <QLineEdit>

VxColorFilterDialog::VxColorFilterDialog(QWidget* parent)
    : VxPreprocessDialog(QStringLiteral("Color Filter"), parent)
{
    QLineEdit* edit =
        addEditRow(QStringLiteral("IntensityMax"), QStringLiteral("IntensityMax"), curve);
    addComputeButton();
    connect(edit, &QLineEdit::textChanged, this, &VxColorFilterDialog::setIntensityMax);
}

void VxColorFilterDialog::setIntensityMax(const QString& text)
{
    curve = text;
}

void VxColorFilterDialog::Transform()
{
    step.init(curve.toLatin1().constData());
    emit DoIt(step);
}
