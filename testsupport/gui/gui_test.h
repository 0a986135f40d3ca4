#pragma once

// Helpers of the GUI test suites (built with vx_add_gui_test_suite, whose
// main builds the QApplication and installs VxScriptedDialogs).
//
// Each test starts with an empty script. Queue the answers of the dialogs a
// test will meet before the action that asks:
//     vx_gui_test::dialogs().answer("/tmp/x.rule");   // a chosen file
//     vx_gui_test::dialogs().answer(QString());        // Cancel
//     vx_gui_test::dialogs().press("Acknowlege");      // a pop-up's button
// and read dialogs().requests() afterwards. A request without an answer, an
// answer left unused, and any Qt warning fail the test.

#include <QImage>
#include <QRect>
#include <QString>
#include <ostream>
#include <string>

#include "gui/foundation/scripted_dialogs.h"

class QWidget;

// Failure messages show texts as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace vx_gui_test {

inline QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

// The dialog service the suite runs with.
VxScriptedDialogs& dialogs();

// Deletes now what deleteLater() has queued (a closed window with the
// delete-on-close flag, a destroyed dialog).
void flush_deferred_deletes();

// The top-level widget with this object name, null when there is none.
QWidget* top_level_widget(const QString& objectName);

// Shows the widget, lets it lay itself out, grabs it into
// screenshots/<name>.png in the build tree and returns the picture read back
// from that file.
QImage save_screenshot(QWidget& widget, const QString& name);

// The pixels of the area (clipped to the picture) darker than 96 of 255:
// text and frames drawn on the light widget background.
int dark_pixels(const QImage& picture, const QRect& area);

}  // namespace vx_gui_test
