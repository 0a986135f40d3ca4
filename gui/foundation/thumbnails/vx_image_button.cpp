#include "gui/foundation/thumbnails/vx_image_button.h"

#include <QFile>
#include <QFocusEvent>
#include <QMouseEvent>

#include "gui/foundation/thumbnails/detail/thumbnail.h"
#include "imagecore/report.h"

VxImageButton::VxImageButton(QString file, int index, QString label, QWidget* parent,
                             const char* name)
    : QPushButton(parent)
{
    setObjectName(QString::fromLatin1(name));
    setFixedSize(vx_thumbnail::side, vx_thumbnail::side);
    setImage(file, label);
    properties.imageIndex = index;
    properties.buttonIndex = index;
}

void VxImageButton::showThumbnails(const QImage& thumbnail)
{
    plain = QPixmap::fromImage(thumbnail);
    faded = QPixmap::fromImage(vx_thumbnail::faded(thumbnail));
    setIcon(plain);
    setIconSize(plain.size());
}

void VxImageButton::setImage(QString file)
{
    const QImage thumbnail = vx_thumbnail::read(file);
    showThumbnails(thumbnail.isNull() ? vx_thumbnail::blank() : thumbnail);
    properties.file = file;
    setToolTip(file);
}

void VxImageButton::setImage(QString file, QString label)
{
    setImage(file);
    setToolTip(file + "\n" + label);
}

void VxImageButton::setProperties(int imageIndex, QString file, QString label)
{
    setImage(file, label);
    properties.imageIndex = imageIndex;
}

void VxImageButton::setProperties(int imageIndex, QString file)
{
    setImage(file);
    properties.imageIndex = imageIndex;
}

void VxImageButton::setProperties(t_imagebuttoninfo& info)
{
    properties.imageIndex = info.imageIndex;
    if (!info.file.isEmpty()) {
        vx_report("Set ImageButton Image %s\n", QFile::encodeName(info.file).constData());
        setImage(info.file);
    }
}

void VxImageButton::setEmpty()
{
    // The stored thumbnails go too, so that the focus shows no former image.
    showThumbnails(vx_thumbnail::blank());
    properties.imageIndex = -1;
    setToolTip(QStringLiteral("Empty"));
}

void VxImageButton::FocusFrame()
{}

void VxImageButton::mouseReleaseEvent(QMouseEvent* event)
{
    // The press made the button down; its own release handling, which would
    // lift it, is not run.
    setDown(false);
    event->accept();
    if (properties.imageIndex < 0)
        return;
    const Qt::MouseButtons held = event->buttons() | event->button();
    if (held & Qt::LeftButton)
        emit leftClick(properties);
    if (held & Qt::RightButton)
        emit rightClick(properties);
    if (held & Qt::MiddleButton)
        emit middleClickImagebutton(properties);
}

void VxImageButton::focusInEvent(QFocusEvent* event)
{
    QPushButton::focusInEvent(event);
    setIcon(faded);
}

void VxImageButton::focusOutEvent(QFocusEvent* event)
{
    QPushButton::focusOutEvent(event);
    setIcon(plain);
}
