#pragma once

// The common frame of the preprocessing dialogs: a vertical box of rows
// (each a label and a line edit, or buttons) over a fixed-size "Compute"
// button. Compute runs Transform(), which configures the dialog's own step
// from its fields and hands it on with DoIt. Each line edit updates its field
// at every change of its text; the dialog keeps its settings between uses.

#include <QDialog>
#include <QString>

class ProcessImage;
class QBoxLayout;
class QLineEdit;
class QVBoxLayout;

class VxPreprocessDialog : public QDialog {
    Q_OBJECT
public:
    VxPreprocessDialog(const QString& title, QWidget* parent);

signals:
    // The dialog's own step: it stays the dialog's, so a receiver that keeps
    // it copies it (ProcessImage::copy) before the next emission changes it.
    // Connect directly.
    void DoIt(ProcessImage& prrexApplication);

public slots:
    // Emits DoIt with the configured step; nothing while a validated line
    // edit holds no acceptable number.
    virtual void Transform() = 0;

protected:
    // A row of a label and a line edit appended to the rows.
    QLineEdit* addEditRow(const QString& label, const QString& objectName, const QString& text);
    // A row of its own, for the caller's widgets.
    QBoxLayout* addRow();
    // The Compute button at the bottom; call after the last row.
    void addComputeButton();
    // Numbers of the C locale, whatever the environment's locale: decimals
    // from `bottom` to 1000000 with up to 5 decimals, or integers from
    // `bottom` to 1000000.
    static void acceptDecimals(QLineEdit* edit, double bottom);
    static void acceptIntegers(QLineEdit* edit, int bottom);

    QVBoxLayout* rows = nullptr;
};
