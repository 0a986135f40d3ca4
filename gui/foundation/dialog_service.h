#pragma once

// Every file dialog, directory chooser, format chooser and modal pop-up of
// the GUI goes through one replaceable service, so that a test can answer
// them from a script instead of a user (VxScriptedDialogs) and no test ever
// waits for a click.

#include <QString>
#include <QStringList>
#include <memory>

class QDialog;
class QWidget;

class VxDialogService {
public:
    virtual ~VxDialogService();

    // Modal file dialogs. The object name and caption are the dialog's; the
    // start path names the directory and the file to select (a file part
    // with wildcards, "./*.vxr", is a name filter instead); the filter is a
    // Qt name filter such as "Rule Files (*.rule)"; imagePreview asks for a
    // preview of image files (a VxImagePreview of the current file). Return
    // the chosen name, empty on Cancel. The save dialog asks before an
    // existing file is chosen, unless `confirmReplace` is false: for a name
    // whose file is used as it is when there is one.
    virtual QString openFileName(QWidget* parent, const QString& objectName, const QString& caption,
                                 const QString& startPath, const QString& filter,
                                 bool imagePreview) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& objectName, const QString& caption,
                                 const QString& startPath, const QString& filter, bool imagePreview,
                                 bool confirmReplace = true) = 0;
    // The same for several existing files at once: the chosen names in the
    // order given, none on Cancel.
    virtual QStringList openFileNames(QWidget* parent, const QString& objectName,
                                      const QString& caption, const QString& startPath,
                                      const QString& filter, bool imagePreview) = 0;
    // Modal chooser of an existing directory; empty on Cancel.
    virtual QString existingDirectory(QWidget* parent, const QString& objectName,
                                      const QString& caption, const QString& startPath) = 0;
    // Runs the dialog modally and returns its result code.
    virtual int exec(QDialog& dialog) = 0;
    // Shows the dialog without waiting for it.
    virtual void show(QDialog& dialog) = 0;

    // Replaces the service in use and returns the one it replaces (null
    // while the default service was in use). A null service restores the
    // default.
    static std::unique_ptr<VxDialogService> install(std::unique_ptr<VxDialogService> service);
};

// The service in use: the one installed last, else Qt's own non-native
// dialogs.
VxDialogService& vx_dialogs();
