#include "gui/foundation/preprocessing/vx_preprocess_dialog.h"

#include <QDoubleValidator>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int largest_number = 1000000;
constexpr int decimals = 5;

// The C locale, and "1,000" is no number in it.
QLocale c_numbers()
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return c;
}

}  // namespace

VxPreprocessDialog::VxPreprocessDialog(const QString& title, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(title);
    rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
}

QBoxLayout* VxPreprocessDialog::addRow()
{
    auto* row = new QHBoxLayout;
    rows->addLayout(row);
    return row;
}

QLineEdit* VxPreprocessDialog::addEditRow(const QString& label, const QString& objectName,
                                          const QString& text)
{
    QBoxLayout* row = addRow();
    row->addWidget(new QLabel(label, this));
    auto* edit = new QLineEdit(text, this);
    edit->setObjectName(objectName);
    row->addWidget(edit);
    return edit;
}

void VxPreprocessDialog::addComputeButton()
{
    auto* compute = new QPushButton(QStringLiteral("Compute"), this);
    compute->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    rows->addWidget(compute);
    connect(compute, &QPushButton::clicked, this, &VxPreprocessDialog::Transform);
}

void VxPreprocessDialog::acceptDecimals(QLineEdit* edit, double bottom)
{
    auto* validator = new QDoubleValidator(bottom, largest_number, decimals, edit);
    validator->setNotation(QDoubleValidator::StandardNotation);
    validator->setLocale(c_numbers());
    edit->setValidator(validator);
}

void VxPreprocessDialog::acceptIntegers(QLineEdit* edit, int bottom)
{
    auto* validator = new QIntValidator(bottom, largest_number, edit);
    validator->setLocale(c_numbers());
    edit->setValidator(validator);
}
