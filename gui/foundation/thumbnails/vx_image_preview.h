#pragma once

// The preview pane of the open-image dialogs: the thumbnail of the file the
// dialog points at, or the text "This is not a pixmap". The dialog service
// adds one to every file dialog asked for with an image preview.

#include <QLabel>
#include <QString>

class QFileDialog;
class QUrl;

class VxImagePreview : public QLabel {
    Q_OBJECT
public:
    // An empty label.
    explicit VxImagePreview(QWidget* parent);

    QString highlight() const { return highlightText; }

public slots:
    // Prints "Path = <path>" and shows the thumbnail of the URL's path.
    void previewUrl(const QUrl& url);
    // Stores the text.
    void setHighlight(QString text);

private:
    QString highlightText;
};

// Puts a new preview beside the dialog's file list (a non-native dialog)
// and shows there whatever file becomes the dialog's current one. The dialog
// owns the preview.
VxImagePreview* vx_add_image_preview(QFileDialog& dialog);
