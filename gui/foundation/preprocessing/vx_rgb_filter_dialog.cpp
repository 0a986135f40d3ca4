#include "gui/foundation/preprocessing/vx_rgb_filter_dialog.h"

#include <QLineEdit>

VxRGBFilterDialog::VxRGBFilterDialog(QWidget* parent)
    : VxPreprocessDialog(QStringLiteral("RGB Filter"), parent)
{
    const QString one = QStringLiteral("1");
    QLineEdit* redEdit = addEditRow(QStringLiteral("Red Fraction"), QStringLiteral("Red"), one);
    QLineEdit* greenEdit =
        addEditRow(QStringLiteral("Green Fraction"), QStringLiteral("Green"), one);
    QLineEdit* blueEdit = addEditRow(QStringLiteral("Blue Fraction"), QStringLiteral("Blue"), one);
    addComputeButton();
    connect(redEdit, &QLineEdit::textChanged, this, &VxRGBFilterDialog::setRed);
    connect(greenEdit, &QLineEdit::textChanged, this, &VxRGBFilterDialog::setGreen);
    connect(blueEdit, &QLineEdit::textChanged, this, &VxRGBFilterDialog::setBlue);
}

void VxRGBFilterDialog::setRed(const QString& text)
{
    red = text.toDouble();
}

void VxRGBFilterDialog::setGreen(const QString& text)
{
    green = text.toDouble();
}

void VxRGBFilterDialog::setBlue(const QString& text)
{
    blue = text.toDouble();
}

void VxRGBFilterDialog::Transform()
{
    step.init(red, green, blue);
    emit DoIt(step);
}
