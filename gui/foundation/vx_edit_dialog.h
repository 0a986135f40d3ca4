#pragma once

// A plain text editor for one rule file: a Load / Save / Save As row, the
// file-name line and the text. Rule files are Latin-1 and are read and
// written byte for byte. Its file dialogs go through the paths object, so
// they remember its rules directory.

#include <QString>
#include <QWidget>

class QLineEdit;
class QPlainTextEdit;
class VxBasePaths;

class VxEditDialog : public QWidget {
    Q_OBJECT
public:
    // Builds the editor over `file` and loads it; a file that cannot be read
    // leaves the text empty and the name shown. `paths` is not owned and
    // must outlive the editor.
    VxEditDialog(VxBasePaths* paths, const QString& file, QWidget* parent, const char* name,
                 int flags);

    // Reads the whole file into the editor; false (nothing changed) when it
    // cannot be opened. On success the file becomes the current one and
    // changedFile is emitted.
    bool readText(QString& name);
    // Writes the whole text to the file, replacing it only once all is
    // written. On failure the "!!File Save Error!!" pop-up runs, the old
    // file stays whole and the result is false.
    bool saveText(QString& name);
    // Saves the text as saveFile() does when it differs from what the
    // current file was last loaded with or saved as (or none was), so an
    // unchanged file keeps its bytes, CRLF line ends say. True when the file
    // holds the text.
    bool saveChanges();
    QString File() const { return file; }
    // The text as typed (vx_editor_text).
    QString text() const;

signals:
    // The editor now holds this file: after a load and after Save As.
    void changedFile(const QString&);

public slots:
    void loadFileDialog();
    // Loads the file named in the line; on failure the line shows the
    // current file again.
    void loadFile();
    void saveFileDialog();
    // Saves under the current name and prints "Saving <name>".
    void saveFile();

private:
    void setCurrentFile(const QString& name);
    bool saveCurrent();
    // The editor's text is what the current file holds.
    void remember();

    QString file;
    // The text as the current file was last loaded or saved; valid with
    // `fileHoldsText` only.
    QString fileText;
    bool fileHoldsText = false;
    QString format;  // the current file's extension, without the dot
    QPlainTextEdit* editor = nullptr;
    QLineEdit* fileNameEdit = nullptr;
    VxBasePaths* paths = nullptr;
};
