#include "gui/foundation/preprocessing/vx_extract_rr_dialog.h"

#include <QLineEdit>

VxExtractRRDialog::VxExtractRRDialog(QWidget* parent)
    : VxPreprocessDialog(QStringLiteral("Extract Rectangular Region"), parent)
{
    const QString zero = QStringLiteral("0");
    QLineEdit* topEdit = addEditRow(QStringLiteral("Top"), QStringLiteral("Top"), zero);
    QLineEdit* leftEdit = addEditRow(QStringLiteral("Left"), QStringLiteral("Left"), zero);
    QLineEdit* widthEdit = addEditRow(QStringLiteral("Width"), QStringLiteral("Width"), zero);
    QLineEdit* heightEdit = addEditRow(QStringLiteral("Height"), QStringLiteral("Height"), zero);
    widthEdit->setToolTip(QStringLiteral("Right bound: the first column after the region"));
    heightEdit->setToolTip(QStringLiteral("Bottom bound: the first row after the region"));
    addComputeButton();
    connect(topEdit, &QLineEdit::textChanged, this, &VxExtractRRDialog::setTop);
    connect(leftEdit, &QLineEdit::textChanged, this, &VxExtractRRDialog::setLeft);
    connect(widthEdit, &QLineEdit::textChanged, this, &VxExtractRRDialog::setWidth);
    connect(heightEdit, &QLineEdit::textChanged, this, &VxExtractRRDialog::setHeight);
}

void VxExtractRRDialog::setTop(const QString& text)
{
    top = text.toInt(nullptr, 10);
}

void VxExtractRRDialog::setLeft(const QString& text)
{
    left = text.toInt(nullptr, 10);
}

void VxExtractRRDialog::setWidth(const QString& text)
{
    width = text.toInt(nullptr, 10);
}

void VxExtractRRDialog::setHeight(const QString& text)
{
    height = text.toInt(nullptr, 10);
}

void VxExtractRRDialog::Transform()
{
    step.init(top, left, width, height, 0);
    emit DoIt(step);
}
