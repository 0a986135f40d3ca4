#pragma once

// Whole text files: read, written whole or not at all, and rule texts in
// editors. Rule files are Latin-1 and are read and written byte for byte.
// GUI thread only (the save pop-up).

#include <QByteArray>
#include <QString>

class QPlainTextEdit;

// The whole file as Latin-1 text; false, with *text untouched, when the file
// cannot be opened.
bool vx_read_text_file(const QString& file, QString* text);

// The one writer of whole files (texts, encoded images, projects), the
// libraries' checked_file: writes the bytes to a temporary file beside the
// target and replaces the target only once all of them are written; a
// target that is a symbolic link stays one, the file it names is replaced.
// On failure (a full disk, a read-only file or folder) the temporary file
// goes, the old file stays whole (or none is made) and the result is false.
// Shows nothing.
bool vx_write_text_file(const QString& file, const QByteArray& bytes);

// Writes the text as Latin-1, replacing the file only once all of it is
// written. On failure the "!!File Save Error!!" pop-up names the file (through
// the dialog service), the old file stays whole and the result is false.
bool vx_save_text_file(const QString& file, const QString& text);

// The editor's text as typed: the raw text keeps what plain text would change
// (a no-break space becomes a blank there); only the block separators become
// newlines.
QString vx_editor_text(const QPlainTextEdit& editor);
