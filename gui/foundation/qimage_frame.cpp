// qimage_frame: construction, palettes and content.
#include "gui/foundation/qimage_frame.h"

#include <QLabel>
#include <algorithm>
#include <cstring>

#include "gui/foundation/detail/display_palettes.h"
#include "gui/foundation/image_loading.h"
#include "gui/foundation/window_flags.h"
#include "imagecore/report.h"

namespace {

constexpr int frame_style = QFrame::Box | QFrame::Plain;  // 17
constexpr int frame_line_width = 10;
constexpr int palette1_extras_start = 1792;

size_t pixel_count(int w, int h)
{
    return static_cast<size_t>(std::max(w, 0)) * static_cast<size_t>(std::max(h, 0));
}

}  // namespace

qimage_frame::qimage_frame(int w, int h, QWidget* parent, const char* name, int flags)
    : QFrame(parent, vx_qt_window_flags(flags))
{
    initDefaults(name, flags);
    adoptOwnedCopy(w, h, nullptr);
    for (size_t k = 0; k < ownedData.size(); ++k)
        ownedData[k] = static_cast<int>(4 * k % 256);
    createGreyValueDisplayPalette1();
    showNewImage();
}

qimage_frame::qimage_frame(int w, int h, int* data, QWidget* parent, unsigned char*, int,
                           const char* name, int flags)
    : QFrame(parent, vx_qt_window_flags(flags))
{
    initDefaults(name, flags);
    this->data = data;
    imageWidth = std::max(w, 0);
    imageHeight = std::max(h, 0);
    createGreyValueDisplayPalette4();
    showNewImage();
}

qimage_frame::qimage_frame(const image* img, QWidget* parent, const char* name, int flags)
    : QFrame(parent, vx_qt_window_flags(flags))
{
    initDefaults(name, flags);
    if (img != nullptr) {
        adoptOwnedCopy(img->width, img->height, nullptr);
        takeRecord(img);
    }
    createGreyValueDisplayPalette3();
    showNewImage();
}

qimage_frame::qimage_frame(const char* file, QWidget* parent, const char* name, int flags)
    : QFrame(parent, vx_qt_window_flags(flags))
{
    initDefaults(name, flags);
    loadFile(file, false);
    createGreyValueDisplayPalette2();
    showNewImage();
}

qimage_frame::qimage_frame(QImage* img, QWidget* parent, const char* name, int flags)
    : QFrame(parent, vx_qt_window_flags(flags))
{
    initDefaults(name, flags);
    if (img != nullptr) {
        const QImage picture = vx_picture_32(*img);
        delete img;
        adoptOwnedCopy(picture.width(), picture.height(), nullptr);
        vx_copy_picture_words(picture, data, false);
    }
    showNewImage();
}

qimage_frame::qimage_frame(QWidget* parent, unsigned char* palette, int n, const char* name,
                           int flags)
    : QFrame(parent, vx_qt_window_flags(flags))
{
    initDefaults(name, flags);
    if (palette != nullptr) {
        displayPalette = palette;
        paletteCount = n;
        paletteOwnership = 2;
        displayMode = 1;
    }
    setZoomWindow(1, 0, 0);
}

qimage_frame::~qimage_frame()
{
    typedCopy.reset();
    if (coordinateLabel)
        delete coordinateLabel;
    emit closed();
}

void qimage_frame::initDefaults(const char* name, int flags)
{
    vx_apply_close_flag(this, flags);
    setObjectName(QString::fromLatin1(name));
    setFrameStyle(frame_style);
    setLineWidth(frame_line_width);
    setFocusPolicy(Qt::ClickFocus);
}

void qimage_frame::showNewImage()
{
    replaceScreen(imageWidth, imageHeight);
    vx_report("Set Size %d %d\n", imageWidth, imageHeight);
    setZoomWindow(1, 0, 0);
    display_image_zoomed();
}

void qimage_frame::adoptOwnedCopy(int w, int h, const int* words)
{
    std::vector<int> copy(pixel_count(w, h));
    if (words != nullptr && !copy.empty())
        std::memcpy(copy.data(), words, copy.size() * sizeof(int));
    ownedData = std::move(copy);
    data = ownedData.data();
    imageWidth = std::max(w, 0);
    imageHeight = std::max(h, 0);
}

void qimage_frame::replaceScreen(int w, int h)
{
    screen = QImage(std::max(w, 0), std::max(h, 0), QImage::Format_RGB32);
    screen.fill(0xFF000000u | static_cast<unsigned>(BackgroungColor()));
    setMinimumSize(screen.size());
}

// ---- palettes ----

void qimage_frame::dropPalette(bool report)
{
    if (paletteOwnership == 1) {
        if (report)
            vx_report("Clean Old Palette\n");
        std::vector<unsigned char>().swap(ownedPalette);
    }
    displayPalette = nullptr;
    paletteCount = -1;
    paletteOwnership = 0;
}

