#include "gui/foundation/forms/form_parts.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "gui/foundation/dialog_service.h"
#include "gui/foundation/window_flags.h"

namespace vx_form {

void setUpDialog(QDialog* dialog, const char* name, int flags)
{
    vx_apply_close_flag(dialog, flags);
    dialog->setModal(flags != 0);
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setWindowTitle(QString::fromLatin1(name));
}

FileRow addFileRow(QWidget* form, QBoxLayout* layout, const QString& caption,
                   const QString& buttonName, const QString& editName, const QString& text,
                   ButtonSide side)
{
    // Made in the order they show, which is the order Tab visits them.
    auto* row = new QHBoxLayout;
    QLineEdit* edit = nullptr;
    if (side == ButtonSide::right) {
        edit = new QLineEdit(text, form);
        row->addWidget(edit);
    }
    auto* button = new QPushButton(caption, form);
    button->setObjectName(buttonName);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    row->addWidget(button);
    if (side == ButtonSide::left) {
        edit = new QLineEdit(text, form);
        row->addWidget(edit);
    }
    edit->setObjectName(editName);
    layout->addLayout(row);
    return {button, edit};
}

QPushButton* addButton(QWidget* form, QBoxLayout* row, const QString& text, const QString& name)
{
    auto* button = new QPushButton(text, form);
    button->setObjectName(name);
    row->addWidget(button);
    return button;
}

QButtonGroup* addRadioGroup(QWidget* form, QBoxLayout* layout, const QString& name,
                            const QStringList& labels, int firstId, int checkedId)
{
    auto* box = new QGroupBox(form);
    box->setObjectName(name);
    auto* column = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    group->setObjectName(name);
    int id = firstId;
    for (const QString& label : labels) {
        auto* radio = new QRadioButton(label, box);
        radio->setChecked(id == checkedId);
        column->addWidget(radio);
        group->addButton(radio, id++);
    }
    layout->addWidget(box);
    return group;
}

QString className(int count, const char* const* names, int cls)
{
    if (names == nullptr || cls < 1 || cls >= count || names[cls] == nullptr)
        return QString();
    return QString::fromLatin1(names[cls]);
}

QButtonGroup* addClassChoice(QWidget* form, QBoxLayout* layout, int count, const char* const* names,
                             const QString& groupName, QLabel** classLabel)
{
    layout->addWidget(new QLabel(QStringLiteral("\nActive Class:"), form));
    *classLabel = new QLabel(className(count, names, 1), form);
    layout->addWidget(*classLabel);
    QStringList labels;
    for (int cls = 1; cls < count; ++cls)
        labels << className(count, names, cls);
    return addRadioGroup(form, layout, groupName, labels, 0, 0);
}

void chooseClass(int id, int count, const char* const* names, QLabel* label, int& cls)
{
    if (id < 0 || id + 1 >= count)
        return;
    cls = id + 1;
    label->setText(className(count, names, cls));
}

bool chooseSaveName(QWidget* form, QLineEdit* edit, const QString& objectName,
                    const QString& caption, const QString& current, const QString& filter,
                    const QString& ending)
{
    const QString chosen =
        vx_dialogs().saveFileName(form, objectName, caption, current, filter, false);
    if (chosen.isEmpty())
        return false;
    edit->setText(withEnding(chosen, ending));
    return true;
}

bool chooseDirectory(QWidget* form, QLineEdit* edit, const QString& objectName,
                     const QString& caption, const QString& current)
{
    const QString chosen = vx_dialogs().existingDirectory(form, objectName, caption, current);
    if (chosen.isEmpty())
        return false;
    edit->setText(chosen);
    return true;
}

QString withEnding(const QString& name, const QString& ending)
{
    if (name.isEmpty() || name.endsWith(ending))
        return name;
    return name + ending;
}

}  // namespace vx_form
