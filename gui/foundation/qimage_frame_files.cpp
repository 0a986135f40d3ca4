// qimage_frame: files, grey conversions, export and the screen image.
#include <QFile>
#include <QKeyEvent>
#include <cstdint>

#include "gui/foundation/dialog_service.h"
#include "gui/foundation/grey_conversion.h"
#include "gui/foundation/image_loading.h"
#include "gui/foundation/image_writing.h"
#include "gui/foundation/qimage_frame.h"
#include "imagecore/image_arith.h"
#include "imagecore/report.h"

void qimage_frame::loadFile(const char* file, bool keepTopByte)
{
    image* grey16 = nullptr;
    const QImage picture = vx_read_picture(QFile::decodeName(file), &grey16);
    if (picture.isNull())
        vx_report("Could not load %s\n", file);
    takePicture(picture, grey16, keepTopByte);
}

void qimage_frame::takePicture(const QImage& picture32, image* grey16, bool keepTopByte)
{
    typedCopy.reset(grey16);
    adoptOwnedCopy(picture32.width(), picture32.height(), nullptr);
    if (!picture32.isNull())
        vx_copy_picture_words(picture32, data, keepTopByte);
}

void qimage_frame::showLoaded()
{
    replaceScreen(imageWidth, imageHeight);
    setZoomWindow(1, 0, 0);
    displayMode = 2;
    vx_report("Numbytes %d\n", static_cast<int>(screen.sizeInBytes()));
    display_image_zoomed();
}

void qimage_frame::load_image(const char* file)
{
    loadFile(file, true);
    showLoaded();
}

bool qimage_frame::load_image(const QString& file, QString& failure)
{
    image* grey16 = nullptr;
    const QImage picture = vx_read_picture(file, &grey16, &failure);
    if (picture.isNull())
        return false;
    takePicture(picture, grey16, true);
    showLoaded();
    return true;
}

void qimage_frame::convertToGrey(VxGreyRule rule)
{
    setZoomWindow(1, 0, 0);
    display_image_zoomed();
    resizeFrame(imageWidth, imageHeight);
    if (displayMode != 1)
        vx_grey_words(screen, rule, data);
    displayMode = 1;
    display_image_zoomed();
}

void qimage_frame::convertMaxNormalized()
{
    convertToGrey(VxGreyRule::MaxNormalized);
}

void qimage_frame::convertGreyNormalized()
{
    convertToGrey(VxGreyRule::GreyNormalized);
}

void qimage_frame::convertGreyEuclidean()
{
    convertToGrey(VxGreyRule::GreyEuclidean);
}

bool qimage_frame::write_image(const QString& file)
{
    return vx_write_image(screen, file, this);
}

bool qimage_frame::write_image(const char* file, const char* format)
{
    return vx_write_image(screen, QFile::decodeName(file), QString::fromLatin1(format), this);
}

bool qimage_frame::write_image_quietly(const char* file, const char* format)
{
    return vx_write_image_quietly(screen, QFile::decodeName(file), QString::fromLatin1(format),
                                  this);
}

void qimage_frame::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_S || !(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    if (ctlSWithoutDialog == 0) {
        const QString title = QStringLiteral("Export Display filename");
        QString name =
            vx_dialogs().saveFileName(this, title, title, QStringLiteral("DisplayView.png"),
                                      QStringLiteral("(png) *.png"), false);
        if (!name.isEmpty()) {
            if (!name.endsWith(QLatin1String(".png")))
                name += QLatin1String(".png");
            write_image(name);
        }
    }
    emit ctlSpressed();
    event->accept();
}

void qimage_frame::scale(double f)
{
    image* scaled = scale_image(wordsHeader(), f);
    if (scaled == nullptr)
        return;
    QImage picture(scaled->width, scaled->height, QImage::Format_RGB32);
    if (!picture.isNull()) {
        for (int y = 0; y < scaled->height; ++y) {
            auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
            const int* words = scaled->pixels + static_cast<size_t>(y) * scaled->width;
            for (int x = 0; x < scaled->width; ++x)
                row[x] = 0xFF000000u | static_cast<uint32_t>(words[x]);
        }
        screen = picture;
        setZoomWindow(1, 0, 0);
        repaint();
        vx_report("scale\n");
    }
    delete_image(scaled);
}

void qimage_frame::set_image(const QImage* picture)
{
    if (picture == nullptr)
        return;
    screen = *picture;
    setMinimumSize(screen.size());
    setZoomWindow();
    update();
}

void qimage_frame::initImageDepth32()
{
    if (screen.format() != QImage::Format_RGB32)
        screen = screen.convertToFormat(QImage::Format_RGB32);
}

void qimage_frame::initFlickerBuffer()
{
    vx_report("Flicker Buffer\n");
}
