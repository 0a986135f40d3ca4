#include "gui/repository/qtvx_repository.h"

#include <QString>

#include "gui/repository/detail/repository_images.h"

namespace {

constexpr const char* kNoFormat = "No_Format";

}  // namespace

QTVxRepository::QTVxRepository(char** files, int n, const char* repositoryPath,
                               const char* imagesPath, int treeGenerationMode)
    : VxRepository(files, n, repositoryPath, imagesPath, treeGenerationMode)
{
    imageFormat = kNoFormat;
}

QTVxRepository::QTVxRepository(const char* repositoryFile) : VxRepository(repositoryFile)
{
    imageFormat = kNoFormat;
}

QTVxRepository::~QTVxRepository() = default;

vx_image* QTVxRepository::ReadImage(const char* file)
{
    return repository_images::read(file, false);
}

vx_image* QTVxRepository::ReadImageGrey(const char* file)
{
    return repository_images::read(file, true);
}

void QTVxRepository::writeImage(const char* file, image* img)
{
    write(file, nullptr, img, false);
}

void QTVxRepository::writeImageGrey(const char* file, image* img)
{
    write(file, nullptr, img, true);
}

void QTVxRepository::writeImage(char* file, image* img)
{
    write(file, file, img, false);
}

void QTVxRepository::writeImageGrey(char* file, image* img)
{
    write(file, file, img, true);
}

void QTVxRepository::write(const char* file, char* buffer, image* img, bool paletted)
{
    repository_images::write_image(*this, {file, buffer, img, paletted, palette, paletteEntries});
}

const char* QTVxRepository::setImageFormat(const char* format)
{
    return takeFormat(repository_images::choose_format(QString::fromLatin1(format), false));
}

const char* QTVxRepository::setImageFormat()
{
    return takeFormat(
        repository_images::choose_format(QString::fromLatin1(imageFormat.c_str()), true));
}

const char* QTVxRepository::takeFormat(const QString& chosen)
{
    if (chosen.isEmpty())
        return nullptr;
    imageFormat = chosen.toLower().toLatin1().toStdString();
    return imageFormat.c_str();
}
