#pragma once

// Controls shared by the analysis windows and the repository dialogs: fixed
// buttons, fields that read numbers in the C locale, menu entries, the
// display frame's column and read-only text views. Internal to vxgui.

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QObject>
#include <QString>

class QBoxLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;
class qimage_frame;

namespace vx_form {

// A push button of fixed size, with this object name when one is given.
QPushButton* fixedButton(const char* text, QWidget* parent, const char* objectName = nullptr);

// The edit takes only whole numbers in low .. high, or decimal numbers in
// low .. high with up to `decimals` places, written in the C locale
// whatever the environment's locale ("1,000" and "0,5" are no numbers).
void acceptIntegers(QLineEdit* edit, int low, int high);
void acceptDecimals(QLineEdit* edit, double low, double high, int decimals);

// A line edit holding `text` that takes only whole numbers in low .. high
// (acceptIntegers). Texts on the way there ("", a first digit) still reach
// its textChanged receivers, which numberInRange sorts out.
QLineEdit* numberField(const QString& text, int low, int high, QWidget* parent);

// The text's whole number when it lies in low .. high; otherwise `none`.
int numberInRange(const QString& text, int low, int high, int none);

// An entry `text` (Latin-1) of the menu, with this shortcut (none when
// empty), that calls the receiver's slot.
template <class Receiver>
QAction* addMenuEntry(QMenu* menu, const char* text, const QKeySequence& shortcut,
                      Receiver* receiver, void (Receiver::*slot)())
{
    QAction* action = menu->addAction(QString::fromLatin1(text));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    QObject::connect(action, &QAction::triggered, receiver, slot);
    return action;
}

// Adds to `row` the frame's zoom buttons and a column of the frame, its
// coordinate readout, a line saying `hint` (a label "Frame Hint"; none for
// an empty hint) and a stretch.
void addFrameColumn(QBoxLayout* row, qimage_frame* frame, QWidget* parent,
                    const QString& hint = QString());

// A read-only text view with this object name.
QPlainTextEdit* textView(const char* name, QWidget* parent);

}  // namespace vx_form
