#pragma once

// A 200 x 200 push button showing an image file as a thumbnail (scaled to
// fit 200 x 200, see detail/thumbnail.h); with the keyboard focus it shows
// the thumbnail faded. A release of the left, right or middle mouse button
// reports the button's identity, unless the button is empty. A file that
// cannot be read shows white.

#include <QPixmap>
#include <QPushButton>
#include <QString>

#include "gui/foundation/thumbnails/image_button_info.h"

class QFocusEvent;
class QMouseEvent;

class VxImageButton : public QPushButton {
    Q_OBJECT
public:
    // Shows `file` with `label` in its tool tip; image and button index are
    // both `index`.
    VxImageButton(QString file, int index, QString label, QWidget* parent, const char* name);

    // Shows the file (icon size: the thumbnail's) with the file name as tool
    // tip; the file becomes the button's.
    void setImage(QString file);
    // The same with the tool tip file + "\n" + label.
    void setImage(QString file, QString label);
    // setImage(file, label) and the image index.
    void setProperties(int imageIndex, QString file, QString label);
    // setImage(file) and the image index.
    void setProperties(int imageIndex, QString file);
    // The record's image index; its file, when not empty, is shown (printing
    // "Set ImageButton Image <file>"). The button index stays.
    void setProperties(t_imagebuttoninfo& info);
    // A white 200 x 200 icon, in and out of focus, image index -1 and the
    // tool tip "Empty"; the file stays.
    void setEmpty();

    t_imagebuttoninfo& getProperties() { return properties; }
    int getImageIndex() const { return properties.imageIndex; }
    QString getImageFile() const { return properties.file; }

signals:
    // Connect directly: the record is the button's own.
    void leftClick(t_imagebuttoninfo& ibiProperties);
    void rightClick(t_imagebuttoninfo& ibiProperties);
    void middleClickImagebutton(t_imagebuttoninfo& ibiProperties);

public slots:
    // Kept for the callers that connect it; it changes nothing.
    void FocusFrame();

protected:
    // Replaces the push button's click handling: emits, for the buttons held
    // just before the release, leftClick, rightClick and
    // middleClickImagebutton in this order; nothing on an empty button. The
    // button never stays down.
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showThumbnails(const QImage& thumbnail);

    t_imagebuttoninfo properties;
    QPixmap plain;
    QPixmap faded;
};
