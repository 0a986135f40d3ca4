#pragma once

// The image formats that Qt's image writer supports, upper case, in the
// writer's order, and a chooser with one button per format. The caller makes
// it modal and runs it through the dialog service for one question.

#include <QDialog>
#include <QString>
#include <QStringList>

class VxImageFileFormats : public QDialog {
    Q_OBJECT
public:
    // `name`, when given, is the object name and the window title. Non-zero
    // flags only make the dialog modal while it is built; it ends up
    // non-modal.
    VxImageFileFormats(QWidget* parent, const char* name, int flags);

    // Index of the format in upper case; -1 when the writer has none such.
    int knownFormat(const QString& format) const;
    // Builds the chooser: the text, then the group "File Format Selection"
    // with one button per format (ids 0..n-1 in list order).
    void initGraphicalSelection(QString& text);
    // The chosen format, empty while none is chosen.
    QString Selection() const;
    // Its index, -1 while none is chosen.
    int SelectionIDX() const { return selectedIndex; }

signals:
    void selectedImageFormat(const QString&);

public slots:
    // Records the choice, emits selectedImageFormat and accepts a modal
    // dialog. An index outside the list is ignored.
    void FormatSelection(int iFormatIndex);

private:
    int selectedIndex = -1;
    QStringList formats;
    int formatCount = 0;
    QString defaultSelection;
};
