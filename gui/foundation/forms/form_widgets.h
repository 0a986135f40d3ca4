#pragma once

// Controls shared by the analysis windows and some repository dialogs.
// Internal to vxgui.

class QBoxLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QString;
class QWidget;
class qimage_frame;

// A push button of fixed size, with this object name when one is given.
QPushButton* vx_fixed_button(const char* text, QWidget* parent, const char* objectName = nullptr);

// A line edit holding `text` that takes only whole numbers in low .. high
// (C locale). Texts on the way there ("", a first digit) still reach its
// textChanged receivers, which vx_number_in_range sorts out.
QLineEdit* vx_number_field(const QString& text, int low, int high, QWidget* parent);

// The text's whole number when it lies in low .. high; otherwise `none`.
int vx_number_in_range(const QString& text, int low, int high, int none);

// Adds to `row` the frame's zoom buttons and a column of the frame, its
// coordinate readout and a stretch.
void vx_add_frame_column(QBoxLayout* row, qimage_frame* frame, QWidget* parent);

// A read-only text view with this object name.
QPlainTextEdit* vx_text_view(const char* name, QWidget* parent);
