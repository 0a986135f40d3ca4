#include "gui/foundation/vx_edit_dialog.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QTextDocument>
#include <QVBoxLayout>

#include "gui/foundation/dialog_service.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/vx_message_popup.h"
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
        emit changedFile(chosen);
    }
}

void VxEditDialog::saveFile()
{
    saveText(file);
    vx_report("Saving %s\n", QFile::encodeName(file).constData());
}

bool VxEditDialog::readText(QString& name)
{
    QFile in(name);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    editor->setPlainText(QString::fromLatin1(in.readAll()));
    in.close();
    setCurrentFile(name);
    emit changedFile(name);
    return true;
}

bool VxEditDialog::saveText(QString& name)
{
    QSaveFile out(name);
    const QByteArray bytes = text().toLatin1();
    if (out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit())
        return true;
    VxMessagePopUp popUp(4, QStringLiteral("!!File Save Error!!"),
                         "Unable to open file for write\n" + name);
    vx_dialogs().exec(popUp);
    return false;
}

void VxEditDialog::setCurrentFile(const QString& name)
{
    file = name;
    format = VxBasePaths::FormatPart(name);
    fileNameEdit->setText(name);
}

QString VxEditDialog::text() const
{
    // The raw text keeps what plain text would change (a no-break space
    // becomes a blank there); only the block separators become newlines.
    QString raw = editor->document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return raw;
}
