#pragma once

// The directories and the update rule that the user works with. The main
// window holds the one application-wide object ("Global Base Paths"), which
// carries the update rule and announces its changes; every dialog keeps a
// private copy, so that its file dialogs start where that dialog was last.
// Nothing of it is stored between runs.
//
// A QWidget only so that it can parent the directory chooser; it hides
// itself at construction and never shows inside its parent. GUI thread only.

#include <QString>
#include <QWidget>

#include "gui/vxgui_export.h"

class VXGUI_EXPORT VxBasePaths : public QWidget {
    Q_OBJECT
public:
    VxBasePaths(const QString& mainApplicationPath, const QString& updateRule,
                const QString& tmpDir, const QString& rulesDir, const QString& workingDir,
                QWidget* parent, const char* name, int flags);
    // A copy of all texts of `other`.
    VxBasePaths(const VxBasePaths& other, QWidget* parent, const char* name, int flags);

    QString UpdateRule() const { return updateRule; }
    QString TmpDir() const { return tmpDir; }
    QString RulesDir() const { return rulesDir; }
    QString WorkingDir() const { return workingDir; }
    QString MainApplicationPath() const { return mainApplicationPath; }

    // Modal file dialogs that start in the remembered rules or working
    // directory. A start name with a directory part makes that directory the
    // remembered one at once (silently); a chosen file whose directory part
    // differs from the remembered text becomes it through the setter slot,
    // which emits. Return the chosen name, empty on Cancel.
    QString getOpenFileNameRulesDir(const QString& filter, const QString& startName,
                                    const QString& caption);
    QString getSaveFileNameRulesDir(const QString& filter, const QString& startName,
                                    const QString& caption);
    QString getOpenFileNameWorkDir(const QString& filter, const QString& startName,
                                   const QString& caption);
    QString getSaveFileNameWorkDir(const QString& filter, const QString& startName,
                                   const QString& caption);
    // Open and save dialogs for the update rule, starting at the current
    // one; a different choice becomes the update rule (and is announced).
    // The save dialog does not ask before an existing file: the caller
    // decides whether to write it.
    QString getOpenFileNameUpdateRule();
    QString getSaveFileNameUpdateRule();
    // Directory chooser for the temporary-files directory; a different
    // choice becomes it.
    QString setPathNameTmpDir();

    // File-name splitting. The separator is the later of the last '/' and
    // the last '\'; a separator (or for the format parts a '.') at index 0
    // counts as none.
    // The directory part with its separator; empty without one.
    static QString PathNamePart(const QString& path);
    // The text after the separator; the whole text without one.
    static QString FileNamePart(const QString& path);
    // The text after the last '.' of the whole text (a dot in a directory
    // name counts when the file name has none); empty without one.
    static QString FormatPart(const QString& path);
    // The text before the last '.'; the whole text without one.
    static QString truncateFormatPart(const QString& path);

public slots:
    // Each sets its text and then always emits its change signal, also when
    // the value stays the same.
    void UpdateRule(const QString& qstUpdateRule);
    void TmpDir(const QString& qstTmpFilesDirectory);
    void RulesDir(const QString& qstCurrentRulesDirectory);
    void WorkingDir(const QString& qstCurrentWorkingDirectory);

signals:
    void changedUpdateRule(const QString&);
    void changedTmpDir(const QString&);
    void changedRulesDir(const QString&);
    void changedWorkingDir(const QString&);

private:
    using Setter = void (VxBasePaths::*)(const QString&);
    QString rememberingDialog(bool save, QString VxBasePaths::*remembered, Setter setter,
                              const QString& objectName, const QString& filter,
                              const QString& startName, const QString& caption);
    QString updateRuleDialog(bool save);

    // Where the update rule given at construction lay; kept by copies.
    QString updateRuleDirectory;
    QString mainApplicationPath;
    QString tmpDir;
    QString rulesDir;
    QString workingDir;
    QString updateRule;
};
