#pragma once

// Pieces of the two ground-truth comparison dialogs: their text rows and
// file choosers, the fields a comparison needs, the bar that counts the
// compared images and the texts handed to the comparison. Internal to
// vxgui; GUI thread only.

#include <QByteArray>
#include <QString>
#include <initializer_list>
#include <string>
#include <vector>

#include "automation/repository/write_failures.h"

class QBoxLayout;
class QLineEdit;
class QProgressBar;
class QWidget;
class VxBasePaths;

namespace vx_compare_form {

// A row added to `layout`: a label and a line edit (object name `editName`).
QLineEdit* addTextRow(QWidget* form, QBoxLayout* layout, const QString& label,
                      const QString& editName);

// The bar that counts the compared images (object name "Dark Progress Bar",
// total 1), then a stretch, added to `layout`.
QProgressBar* addProgressBar(QWidget* form, QBoxLayout* layout);

// The bar at `step` of `total` (step clamped to 0 .. total), repainted at
// once; then pending events are processed, so that a comparison running on
// the GUI thread in a busy dialog (busy_window.h) shows its progress.
void showProgress(QProgressBar* bar, int step, int total);

// A field of the form by the name the user sees and its text.
struct Field {
    const char* name;
    const QString& text;
};

// True when every field holds text; otherwise a pop-up names the first
// empty one.
bool fieldsGiven(std::initializer_list<Field> fields);

// The "!!Read Error!!" pop-up naming a file that could not be read.
void readError(const QString& file);

// After a comparison of `total` images: the "!!Write Error!!" pop-up when
// the table or a best-match image was not written; else the pop-up naming
// the images whose ground truth could not be read from `directory` (their
// rows hold zeros), past a dozen with the count of the others, which the
// comparison's output names. No pop-up when every file was written and every
// image had its ground truth.
void reportComparison(const WriteFailures& failed,
                      const std::vector<std::string>& withoutGroundTruth, int total,
                      const QString& directory);

// File choosers of the working directory of `paths`; a chosen name goes
// into `edit` (Cancel changes nothing).
void chooseOpenFile(VxBasePaths* paths, QLineEdit* edit, const QString& filter,
                    const QString& caption);
// The result table ("(Result Table) *.csv", "Comparison Result Filename").
void chooseResultTable(VxBasePaths* paths, QLineEdit* edit);

// Directory choosers starting at the working directory of `paths`. The
// ground-truth images' directory goes into `edit`; the result images'
// directory goes into `pathEdit` and then the result tag "cmpres" into
// `tagEdit`.
void chooseGroundTruthPath(QWidget* form, VxBasePaths* paths, QLineEdit* edit);
void chooseResultPath(QWidget* form, VxBasePaths* paths, QLineEdit* pathEdit, QLineEdit* tagEdit);

// A file name or tag as the comparison takes it: its bytes, or null for an
// empty text.
const char* textOrNull(const QByteArray& text);

}  // namespace vx_compare_form
