#include "gui/foundation/vx_image_file_formats.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QImageWriter>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

VxImageFileFormats::VxImageFileFormats(QWidget* parent, const char* name, int flags)
    : QDialog(parent)
{
    setModal(flags != 0);
    if (name != nullptr) {
        setObjectName(QString::fromLatin1(name));
        setWindowTitle(QString::fromLatin1(name));
    }
    for (const QByteArray& format : QImageWriter::supportedImageFormats())
        formats << QString::fromLatin1(format).toUpper();
    formatCount = static_cast<int>(formats.size());
    setModal(false);
}

int VxImageFileFormats::knownFormat(const QString& format) const
{
    return static_cast<int>(formats.indexOf(format.toUpper()));
}

void VxImageFileFormats::initGraphicalSelection(QString& text)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new QLabel(text, this));

    auto* box = new QGroupBox(QStringLiteral("File Format Selection"), this);
    box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* column = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (int i = 0; i < formatCount; ++i) {
        auto* button = new QPushButton(formats[i], box);
        button->setObjectName(QStringLiteral("Format Selection Button"));
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        column->addWidget(button);
        group->addButton(button, i);
    }
    layout->addWidget(box);
    connect(group, &QButtonGroup::idReleased, this, &VxImageFileFormats::FormatSelection);
}

QString VxImageFileFormats::Selection() const
{
    return selectedIndex < 0 ? defaultSelection : formats[selectedIndex];
}

void VxImageFileFormats::FormatSelection(int iFormatIndex)
{
    if (iFormatIndex < 0 || iFormatIndex >= formatCount)
        return;
    selectedIndex = iFormatIndex;
    emit selectedImageFormat(formats[selectedIndex]);
    if (isModal())
        accept();
}
