#pragma once

// The form of the RUREVUDU training-data export of a labeled repository:
// image list file, destination directory, update rule, class and which
// images. It writes nothing and stays open: Write emits writeRUREVUDU,
// whose receiver selects the attributes and has the files written.

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;

class VxRurevuduDialog : public QDialog {
    Q_OBJECT
public:
    // `classCount` counts class 0; `classNames` holds that many names and is
    // the caller's (not copied: it must outlive the dialog). `name` is the
    // object name and the window title; non-zero flags make it modal.
    VxRurevuduDialog(int classCount, const char* const* classNames, QWidget* parent,
                     const char* name, int flags);

signals:
    // The list file, data path and update rule (file-name encoding, valid
    // while the signal is delivered: connect directly), the class (1 ..
    // class count - 1) and the image selection (0 all, 1 labeled, 2
    // unlabeled images).
    void writeRUREVUDU(const char* pcImagefilelist, const char* pcTrainingPath,
                       const char* pcUpdaterule, int iSelectedClass, int iSelectionType);

public slots:
    void DoIt();
    // Button id i chooses class i + 1 and shows its name; an id outside the
    // classes is ignored.
    void setClass(int iClass);
    // A save dialog for the list; the chosen name gets ".hclst" once and is
    // shown (and so stored). Cancel changes nothing.
    void setImageFilelistNameDialog();
    void setImageFilelistName(QString qstName);
    // A directory chooser; the chosen directory is shown (and stored).
    void setDataPathDialog();
    void setDataPath(QString qstName);
    // An open dialog for the rule; only a name ending in ".rule" is taken.
    void setUpdateRuleNameDialog();
    void setUpdateRuleName(QString qstName);
    void setSelectionType(int iSelectionType);

private:
    int selectionType = 0;
    QString imageFilelistName;
    QString dataPath;
    QString updateRuleName;
    QLineEdit* listEdit = nullptr;
    QLineEdit* pathEdit = nullptr;
    QLineEdit* ruleEdit = nullptr;
    QLabel* classLabel = nullptr;
    int selectedClass = 1;
    int classCount = 0;
    const char* const* classNames = nullptr;
};
