#pragma once

// Pieces shared by the export dialogs and the SOFM trainer: the row of a
// file button and its line edit, groups of radio buttons, the class choice
// ("Active Class:", the chosen class's name and one radio per class) and the
// file ending that a chosen name must carry. Internal to vxgui.

#include <QString>
#include <QStringList>

class QBoxLayout;
class QButtonGroup;
class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace vx_form {

// The common set-up of the export dialogs: `name` is the object name and
// the window title; non-zero flags make the dialog modal, and the
// delete-on-close flag deletes it when closed.
void setUpDialog(QDialog* dialog, const char* name, int flags);

// A row added to `layout`: a fixed-size push button (text `caption`, object
// name `buttonName`) and a line edit (object name `editName`) holding `text`,
// the button on the given side.
struct FileRow {
    QPushButton* button;
    QLineEdit* edit;
};
enum class ButtonSide { left, right };
FileRow addFileRow(QWidget* form, QBoxLayout* layout, const QString& caption,
                   const QString& buttonName, const QString& editName,
                   const QString& text = QString(), ButtonSide side = ButtonSide::left);

// A push button (text `text`, object name `name`) added to `row`.
QPushButton* addButton(QWidget* form, QBoxLayout* row, const QString& text,
                       const QString& name = QString());

// A vertical group (object name `name`) added to `layout` with one radio
// button per label, ids firstId, firstId + 1, ...; the button of id
// `checkedId` starts checked (none when no button has it).
QButtonGroup* addRadioGroup(QWidget* form, QBoxLayout* layout, const QString& name,
                            const QStringList& labels, int firstId, int checkedId);

// The name of class `cls` of the caller's `count` names; empty for a class
// outside 1..count-1 or a null name.
QString className(int count, const char* const* names, int cls);

// The class choice added to `layout`: a label "\nActive Class:", the label
// returned through `classLabel` naming class 1, and a radio group (object
// name `groupName`) with one button per class 1..count-1, the first
// checked; button id i stands for class i + 1.
QButtonGroup* addClassChoice(QWidget* form, QBoxLayout* layout, int count, const char* const* names,
                             const QString& groupName, QLabel** classLabel);

// Button id `id` chooses class id + 1: `cls` becomes it and the label shows
// its name. An id outside the classes 1..count-1 changes nothing.
void chooseClass(int id, int count, const char* const* names, QLabel* label, int& cls);

// A save dialog (object name `objectName`, caption `caption`) starting at
// `current` with `filter`. A chosen name gets `ending` once and goes into
// `edit`; returns whether a name was chosen (Cancel changes nothing).
bool chooseSaveName(QWidget* form, QLineEdit* edit, const QString& objectName,
                    const QString& caption, const QString& current, const QString& filter,
                    const QString& ending);

// A directory chooser (object name `objectName`, caption `caption`)
// starting at `current`; a chosen directory goes into `edit`. Returns
// whether one was chosen (Cancel changes nothing).
bool chooseDirectory(QWidget* form, QLineEdit* edit, const QString& objectName,
                     const QString& caption, const QString& current);

// `name` with `ending` appended, unless the name is empty or already ends in
// it (an empty ending appends nothing).
QString withEnding(const QString& name, const QString& ending);

}  // namespace vx_form
