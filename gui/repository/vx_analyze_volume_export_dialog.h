#pragma once

// Asks for the file, the slice spacing (z scale) and the binarise switch of
// the Analyze 7.5 volume export of a labeled repository. It writes nothing:
// the caller runs it modally (vx_dialogs().exec) and reads the answers back.

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

class VxAnalyzeVolumeExportDialog : public QDialog {
    Q_OBJECT
public:
    // The button shows `buttonCaption`, which also names the file dialog;
    // `filter` is its name filter and every chosen name gets
    // `requiredEnding` once. `name` is the object name and the window
    // title; non-zero flags make the dialog modal.
    VxAnalyzeVolumeExportDialog(QString buttonCaption, QString filter, QString requiredEnding,
                                QWidget* parent, const char* name, int flags);

    QString getFileName() const { return fileName; }
    float getZScale() const { return zScale; }
    bool getBinarize() const { return binarize; }

public slots:
    // Accepts the dialog.
    void DoIt();
    // The text's value; 0 for a text that is no number.
    void setZScale(QString qstName);
    // Flips the switch; the button then reads "Binarize" when it is on and
    // "No Binarize" when it is off.
    void toggleBinarize();
    // A save dialog from the current name; a chosen name gets the required
    // ending and is shown (and so stored); Cancel changes nothing.
    void setFileNameDialog();
    void setFileName(QString qstName);

private:
    QString buttonCaption;
    QString filter;
    QString requiredEnding;
    QPushButton* binarizeButton = nullptr;
    QString fileName;
    float zScale = 1.0f;
    QLineEdit* fileNameEdit = nullptr;
    bool binarize = true;
};
