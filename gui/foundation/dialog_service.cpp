#include "gui/foundation/dialog_service.h"

#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>

#include "gui/foundation/thumbnails/vx_image_preview.h"

namespace {

// Qt's file dialogs, always the non-native ones, so that the object name,
// caption and filter stay those the caller gave.
class QtDialogs final : public VxDialogService {
public:
    QString openFileName(QWidget* parent, const QString& objectName, const QString& caption,
                         const QString& startPath, const QString& filter,
                         bool imagePreview) override
    {
        return runFileDialog(parent, objectName, caption, startPath, filter, imagePreview,
                             QFileDialog::AcceptOpen, QFileDialog::ExistingFile, {})
            .value(0);
    }

    QStringList openFileNames(QWidget* parent, const QString& objectName, const QString& caption,
                              const QString& startPath, const QString& filter,
                              bool imagePreview) override
    {
        return runFileDialog(parent, objectName, caption, startPath, filter, imagePreview,
                             QFileDialog::AcceptOpen, QFileDialog::ExistingFiles, {});
    }

    QString saveFileName(QWidget* parent, const QString& objectName, const QString& caption,
                         const QString& startPath, const QString& filter, bool imagePreview,
                         bool confirmReplace) override
    {
        return runFileDialog(
                   parent, objectName, caption, startPath, filter, imagePreview,
                   QFileDialog::AcceptSave, QFileDialog::AnyFile,
                   confirmReplace ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite)
            .value(0);
    }

    QString existingDirectory(QWidget* parent, const QString& objectName, const QString& caption,
                              const QString& startPath) override
    {
        QFileDialog dialog(parent, caption, startPath);
        dialog.setObjectName(objectName);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        dialog.setFileMode(QFileDialog::Directory);
        return chosen(dialog).value(0);
    }

    int exec(QDialog& dialog) override { return dialog.exec(); }
    void show(QDialog& dialog) override { dialog.show(); }

private:
    static QStringList runFileDialog(QWidget* parent, const QString& objectName,
                                     const QString& caption, const QString& startPath,
                                     const QString& filter, bool imagePreview,
                                     QFileDialog::AcceptMode acceptMode,
                                     QFileDialog::FileMode fileMode, QFileDialog::Options options)
    {
        QFileDialog dialog(parent, caption);
        dialog.setObjectName(objectName);
        dialog.setOptions(options | QFileDialog::DontUseNativeDialog);
        if (imagePreview)
            vx_add_image_preview(dialog);
        dialog.setAcceptMode(acceptMode);
        dialog.setFileMode(fileMode);
        const QFileInfo start(startPath);
        if (!startPath.isEmpty())
            dialog.setDirectory(start.path());
        const QString file = start.fileName();
        if (file.contains('*') || file.contains('?')) {
            dialog.setNameFilter(file);
        } else {
            if (!filter.isEmpty())
                dialog.setNameFilter(filter);
            if (!file.isEmpty())
                dialog.selectFile(file);
        }
        return chosen(dialog);
    }

    static QStringList chosen(QFileDialog& dialog)
    {
        if (dialog.exec() != QDialog::Accepted)
            return QStringList();
        return dialog.selectedFiles();
    }
};

std::unique_ptr<VxDialogService>& installed()
{
    static std::unique_ptr<VxDialogService> service;
    return service;
}

}  // namespace

VxDialogService::~VxDialogService() = default;

std::unique_ptr<VxDialogService> VxDialogService::install(std::unique_ptr<VxDialogService> service)
{
    std::unique_ptr<VxDialogService> previous = std::move(installed());
    installed() = std::move(service);
    return previous;
}

VxDialogService& vx_dialogs()
{
    static QtDialogs qt_dialogs;
    if (installed())
        return *installed();
    return qt_dialogs;
}
