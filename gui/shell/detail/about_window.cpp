#include "gui/shell/detail/about_window.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QWidget>

QWidget* vx_make_about_window()
{
    auto* window = new QWidget;
    auto* layout = new QHBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // The date and time at which the library was built.
    const QString text = QStringLiteral(
        "\n"
        "   Vx Analyse  \n"
        "   Object Oriented Multiscale Image Analysis  \n"
        "   Version " VX_VERSION
        "  \n"
        "\n"
        "   Build: " __DATE__ " at: " __TIME__ "\n");
    layout->addWidget(new QLabel(text, window));

    QFile file(QStringLiteral(":/vxgui/about.ppm"));
    QPixmap picture;
    if (file.open(QIODevice::ReadOnly))
        picture.loadFromData(file.readAll());
    auto* pictureLabel = new QLabel(window);
    pictureLabel->setPixmap(picture);
    layout->addWidget(pictureLabel);

    window->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    window->setMaximumSize(window->sizeHint());
    return window;
}
