#pragma once

// Helpers of the repository image tests: pictures saved by Qt, answers to
// the format chooser, and a file read back as a picture.

#include <gtest/gtest.h>

#include <QDialog>
#include <QImage>
#include <QString>
#include <string>

#include "gui/foundation/scripted_dialogs.h"
#include "gui/foundation/vx_image_file_formats.h"
#include "testsupport/gui/gui_test.h"

namespace repository_io_test {

using vx_gui_test::q;

// Saves the picture in the format of the name's extension.
inline void save(const QImage& picture, const std::string& path)
{
    ASSERT_TRUE(picture.save(q(path))) << path;
}

// Answers the format chooser with the format, or leaves it without one.
inline VxScriptedDialogs::Action choose(const char* format)
{
    return [format](QDialog& dialog) {
        auto& chooser = static_cast<VxImageFileFormats&>(dialog);
        chooser.FormatSelection(chooser.knownFormat(format));
        return dialog.result();
    };
}

inline VxScriptedDialogs::Action cancel()
{
    return [](QDialog& dialog) {
        dialog.reject();
        return static_cast<int>(QDialog::Rejected);
    };
}

// The first line printed, with its line break.
inline std::string first_line(const std::string& printed)
{
    return printed.substr(0, printed.find('\n') + 1);
}

// The chooser's question: its first label.
inline QString question(const VxDialogRequest& request)
{
    return request.labels.isEmpty() ? QString() : request.labels.front();
}

}  // namespace repository_io_test
