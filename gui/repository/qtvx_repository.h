#pragma once

// The repository of the GUI: its images are read by the display widget's
// loader (Qt's readers, else "16BG") and written through a display widget
// in a format the user picks once per repository object.

#include <QString>

#include "automation/repository/vx_repository.h"
#include "imagecore/image.h"
#include "imagecore/vx_image.h"

class QTVxRepository : public VxRepository {
public:
    // The repository constructors of the base; the format is "No_Format",
    // which no writer knows, so the first write decides it.
    QTVxRepository(char** files, int n, const char* repositoryPath, const char* imagesPath,
                   int treeGenerationMode);
    explicit QTVxRepository(const char* repositoryFile);
    ~QTVxRepository() override;

    // A new one-scale image of the file, owned by the caller; null when no
    // reader takes it (no message: the callers report it). ReadImage keeps
    // colours as the display's words 0x00RRGGBB, ReadImageGrey gives their
    // Euclidean grey 0..255; a "16BG" file gives its own values to both.
    vx_image* ReadImage(const char* file) override;
    vx_image* ReadImageGrey(const char* file) override;

    // Write the image. An extension of the name's file part that differs
    // from the format (any letter case) goes to the virtual
    // setImageFormat(extension) first; the file is then written in the format
    // held, its extension replaced by it (a name without extension gets it
    // appended), after the line "Writing Labeled Image %s with Palette
    // (%d)\n". writeImage writes the values as colours 0x00RRGGBB,
    // writeImageGrey shows them through the repository palette of a query
    // run, or as greys when there is none. A file that cannot be written is
    // noted (writeFailures) and shows nothing: the run that wrote it tells
    // its failures once, at its end.
    void writeImage(const char* file, image* img) override;
    void writeImageGrey(const char* file, image* img) override;
    // The same, and `file`, a buffer of 1024 bytes, ends up naming the file
    // written; a name that would not fit is refused with a message.
    void writeImage(char* file, image* img);
    void writeImageGrey(char* file, image* img);

    // A format that a writer knows is taken as it is; any other opens the
    // format chooser. The format is stored in lower case and returned; null,
    // the format unchanged, when the chooser was left without a choice.
    const char* setImageFormat(const char* format) override;
    // Always asks with the chooser; null when left without a choice.
    const char* setImageFormat() override;

private:
    void write(const char* file, char* buffer, image* img, bool paletted);
    const char* takeFormat(const QString& chosen);
};
