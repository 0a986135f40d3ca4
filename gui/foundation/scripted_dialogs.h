#pragma once

// A dialog service for tests: it records every request and answers it from
// a queue that the test fills beforehand. A request with no fitting answer
// left is cancelled at once and reported as a Qt warning (which the GUI
// test suites turn into a failure), so no test waits for a user.

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <variant>
#include <vector>

#include "gui/foundation/dialog_service.h"

struct VxDialogRequest {
    enum Kind { OpenFile, SaveFile, Directory, Exec, Show, OpenFiles };
    Kind kind = OpenFile;
    // File and directory requests.
    QString objectName;
    QString caption;
    QString startPath;
    QString filter;
    bool imagePreview = false;
    // Save requests: whether the dialog asks before an existing file.
    bool confirmReplace = true;
    // Exec and Show: the dialog's window title and the texts of its labels
    // in the order the dialog holds them.
    QString title;
    QStringList labels;
};

class VxScriptedDialogs : public VxDialogService {
public:
    // Acts on a dialog given to exec(); its return value is exec's result.
    using Action = std::function<int(QDialog&)>;

    // Answers the next file or directory request; empty text is Cancel.
    void answer(const QString& name);
    // Answers the next request for several files; no names is Cancel.
    void answer(const QStringList& names);
    // Answers the next exec().
    void answer(Action action);
    // Answers the next exec() by clicking the dialog's button with this text.
    void press(const QString& buttonText);

    const std::vector<VxDialogRequest>& requests() const { return requests_; }
    int answersLeft() const { return static_cast<int>(answers_.size()); }
    // Forgets the requests and the answers not yet used.
    void clear();

    QString openFileName(QWidget* parent, const QString& objectName, const QString& caption,
                         const QString& startPath, const QString& filter,
                         bool imagePreview) override;
    QStringList openFileNames(QWidget* parent, const QString& objectName, const QString& caption,
                              const QString& startPath, const QString& filter,
                              bool imagePreview) override;
    QString saveFileName(QWidget* parent, const QString& objectName, const QString& caption,
                         const QString& startPath, const QString& filter, bool imagePreview,
                         bool confirmReplace) override;
    QString existingDirectory(QWidget* parent, const QString& objectName, const QString& caption,
                              const QString& startPath) override;
    int exec(QDialog& dialog) override;
    // Records the dialog and shows it; needs no answer.
    void show(QDialog& dialog) override;

private:
    // Records the request and takes the next answer if it is an Answer.
    template <typename Answer>
    Answer fileAnswer(VxDialogRequest::Kind kind, const QString& objectName, const QString& caption,
                      const QString& startPath, const QString& filter, bool imagePreview);
    void recordDialog(VxDialogRequest::Kind kind, const QDialog& dialog);

    std::vector<VxDialogRequest> requests_;
    std::deque<std::variant<QString, QStringList, Action>> answers_;
};
