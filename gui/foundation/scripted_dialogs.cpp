#include "gui/foundation/scripted_dialogs.h"

#include <QAbstractButton>
#include <QDialog>
#include <QLabel>
#include <QtGlobal>

namespace {

const char* kind_name(VxDialogRequest::Kind kind)
{
    switch (kind) {
    case VxDialogRequest::OpenFile: return "open file";
    case VxDialogRequest::OpenFiles: return "open files";
    case VxDialogRequest::SaveFile: return "save file";
    case VxDialogRequest::Directory: return "directory";
    case VxDialogRequest::Exec: return "modal dialog";
    case VxDialogRequest::Show: return "shown dialog";
    }
    return "dialog";
}

void warn_unanswered(VxDialogRequest::Kind kind, const QString& name)
{
    qWarning("VxScriptedDialogs: no scripted answer for the %s \"%s\"; cancelled", kind_name(kind),
             qPrintable(name));
}

}  // namespace

void VxScriptedDialogs::answer(const QString& name)
{
    answers_.emplace_back(name);
}

void VxScriptedDialogs::answer(const QStringList& names)
{
    answers_.emplace_back(names);
}

void VxScriptedDialogs::answer(Action action)
{
    answers_.emplace_back(std::move(action));
}

void VxScriptedDialogs::press(const QString& buttonText)
{
    answer([buttonText](QDialog& dialog) {
        for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
            if (button->text() == buttonText) {
                button->click();
                return dialog.result();
            }
        }
        qWarning("VxScriptedDialogs: no button \"%s\" in \"%s\"", qPrintable(buttonText),
                 qPrintable(dialog.windowTitle()));
        dialog.reject();
        return static_cast<int>(QDialog::Rejected);
    });
}

void VxScriptedDialogs::clear()
{
    requests_.clear();
    answers_.clear();
}

QString VxScriptedDialogs::openFileName(QWidget*, const QString& objectName, const QString& caption,
                                        const QString& startPath, const QString& filter,
                                        bool imagePreview)
{
    return fileAnswer<QString>(VxDialogRequest::OpenFile, objectName, caption, startPath, filter,
                               imagePreview);
}

QStringList VxScriptedDialogs::openFileNames(QWidget*, const QString& objectName,
                                             const QString& caption, const QString& startPath,
                                             const QString& filter, bool imagePreview)
{
    return fileAnswer<QStringList>(VxDialogRequest::OpenFiles, objectName, caption, startPath,
                                   filter, imagePreview);
}

QString VxScriptedDialogs::saveFileName(QWidget*, const QString& objectName, const QString& caption,
                                        const QString& startPath, const QString& filter,
                                        bool imagePreview, bool confirmReplace)
{
    const QString chosen = fileAnswer<QString>(VxDialogRequest::SaveFile, objectName, caption,
                                               startPath, filter, imagePreview);
    requests_.back().confirmReplace = confirmReplace;
    return chosen;
}

QString VxScriptedDialogs::existingDirectory(QWidget*, const QString& objectName,
                                             const QString& caption, const QString& startPath)
{
    return fileAnswer<QString>(VxDialogRequest::Directory, objectName, caption, startPath,
                               QString(), false);
}

int VxScriptedDialogs::exec(QDialog& dialog)
{
    recordDialog(VxDialogRequest::Exec, dialog);
    if (answers_.empty() || !std::holds_alternative<Action>(answers_.front())) {
        warn_unanswered(VxDialogRequest::Exec, dialog.windowTitle());
        dialog.reject();
        return QDialog::Rejected;
    }
    Action action = std::get<Action>(std::move(answers_.front()));
    answers_.pop_front();
    return action(dialog);
}

void VxScriptedDialogs::show(QDialog& dialog)
{
    recordDialog(VxDialogRequest::Show, dialog);
    dialog.show();
}

template <typename Answer>
Answer VxScriptedDialogs::fileAnswer(VxDialogRequest::Kind kind, const QString& objectName,
                                     const QString& caption, const QString& startPath,
                                     const QString& filter, bool imagePreview)
{
    VxDialogRequest request;
    request.kind = kind;
    request.objectName = objectName;
    request.caption = caption;
    request.startPath = startPath;
    request.filter = filter;
    request.imagePreview = imagePreview;
    requests_.push_back(request);
    if (answers_.empty() || !std::holds_alternative<Answer>(answers_.front())) {
        warn_unanswered(kind, objectName);
        return Answer();
    }
    Answer chosen = std::get<Answer>(answers_.front());
    answers_.pop_front();
    return chosen;
}

void VxScriptedDialogs::recordDialog(VxDialogRequest::Kind kind, const QDialog& dialog)
{
    VxDialogRequest request;
    request.kind = kind;
    request.objectName = dialog.objectName();
    request.title = dialog.windowTitle();
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        request.labels << label->text();
    requests_.push_back(request);
}
