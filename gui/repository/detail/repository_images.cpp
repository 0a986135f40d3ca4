#include "gui/repository/detail/repository_images.h"

#include <QFile>
#include <QImage>
#include <cstring>

#include "gui/foundation/dialog_service.h"
#include "gui/foundation/grey_conversion.h"
#include "gui/foundation/image_loading.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/vx_image_file_formats.h"
#include "gui/foundation/vx_message_popup.h"
#include "imagecore/handles.h"
#include "imagecore/report.h"

namespace repository_images {
namespace {

// Index of the dot that starts the extension of the name's file part;
// npos without one.
size_t extension_dot(const std::string& name)
{
    const size_t separator = name.find_last_of("/\\");
    const size_t start = separator == std::string::npos ? 0 : separator + 1;
    const size_t dot = name.rfind('.');
    return dot != std::string::npos && dot > start ? dot : std::string::npos;
}

}  // namespace

vx_image* read(const char* file, bool grey)
{
    if (file == nullptr)
        return nullptr;
    image* grey16 = nullptr;
    const QImage picture = vx_read_picture(QFile::decodeName(file), &grey16);
    image_handle record(grey16);
    if (record == nullptr) {
        if (picture.isNull())
            return nullptr;
        record.reset(create_image(picture.width(), picture.height(), 0));
        if (grey)
            vx_grey_words(picture, VxGreyRule::GreyEuclidean, record->pixels);
        else
            vx_copy_picture_words(picture, record->pixels, false);
    }
    return init_vximage_from_single_image(record.get(), 1, 0);
}

QString choose_format(const QString& format, bool active)
{
    VxImageFileFormats chooser(nullptr, "Repository save formats", 0);
    if (!active && chooser.knownFormat(format) >= 0)
        return format;
    QString text = format + (active ? " Active image format\nPlease select one of\n"
                                    : " Unknown image format\nPlease select one of\n");
    chooser.initGraphicalSelection(text);
    chooser.setModal(true);
    vx_dialogs().exec(chooser);
    return chooser.SelectionIDX() >= 0 ? chooser.Selection() : QString();
}

std::string extension(const char* name)
{
    const std::string text = name != nullptr ? name : "";
    const size_t dot = extension_dot(text);
    return dot == std::string::npos ? std::string() : text.substr(dot + 1);
}

std::string name_in_format(const char* name, const char* format)
{
    const std::string text = name != nullptr ? name : "";
    return text.substr(0, extension_dot(text)) + "." + (format != nullptr ? format : "");
}

bool write_in_format(const write_request& request, const char* format)
{
    vx_report("Writing Labeled Image %s with Palette (%d)\n", request.name, request.entries);
    const std::string written = name_in_format(request.name, format);
    if (request.buffer != nullptr) {
        if (written.size() >= kNameCapacity) {
            vx_report("Could not write %s: the name is longer than %d characters\n",
                      written.c_str(), static_cast<int>(kNameCapacity) - 1);
            return false;
        }
        std::memcpy(request.buffer, written.c_str(), written.size() + 1);
    }
    qimage_frame frame(request.img, nullptr);
    if (request.paletted && request.palette != nullptr && request.entries > 0)
        frame.set_palette(reinterpret_cast<unsigned char*>(request.palette), request.entries);
    else if (request.paletted)
        frame.setDisplayMode(1);  // the frame's own palette starts with a grey ramp
    return frame.write_image_quietly(written.c_str(), format);
}

void show_write_failures(const WriteFailures& failures)
{
    if (!failures.empty())
        vx_write_errors(QFile::decodeName(failures.first().c_str()), failures.count());
}

}  // namespace repository_images
