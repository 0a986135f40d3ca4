#pragma once

// Writing a picture the way the display widget exports its view. The file
// is the name less its extension, a '.', and the format in lower case; the
// picture is saved in the format named in upper case with default quality.
// A format that no Qt writer knows is asked for with the format chooser
// ("Check Image Formats", through the dialog service); a write that fails
// (the chooser left without a choice, a missing folder, an unwritable file)
// shows the "!!Write Error!!" pop-up and leaves no file. GUI thread only.

#include <QImage>
#include <QString>

class QWidget;

// The format is the text after the last '.' of the file-name part: a dot in
// a folder name, or one that starts the file name, is no extension.
// Returns whether the file was written. `parent` parents the chooser.
bool vx_write_image(const QImage& picture, const QString& file, QWidget* parent);

// The same in the given format.
bool vx_write_image(const QImage& picture, const QString& file, const QString& format,
                    QWidget* parent);

// The same without the pop-up, for a run that tells the files it could not
// write once, at its end.
bool vx_write_image_quietly(const QImage& picture, const QString& file, const QString& format,
                            QWidget* parent);
