#include "gui/foundation/preprocessing/vx_rescale_dialog.h"

#include <QLineEdit>

VxRescaleDialog::VxRescaleDialog(QWidget* parent)
    : VxPreprocessDialog(QStringLiteral("Scale Image"), parent)
{
    scalingEdit =
        addEditRow(QStringLiteral("Scaling"), QStringLiteral("Scaling"), QStringLiteral("0.5"));
    acceptDecimals(scalingEdit, 0.0);
    addComputeButton();
    connect(scalingEdit, &QLineEdit::textChanged, this, &VxRescaleDialog::setScaling);
}

void VxRescaleDialog::setScaling(const QString& qstScaling)
{
    scaling = qstScaling.toDouble();
}

void VxRescaleDialog::Transform()
{
    if (!scalingEdit->hasAcceptableInput() || scaling <= 0.0)
        return;
    step.init(scaling);
    emit DoIt(step);
}
