// vx_analyse_main_dialog: the object rules, their editors and the queries.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "gui/analysis/vx_analyse_control.h"
#include "gui/analysis/vx_analyse_main_dialog.h"
#include "gui/foundation/dialog_service.h"
#include "gui/foundation/forms/form_parts.h"
#include "gui/foundation/rule_check.h"
#include "gui/foundation/vx_edit_dialog.h"
#include "gui/foundation/vx_message_popup.h"

namespace {

const QString rule_ending = QStringLiteral(".rule");

QByteArray file_bytes(const QString& name)
{
    return QFile::encodeName(name);
}

}  // namespace

// ---- queries ----

void vx_analyse_main_dialog::applyRule(bool bright)
{
    VxEditDialog* editor = bright ? brightRuleEditor : darkRuleEditor;
    const auto refuse = [&](const QString& why) {
        vx_message(QStringLiteral("!Warning!"),
                   QStringLiteral("\nApply %1 Objects Query\n\n%2\nThe selection stays as it was")
                       .arg(bright ? "Bright" : "Dark", why));
    };
    // The file keeps the last rule that ran: a text that does not parse
    // stays in the editor alone.
    const QString fault = vx_rule_text_fault(editor->text());
    if (!fault.isEmpty())
        return refuse("The rule in the editor\n" + fault + "\nIt is not saved:\n" + editor->File() +
                      "\nkeeps the rule it holds");
    // A text that could not be saved has had its pop-up, and the file on
    // the disk is not the rule the user sees: nothing runs.
    if (!editor->saveChanges())
        return;
    if (!(bright ? control->apply_open_rule() : control->apply_close_rule()))
        refuse(control->ruleFailure());
}

void vx_analyse_main_dialog::apply_bright_objects_rule()
{
    applyRule(true);
}

void vx_analyse_main_dialog::apply_dark_objects_rule()
{
    applyRule(false);
}

void vx_analyse_main_dialog::clear_bright_objects()
{
    control->clear_open_objects();
}

void vx_analyse_main_dialog::clear_dark_objects()
{
    control->clear_close_objects();
}

// ---- rule files ----

void vx_analyse_main_dialog::set_load_bright_object_rule(QString Input)
{
    control->brightrulesname(file_bytes(Input).constData());
}

void vx_analyse_main_dialog::set_load_dark_object_rule(QString Input)
{
    control->darkrulesname(file_bytes(Input).constData());
}

void vx_analyse_main_dialog::load_bright_object_rule()
{}

void vx_analyse_main_dialog::openRuleInto(VxEditDialog* editor, const char* caption)
{
    const QString title = QString::fromLatin1(caption);
    QString file = vx_dialogs().openFileName(this, title, title, editor->File(),
                                             QStringLiteral("*.rule"), false);
    // The editor announces its new file, which becomes the rule.
    if (!file.isEmpty())
        editor->readText(file);
}

void vx_analyse_main_dialog::load_bright_object_rule_dialog()
{
    openRuleInto(brightRuleEditor, "Load Bright Object Rule");
}

void vx_analyse_main_dialog::load_dark_object_rule()
{
    QString file = QFile::decodeName(control->darkrulesname());
    darkRuleEditor->readText(file);
}

void vx_analyse_main_dialog::load_dark_object_rule_dialog()
{
    openRuleInto(darkRuleEditor, "Load Dark Object Rule");
}

void vx_analyse_main_dialog::writeRule(VxEditDialog* editor, const char* name)
{
    QString file = QFile::decodeName(name);
    editor->saveText(file);
}

void vx_analyse_main_dialog::write_bright_object_rule()
{
    writeRule(brightRuleEditor, control->brightrulesname());
}

void vx_analyse_main_dialog::write_dark_object_rule()
{
    writeRule(darkRuleEditor, control->darkrulesname());
}

bool vx_analyse_main_dialog::keepRuleIn(VxEditDialog* editor, QString file)
{
    // Reading the written file back makes it the editor's and the rule.
    return editor->saveText(file) && editor->readText(file);
}

void vx_analyse_main_dialog::saveRuleAs(VxEditDialog* editor, const char* current,
                                        const char* caption)
{
    const QString title = QString::fromLatin1(caption);
    QString file = vx_form::withEnding(
        vx_dialogs().saveFileName(this, title, title, QFile::decodeName(current),
                                  QStringLiteral("(*.rule)"), false),
        rule_ending);
    if (file.isEmpty())
        return;
    if (file == QFile::decodeName(current))
        editor->saveText(file);
    else
        keepRuleIn(editor, file);
}

bool vx_analyse_main_dialog::ownRule(VxEditDialog* editor, const char* defaultName,
                                     const QString& file)
{
    const QString current = QDir::cleanPath(QFileInfo(editor->File()).absoluteFilePath());
    if (current !=
        QDir::cleanPath(QDir::current().absoluteFilePath(QString::fromLatin1(defaultName))))
        return true;
    return keepRuleIn(editor, file);
}

void vx_analyse_main_dialog::write_bright_object_rule_dialog()
{
    saveRuleAs(brightRuleEditor, control->brightrulesname(), "Write Bright Object Rule");
}

void vx_analyse_main_dialog::write_dark_object_rule_dialog()
{
    saveRuleAs(darkRuleEditor, control->darkrulesname(), "Write Dark Object Rule");
}
