#pragma once

// The labeled repository of the GUI: its repository is a QTVxRepository, and
// its label images are written through a display widget in a format the
// user picks ("png" at start).

#include <QString>
#include <string>

#include "automation/repository/vx_labeled_repository.h"
#include "automation/repository/vx_repository.h"
#include "imagecore/image.h"

class QTVxLabeledRepository : public VxLabeledRepository {
public:
    // A new labelling of the ".vxr" file's repository: n classes with class 0,
    // one mode each (1 bright, 2 dark), label images in resultPath. Fewer
    // than 2 classes end the process (exit code 10), as the base's init does.
    QTVxLabeledRepository(int n, const int* modes, const char* resultPath,
                          const char* repositoryFile);
    // Reads the ".vxq" file, then names and writes the label images of the
    // labelled images that have none yet, in this object's format, and
    // rewrites the file when any changed; label images that cannot be
    // written get one "!!Write Error!!" pop-up. A file or repository that
    // cannot be read whole is left as it is: see loaded().
    explicit QTVxLabeledRepository(const char* file);
    ~QTVxLabeledRepository() override;

    // Whether the reading constructor read its file and the repository it
    // names (true for the other constructor).
    bool loaded() const { return fileLoaded; }

    // Writes the label image; `file` is a buffer of 1024 bytes. An extension
    // of the name's file part that differs from the format (any letter case)
    // goes to the virtual setImageFormat(extension) first; the file is then
    // written in the format held, `file` renamed to it (a name without
    // extension gets it appended; one that would not fit is refused with a
    // message), after the line "Writing Labeled Image %s with Palette
    // (%d)\n" with the classes + 256 entries of the label palette. The labels
    // show through that palette (its colours as the display takes them). A
    // file that cannot be written is noted (writeFailures) and shows
    // nothing: the run that wrote it tells its failures once.
    void writeImage(char* file, image* img) override;
    // A new QTVxRepository of the ".vxr" file, owned by the base.
    VxRepository* loadRepository(const char* file) override;

    // A format that a writer knows is taken as it is; any other opens the
    // format chooser, and when it is left without a choice the format asked
    // about is taken. It is stored in lower case; an empty one, or one of
    // more than 15 characters, is refused with a message and the format
    // stays. Returns the format.
    virtual const char* setImageFormat(const char* format);
    // The same, always asking, about the current format.
    virtual const char* setImageFormat();
    const char* getImageFormat() const { return imageFormat.c_str(); }

private:
    const char* takeFormat(const QString& chosen, const QString& asked);

    std::string imageFormat = "png";
    bool fileLoaded = true;
};
