#include "gui/foundation/vx_edit_dialog.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/foundation/text_files.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/window_flags.h"
#include "imagecore/report.h"

namespace {

QPushButton* fixed_button(const char* text, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return button;
}

}  // namespace

VxEditDialog::VxEditDialog(VxBasePaths* paths, const QString& file, QWidget* parent,
                           const char* name, int flags)
    : QWidget(parent, vx_qt_window_flags(flags)), paths(paths)
{
    vx_apply_close_flag(this, flags);
    setObjectName(QString::fromLatin1(name));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    QPushButton* load = fixed_button("Load", "VxEditdialog Load", this);
    QPushButton* save = fixed_button("Save", "VxEditdialog Save", this);
    QPushButton* saveAs = fixed_button("Save As", "VxEditdialog Save As", this);
    buttons->addWidget(load);
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(saveAs);
    layout->addLayout(buttons);
    connect(load, &QPushButton::clicked, this, &VxEditDialog::loadFileDialog);
    connect(save, &QPushButton::clicked, this, &VxEditDialog::saveFile);
    connect(saveAs, &QPushButton::clicked, this, &VxEditDialog::saveFileDialog);

    fileNameEdit = new QLineEdit(this);
    fileNameEdit->setObjectName(QStringLiteral("VxEditdialog Filename Editor"));
    layout->addWidget(fileNameEdit);
    connect(fileNameEdit, &QLineEdit::returnPressed, this, &VxEditDialog::loadFile);

    editor = new QPlainTextEdit(this);
    editor->setObjectName(QStringLiteral("VxEditdialog Texteditor"));
    layout->addWidget(editor);

    setCurrentFile(file);
    loadFile();
}

void VxEditDialog::loadFileDialog()
{
    QString chosen =
        paths->getOpenFileNameRulesDir("(*." + format + ")", file, "Load " + format + " file");
    if (!chosen.isEmpty())
        readText(chosen);
}

void VxEditDialog::loadFile()
{
    QString name = fileNameEdit->text();
    if (!readText(name))
        fileNameEdit->setText(file);
}

void VxEditDialog::saveFileDialog()
{
    QString chosen =
        paths->getSaveFileNameRulesDir("(*." + format + ")", file, "Save " + format + " file");
    if (!chosen.isEmpty() && saveText(chosen)) {
        setCurrentFile(chosen);
        remember();
        emit changedFile(chosen);
    }
}

void VxEditDialog::saveFile()
{
    saveCurrent();
}

QString VxEditDialog::text() const
{
    return vx_editor_text(*editor);
}

bool VxEditDialog::saveChanges()
{
    return (fileHoldsText && text() == fileText) || saveCurrent();
}

bool VxEditDialog::saveCurrent()
{
    const bool saved = saveText(file);
    vx_report("Saving %s\n", QFile::encodeName(file).constData());
    return saved;
}

bool VxEditDialog::readText(QString& name)
{
    QString text;
    if (!vx_read_text_file(name, &text))
        return false;
    editor->setPlainText(text);
    setCurrentFile(name);
    remember();
    emit changedFile(name);
    return true;
}

bool VxEditDialog::saveText(QString& name)
{
    const bool saved = vx_save_text_file(name, text());
    if (saved && name == file)
        remember();
    return saved;
}

void VxEditDialog::remember()
{
    fileText = text();
    fileHoldsText = true;
}

void VxEditDialog::setCurrentFile(const QString& name)
{
    file = name;
    format = VxBasePaths::FormatPart(name);
    fileNameEdit->setText(name);
}
