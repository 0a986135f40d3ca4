#include "gui/foundation/preprocessing/vx_preprocess_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/foundation/forms/form_widgets.h"

namespace {

constexpr int largest_number = 1000000;
constexpr int decimals = 5;

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
    vx_form::acceptDecimals(edit, bottom, largest_number, decimals);
}

void VxPreprocessDialog::acceptIntegers(QLineEdit* edit, int bottom)
{
    vx_form::acceptIntegers(edit, bottom, largest_number);
}
