#include "gui/foundation/forms/form_widgets.h"

#include <QBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>

#include "gui/foundation/qimage_frame.h"

QPushButton* vx_fixed_button(const char* text, QWidget* parent, const char* objectName)
{
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    if (objectName != nullptr)
        button->setObjectName(QString::fromLatin1(objectName));
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return button;
}

QLineEdit* vx_number_field(const QString& text, int low, int high, QWidget* parent)
{
    auto* field = new QLineEdit(text, parent);
    auto* validator = new QIntValidator(low, high, field);
    validator->setLocale(QLocale::c());
    field->setValidator(validator);
    return field;
}

int vx_number_in_range(const QString& text, int low, int high, int none)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= low && value <= high ? value : none;
}

void vx_add_frame_column(QBoxLayout* row, qimage_frame* frame, QWidget* parent)
{
    row->addWidget(frame->initResizeVButtons(parent));
    auto* column = new QVBoxLayout;
    row->addLayout(column);
    column->addWidget(frame);
    column->addWidget(frame->initCoordinateLabel(parent));
    column->addStretch();
}

QPlainTextEdit* vx_text_view(const char* name, QWidget* parent)
{
    auto* view = new QPlainTextEdit(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setReadOnly(true);
    return view;
}