void qimage_frame::installOwnedPalette(std::vector<unsigned char> entries)
{
    ownedPalette = std::move(entries);
    displayPalette = ownedPalette.data();
    paletteCount = static_cast<int>(ownedPalette.size() / 4);
    paletteOwnership = 1;
}

void qimage_frame::createGreyValueDisplayPalette1()
{
    dropPalette(false);
    installOwnedPalette(display_palettes::grey_value_palette1());
}

int qimage_frame::createGreyValueDisplayPalette1(int n)
{
    dropPalette(false);
    installOwnedPalette(display_palettes::grey_value_palette1(n));
    return palette1_extras_start;
}

void qimage_frame::createGreyValueDisplayPalette2()
{
    dropPalette(false);
    installOwnedPalette(display_palettes::grey_value_palette2());
}

void qimage_frame::createGreyValueDisplayPalette3()
{
    createGreyValueDisplayPalette2();
}

void qimage_frame::createGreyValueDisplayPalette4()
{
    dropPalette(true);
    installOwnedPalette(display_palettes::grey_value_palette4());
    vx_report("Create new palette %p\n", static_cast<void*>(displayPalette));
}

void qimage_frame::createRandomDisplayPalette(int n)
{
    std::vector<unsigned char> entries = display_palettes::random_palette(n);
    if (entries.empty())
        return;
    const void* old = displayPalette;
    dropPalette(true);
    installOwnedPalette(std::move(entries));
    vx_report("Create Random Palette %p of size %d\n", old, paletteCount);
}

void qimage_frame::set_palette(unsigned char* palette, int n)
{
    if (palette == nullptr)
        return;
    dropPalette(false);
    displayPalette = palette;
    paletteCount = n;
    paletteOwnership = 2;
    displayMode = 1;
    display_image_zoomed();
}

void qimage_frame::setColor(int i, int r, int g, int b)
{
    if (paletteOwnership != 1 || i < 0 || i >= paletteCount)
        return;
    unsigned char* entry = displayPalette + 4 * static_cast<size_t>(i);
    entry[0] = static_cast<unsigned char>(b);
    entry[1] = static_cast<unsigned char>(g);
    entry[2] = static_cast<unsigned char>(r);
}

void qimage_frame::getColor(int i, int* r, int* g, int* b) const
{
    if (paletteOwnership != 1 || i < 0 || i >= paletteCount)
        return;
    const unsigned char* entry = displayPalette + 4 * static_cast<size_t>(i);
    *b = entry[0];
    *g = entry[1];
    *r = entry[2];
}

void qimage_frame::setDisplayMode(int mode)
{
    displayMode = mode;
    display_image_zoomed();
}

// ---- content ----

void qimage_frame::ImageDeleter::operator()(image* img) const
{
    delete_image(img);
}

void qimage_frame::set_image(const image* img)
{
    if (img->width != imageWidth) {
        vx_report("Image Width %d; Must be %d\n", img->width, imageWidth);
        return;
    }
    if (img->height != imageHeight) {
        vx_report("Image Height %d; Must be %d\n", img->height, imageHeight);
        return;
    }
    takeRecord(img);
    display_image_zoomed();
}

void qimage_frame::takeRecord(const image* record)
{
    const size_t n = pixel_count(record->width, record->height);
    if (record->kind != IMAGE_GREY16) {
        typedCopy.reset();
        if (n > 0)
            std::memcpy(data, record->pixels, n * sizeof(int));
        return;
    }
    typedCopy.reset(create_copy_image(record));
    image* levels = vx_equalized_copy(record);
    if (n > 0)
        std::memcpy(data, levels->pixels, n * sizeof(int));
    delete_image(levels);
}

void qimage_frame::reset_qimage(const image* img)
{
    resetContent(img->width, img->height, nullptr, img);
}

void qimage_frame::reset_qimage(int w, int h, int* data, int* palette, int n)
{
    set_palette(reinterpret_cast<unsigned char*>(palette), n);
    resetContent(w, h, data, nullptr);
}

void qimage_frame::resetContent(int w, int h, const int* words, const image* record)
{
    adoptOwnedCopy(w, h, words);
    if (record != nullptr)
        takeRecord(record);
    else
        typedCopy.reset();
    replaceScreen(imageWidth, imageHeight);
    setZoomWindow(1, 0, 0);
    vx_report(" %d %d\n", width(), height());
    vx_report("Reset Image\n");
    display_image_zoomed();
}

void qimage_frame::display_image(int* data)
{
    if (data != ownedData.data())
        std::vector<int>().swap(ownedData);
    this->data = data;
    typedCopy.reset();
    display_image_zoomed();
}

image* qimage_frame::get_t_image()
{
    return typedCopy ? typedCopy.get() : wordsHeader();
}

image* qimage_frame::wordsHeader()
{
    header = image{};
    header.width = imageWidth;
    header.height = imageHeight;
    header.connect = -1;
    header.pixels = data;
    header.kind = IMAGE_GREY;
    set_nb_offsets(header.nb_offsets, imageWidth);
    return &header;
}
