#include "gui/foundation/thumbnails/vx_image_preview.h"

#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QPixmap>
#include <QUrl>

#include "gui/foundation/thumbnails/detail/thumbnail.h"
#include "imagecore/report.h"

VxImagePreview::VxImagePreview(QWidget* parent) : QLabel(parent)
{}

void VxImagePreview::previewUrl(const QUrl& url)
{
    const QString path = url.path();
    vx_report("Path = %s\n", QFile::encodeName(path).constData());
    const QImage thumbnail = vx_thumbnail::read(path);
    if (thumbnail.isNull())
        setText(QStringLiteral("This is not a pixmap"));
    else
        setPixmap(QPixmap::fromImage(thumbnail));
}

void VxImagePreview::setHighlight(QString text)
{
    highlightText = text;
}

VxImagePreview* vx_add_image_preview(QFileDialog& dialog)
{
    auto* preview = new VxImagePreview(&dialog);
    preview->setMinimumSize(vx_thumbnail::side, vx_thumbnail::side);
    preview->setAlignment(Qt::AlignCenter);
    // The non-native dialog lays itself out on a grid: the file list spans
    // the rows between the look-in row and the file-name row.
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(preview, 1, grid->columnCount(), 1, 1);
    QObject::connect(
        &dialog, &QFileDialog::currentChanged, preview,
        [preview](const QString& path) { preview->previewUrl(QUrl::fromLocalFile(path)); });
    return preview;
}
