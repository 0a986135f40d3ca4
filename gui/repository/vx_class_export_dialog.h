#pragma once

// Asks for the file and the class of an export from a labeled repository
// ("Regions By Class", "ISOSurface Volume", the regions of a query result).
// It writes nothing: the caller runs it modally (vx_dialogs().exec) and
// reads the answers back.

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;

class VxClassExportDialog : public QDialog {
    Q_OBJECT
public:
    // `classCount` counts class 0; `classNames` holds that many names and is
    // the caller's (not copied: it must outlive the dialog). The button
    // shows `buttonCaption`, which also names the file dialog; `filter` is
    // its name filter and every chosen name gets `requiredEnding` once.
    // `name` is the object name and the window title; non-zero flags make
    // the dialog modal.
    VxClassExportDialog(int classCount, const char* const* classNames, QString buttonCaption,
                        QString filter, QString requiredEnding, QWidget* parent, const char* name,
                        int flags);

    QString getFileName() const { return fileName; }
    // 1 .. class count - 1.
    int getClass() const { return selectedClass; }
    int getMode() const { return mode; }

public slots:
    // Accepts the dialog.
    void DoIt();
    // Button id i chooses class i + 1 and shows its name; an id outside the
    // classes is ignored.
    void setClass(int iClass);
    // A save dialog from the current name; a chosen name gets the required
    // ending and is shown (and so stored); Cancel changes nothing.
    void setFileNameDialog();
    void setFileName(QString qstName);
    // Stores id + 1; no control of the dialog calls it.
    void setMode(int iMode);

private:
    QString fileName;
    QLineEdit* fileNameEdit = nullptr;
    QLabel* classLabel = nullptr;
    int selectedClass = 1;
    int classCount = 0;
    const char* const* classNames = nullptr;
    QString buttonCaption;
    QString filter;
    QString requiredEnding;
    int mode = 1;
};
