#include "gui/foundation/forms/form_widgets.h"

#include <QBoxLayout>
#include <QDoubleValidator>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>

#include "gui/foundation/qimage_frame.h"

namespace vx_form {

namespace {

// The C locale, in which "1,000" is no number either.
QLocale c_numbers()
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return c;
}

}  // namespace

QPushButton* fixedButton(const char* text, QWidget* parent, const char* objectName)
{
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    if (objectName != nullptr)
        button->setObjectName(QString::fromLatin1(objectName));
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return button;
}

void acceptIntegers(QLineEdit* edit, int low, int high)
{
    auto* validator = new QIntValidator(low, high, edit);
    validator->setLocale(c_numbers());
    edit->setValidator(validator);
}

void acceptDecimals(QLineEdit* edit, double low, double high, int decimals)
{
    auto* validator = new QDoubleValidator(low, high, decimals, edit);
    validator->setNotation(QDoubleValidator::StandardNotation);
    validator->setLocale(c_numbers());
    edit->setValidator(validator);
}

QLineEdit* numberField(const QString& text, int low, int high, QWidget* parent)
{
    auto* field = new QLineEdit(text, parent);
    acceptIntegers(field, low, high);
    return field;
}

int numberInRange(const QString& text, int low, int high, int none)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= low && value <= high ? value : none;
}

void addFrameColumn(QBoxLayout* row, qimage_frame* frame, QWidget* parent, const QString& hint)
{
    row->addWidget(frame->initResizeVButtons(parent));
    auto* column = new QVBoxLayout;
    row->addLayout(column);
    column->addWidget(frame);
    column->addWidget(frame->initCoordinateLabel(parent));
    if (!hint.isEmpty()) {
        auto* line = new QLabel(hint, parent);
        line->setObjectName(QStringLiteral("Frame Hint"));
        // Under a small picture it wraps rather than widen the window.
        line->setWordWrap(true);
        column->addWidget(line);
    }
    column->addStretch();
}

QPlainTextEdit* textView(const char* name, QWidget* parent)
{
    auto* view = new QPlainTextEdit(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setReadOnly(true);
    return view;
}

}  // namespace vx_form
