#include "gui/repository/qtvx_labeled_repository.h"

#include <algorithm>

#include "gui/repository/detail/repository_images.h"
#include "gui/repository/qtvx_repository.h"
#include "imagecore/report.h"

namespace {

// Characters a format may have.
constexpr int kFormatRoom = 15;

}  // namespace

QTVxLabeledRepository::QTVxLabeledRepository(int n, const int* modes, const char* resultPath,
                                             const char* repositoryFile)
{
    init(n, modes, resultPath, repositoryFile);
}

QTVxLabeledRepository::QTVxLabeledRepository(const char* file)
{
    // A file read in part would be rewritten with its part alone.
    fileLoaded = read(file) == 1 && getRepository() != nullptr && getRepository()->isRead();
    if (fileLoaded) {
        updateClassifiedImageFiles(imageFormat.c_str());
        repository_images::show_write_failures(takeWriteFailures());
    }
}

QTVxLabeledRepository::~QTVxLabeledRepository() = default;

void QTVxLabeledRepository::writeImage(char* file, image* img)
{
    // The base holds the palette's whole allocation; the classes' colours
    // end at entry classes + 255.
    const int entries = palette != nullptr ? std::min(paletteEntries, numberOfClasses + 256) : 0;
    repository_images::write_image(*this, {file, file, img, true, palette, entries});
}

VxRepository* QTVxLabeledRepository::loadRepository(const char* file)
{
    return new QTVxRepository(file != nullptr ? file : "");
}

const char* QTVxLabeledRepository::setImageFormat(const char* format)
{
    const QString asked = QString::fromLatin1(format);
    return takeFormat(repository_images::choose_format(asked, false), asked);
}

const char* QTVxLabeledRepository::setImageFormat()
{
    const QString asked = QString::fromLatin1(imageFormat.c_str());
    return takeFormat(repository_images::choose_format(asked, true), asked);
}

const char* QTVxLabeledRepository::takeFormat(const QString& chosen, const QString& asked)
{
    const QByteArray format = (chosen.isEmpty() ? asked : chosen).toLower().toLatin1();
    if (format.isEmpty() || format.size() > kFormatRoom)
        vx_report("Could not take the image format %s: keeping %s\n", format.constData(),
                  imageFormat.c_str());
    else
        imageFormat = format.toStdString();
    return imageFormat.c_str();
}
