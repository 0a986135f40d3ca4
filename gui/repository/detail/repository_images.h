#pragma once

// Image files of the GUI repositories: reading through the display widget's
// loader, the format question, and writing through a display widget so that
// labels show through their palette. Not part of the library's interface.
// GUI thread only.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <string>

#include "automation/repository/write_failures.h"
#include "imagecore/image.h"
#include "imagecore/vx_image.h"

namespace repository_images {

// Room of the callers' name buffers, terminating zero included.
constexpr size_t kNameCapacity = 1024;

// A one-scale image of the file (flag 0), owned by the caller; null when no
// reader takes it. Colours are the display widget's words 0x00RRGGBB, or
// with `grey` their Euclidean grey 0..255; a "16BG" file gives its own
// values (kind 4) either way.
vx_image* read(const char* file, bool grey);

// The writable format to use for `format`. Without `active` a format that a
// writer knows (any letter case) is taken as it is; otherwise, and always
// with `active`, the chooser "Repository save formats" asks with the text
// format + " Unknown image format\nPlease select one of\n" (with `active`:
// " Active image format\n..."). Empty when the chooser was left without a
// choice.
QString choose_format(const QString& format, bool active);

// The extension of the name's file part: the text after its last '.', empty
// without one (a dot that starts the file part is none).
std::string extension(const char* name);

// One write: the name as the caller gave it, the caller's buffer of
// kNameCapacity bytes that ends up naming the written file (null: none),
// and the palette the labels show through (null: the values as grey 0..255
// and above through the display's own ramps). Without `paletted` the values
// are written as the colours 0x00RRGGBB they are.
struct write_request {
    const char* name;
    char* buffer;
    const image* img;
    bool paletted;
    int* palette;
    int entries;
};

// The file a write of the name in the format makes: the name less its
// extension, '.', the format (a name without extension gets '.' and the
// format).
std::string name_in_format(const char* name, const char* format);

// Prints "Writing Labeled Image %s with Palette (%d)\n", renames the buffer
// and writes the file (name_in_format). A name that would not fit the
// buffer is refused with a message. Returns whether the file was written;
// a failure shows nothing: the repository notes it, and its run tells its
// failures once (show_write_failures).
bool write_in_format(const write_request& request, const char* format);

// Asks the repository for a format (its virtual setImageFormat) when the
// name carries an extension that differs, in any letter case, from its
// current one; then writes in the format it holds afterwards and notes a
// file it could not write. Nothing is asked or written without a name or
// an image.
template <class Repository>
void write_image(Repository& repository, const write_request& request)
{
    if (request.name == nullptr || request.img == nullptr)
        return;
    const QByteArray asked(extension(request.name).c_str());
    if (!asked.isEmpty() && asked.toUpper() != QByteArray(repository.getImageFormat()).toUpper())
        repository.setImageFormat(asked.constData());
    if (!write_in_format(request, repository.getImageFormat()))
        repository.noteWriteFailure(name_in_format(request.name, repository.getImageFormat()));
}

// After a run: one "!!Write Error!!" pop-up naming the first file the run
// could not write and how many it could not; nothing when it wrote them all.
void show_write_failures(const WriteFailures& failures);

}  // namespace repository_images
