#include "testsupport/gui/gui_test.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QPixmap>
#include <QWidget>

#include "gui/foundation/text_files.h"

namespace vx_gui_test {

VxScriptedDialogs& dialogs()
{
    return static_cast<VxScriptedDialogs&>(vx_dialogs());
}

void flush_deferred_deletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QWidget* top_level_widget(const QString& objectName)
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == objectName)
            return widget;
    return nullptr;
}

QImage save_screenshot(QWidget& widget, const QString& name)
{
    widget.show();
    QCoreApplication::processEvents();
    const QString directory = QStringLiteral(VX_SCREENSHOT_DIR);
    const QString path = directory + "/" + name + ".png";
    QDir().mkpath(directory);
    QByteArray png;
    QBuffer buffer(&png);
    const bool saved = buffer.open(QIODevice::WriteOnly) &&
                       widget.grab().toImage().save(&buffer, "PNG") &&
                       vx_write_text_file(path, png);
    EXPECT_TRUE(saved) << "screenshot " << path.toStdString() << " not written";
    return QImage(path);
}

int dark_pixels(const QImage& picture, const QRect& area)
{
    const QRect inside = area & picture.rect();
    int count = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            count += qGray(picture.pixel(x, y)) < 96;
    return count;
}

}  // namespace vx_gui_test
