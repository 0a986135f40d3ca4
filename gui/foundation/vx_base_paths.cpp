#include "gui/foundation/vx_base_paths.h"

#include <algorithm>

#include "gui/foundation/dialog_service.h"
#include "gui/foundation/window_flags.h"

namespace {

const QString update_rule_filter = QStringLiteral("Rule Files (*.rule)");
const QString update_rule_dialog = QStringLiteral("Save Update Rule");

int separator_index(const QString& path)
{
    return std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
}

}  // namespace

VxBasePaths::VxBasePaths(const QString& mainApplicationPath, const QString& updateRule,
                         const QString& tmpDir, const QString& rulesDir, const QString& workingDir,
                         QWidget* parent, const char* name, int flags)
    : QWidget(parent, vx_qt_window_flags(flags)),
      updateRuleDirectory(updateRule.left(std::max(separator_index(updateRule), 0))),
      mainApplicationPath(mainApplicationPath),
      tmpDir(tmpDir),
      rulesDir(rulesDir),
      workingDir(workingDir),
      updateRule(updateRule)
{
    vx_apply_close_flag(this, flags);
    setObjectName(QString::fromLatin1(name));
    hide();
}

VxBasePaths::VxBasePaths(const VxBasePaths& other, QWidget* parent, const char* name, int flags)
    : QWidget(parent, vx_qt_window_flags(flags)),
      updateRuleDirectory(other.updateRuleDirectory),
      mainApplicationPath(other.mainApplicationPath),
      tmpDir(other.tmpDir),
      rulesDir(other.rulesDir),
      workingDir(other.workingDir),
      updateRule(other.updateRule)
{
    vx_apply_close_flag(this, flags);
    setObjectName(QString::fromLatin1(name));
    hide();
}

void VxBasePaths::UpdateRule(const QString& qstUpdateRule)
{
    updateRule = qstUpdateRule;
    emit changedUpdateRule(updateRule);
}

void VxBasePaths::TmpDir(const QString& qstTmpFilesDirectory)
{
    tmpDir = qstTmpFilesDirectory;
    emit changedTmpDir(tmpDir);
}

void VxBasePaths::RulesDir(const QString& qstCurrentRulesDirectory)
{
    rulesDir = qstCurrentRulesDirectory;
    emit changedRulesDir(rulesDir);
}

void VxBasePaths::WorkingDir(const QString& qstCurrentWorkingDirectory)
{
    workingDir = qstCurrentWorkingDirectory;
    emit changedWorkingDir(workingDir);
}

QString VxBasePaths::getOpenFileNameRulesDir(const QString& filter, const QString& startName,
                                             const QString& caption)
{
    return rememberingDialog(false, &VxBasePaths::rulesDir, &VxBasePaths::RulesDir,
                             QStringLiteral("Open Rule Dir Dialog"), filter, startName, caption);
}

QString VxBasePaths::getSaveFileNameRulesDir(const QString& filter, const QString& startName,
                                             const QString& caption)
{
    return rememberingDialog(true, &VxBasePaths::rulesDir, &VxBasePaths::RulesDir,
                             QStringLiteral("Save Rules Dir Dialog"), filter, startName, caption);
}

QString VxBasePaths::getOpenFileNameWorkDir(const QString& filter, const QString& startName,
                                            const QString& caption)
{
    return rememberingDialog(false, &VxBasePaths::workingDir, &VxBasePaths::WorkingDir,
                             QStringLiteral("Open Work Dir Dialog"), filter, startName, caption);
}

QString VxBasePaths::getSaveFileNameWorkDir(const QString& filter, const QString& startName,
                                            const QString& caption)
{
    return rememberingDialog(true, &VxBasePaths::workingDir, &VxBasePaths::WorkingDir,
                             QStringLiteral("Save Work Dir Dialog"), filter, startName, caption);
}

QString VxBasePaths::rememberingDialog(bool save, QString VxBasePaths::*remembered, Setter setter,
                                       const QString& objectName, const QString& filter,
                                       const QString& startName, const QString& caption)
{
    const QString startDirectory = PathNamePart(startName);
    if (!startDirectory.isEmpty())
        this->*remembered = startDirectory;
    const QString startPath = this->*remembered + "/" + FileNamePart(startName);
    VxDialogService& dialogs = vx_dialogs();
    const QString chosen =
        save ? dialogs.saveFileName(nullptr, objectName, caption, startPath, filter, false)
             : dialogs.openFileName(nullptr, objectName, caption, startPath, filter, false);
    if (!chosen.isEmpty()) {
        const QString chosenDirectory = PathNamePart(chosen);
        if (chosenDirectory != this->*remembered)
            (this->*setter)(chosenDirectory);
    }
    return chosen;
}

QString VxBasePaths::getOpenFileNameUpdateRule()
{
    return updateRuleDialog(false);
}

QString VxBasePaths::getSaveFileNameUpdateRule()
{
    return updateRuleDialog(true);
}

QString VxBasePaths::updateRuleDialog(bool save)
{
    VxDialogService& dialogs = vx_dialogs();
    const QString chosen =
        save ? dialogs.saveFileName(nullptr, update_rule_dialog, update_rule_dialog, updateRule,
                                    update_rule_filter, false, false)
             : dialogs.openFileName(nullptr, update_rule_dialog, update_rule_dialog, updateRule,
                                    update_rule_filter, false);
    if (!chosen.isEmpty() && chosen != updateRule)
        UpdateRule(chosen);
    return chosen;
}

QString VxBasePaths::setPathNameTmpDir()
{
    const QString chosen =
        vx_dialogs().existingDirectory(this, QStringLiteral("Set Temp Dir Path"),
                                       QStringLiteral("Path for Temporary Files"), tmpDir);
    if (!chosen.isEmpty() && chosen != tmpDir)
        TmpDir(chosen);
    return chosen;
}

QString VxBasePaths::PathNamePart(const QString& path)
{
    const int separator = separator_index(path);
    return separator > 0 ? path.left(separator + 1) : QString();
}

QString VxBasePaths::FileNamePart(const QString& path)
{
    const int separator = separator_index(path);
    return separator > 0 ? path.mid(separator + 1) : path;
}

QString VxBasePaths::FormatPart(const QString& path)
{
    const int dot = path.lastIndexOf('.');
    return dot > 0 ? path.mid(dot + 1) : QString();
}

QString VxBasePaths::truncateFormatPart(const QString& path)
{
    const int dot = path.lastIndexOf('.');
    return dot > 0 ? path.left(dot) : path;
}
