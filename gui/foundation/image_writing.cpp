#include "gui/foundation/image_writing.h"

#include <QBuffer>
#include <algorithm>

#include "gui/foundation/dialog_service.h"
#include "gui/foundation/text_files.h"
#include "gui/foundation/vx_image_file_formats.h"
#include "gui/foundation/vx_message_popup.h"

namespace {

// Index of the dot that starts the file name's extension, -1 without one.
int extension_dot(const QString& file)
{
    const int separator = std::max(file.lastIndexOf('/'), file.lastIndexOf('\\'));
    const int dot = file.lastIndexOf('.');
    return dot > separator + 1 ? dot : -1;
}

QString without_extension(const QString& file)
{
    const int dot = extension_dot(file);
    return dot < 0 ? file : file.left(dot);
}

QString chosen_format(QString format, QWidget* parent)
{
    VxImageFileFormats chooser(parent, "Check Image Formats", 0);
    if (chooser.knownFormat(format) >= 0)
        return format;
    QString text = "Format ." + format + " unknown\nPlease select one of";
    chooser.initGraphicalSelection(text);
    chooser.setModal(true);
    vx_dialogs().exec(chooser);
    return chooser.SelectionIDX() >= 0 ? chooser.Selection() : format;
}

// Writes the picture; *name := the file written (or not).
bool write_picture(const QImage& picture, const QString& file, const QString& format,
                   QWidget* parent, QString* name)
{
    const QString used = chosen_format(format, parent);
    *name = without_extension(file) + "." + used.toLower();
    // Encoded in memory first, so the file is written whole or not at all.
    QByteArray encoded;
    QBuffer buffer(&encoded);
    return buffer.open(QIODevice::WriteOnly) &&
           picture.save(&buffer, used.toUpper().toLatin1().constData()) &&
           vx_write_text_file(*name, encoded);
}

}  // namespace

bool vx_write_image(const QImage& picture, const QString& file, QWidget* parent)
{
    const int dot = extension_dot(file);
    return vx_write_image(picture, file, dot < 0 ? QString() : file.mid(dot + 1), parent);
}

bool vx_write_image(const QImage& picture, const QString& file, const QString& format,
                    QWidget* parent)
{
    QString name;
    const bool written = write_picture(picture, file, format, parent, &name);
    if (!written)
        vx_write_error(name);
    return written;
}

bool vx_write_image_quietly(const QImage& picture, const QString& file, const QString& format,
                            QWidget* parent)
{
    QString name;
    return write_picture(picture, file, format, parent, &name);
}
