#pragma once

// Labeled repositories for the tests: a repository of small pictures with
// their trees, stored as a ".vxr" file, and a folder for the label images.

#include <gtest/gtest.h>

#include <QColor>
#include <filesystem>
#include <memory>
#include <string>

#include "gui/repository/qtvx_labeled_repository.h"
#include "gui/repository/qtvx_repository.h"
#include "testsupport/repository_fixture.h"
#include "testsupport/vx_test.h"

namespace labeled_test {

// `images` pictures (24 x 20, a bright and a dark blob each) with their
// trees at 3 scales, stored as <dir>/r.vxr; the label results go to
// <dir>/labels.
struct labeled_dir {
    vx_test::repository_dir d;
    std::string vxr = d.dir.file("r.vxr");
    std::string labels = d.dir.file("labels");

    explicit labeled_dir(int images = 1) : d(images)
    {
        std::filesystem::create_directory(labels);
        auto r = d.repository<QTVxRepository>(3);
        vx_test::compute_trees(*r, 3);
        EXPECT_EQ(r->WriteRepository(vxr.c_str()), 1);
    }

    // A new labelling with classes 1 bright and 2 dark (of `classes`, class 0
    // included).
    std::unique_ptr<QTVxLabeledRepository> labeled(int classes)
    {
        const int modes[3] = {1, 1, 2};
        return vx_test::capturing_stdout([&] {
            return std::make_unique<QTVxLabeledRepository>(classes, modes, labels.c_str(),
                                                           vxr.c_str());
        });
    }
};

// The packed colour (red in the low byte) as the display shows it.
inline QRgb shown(int packed)
{
    return qRgb((packed >> 16) & 255, (packed >> 8) & 255, packed & 255);
}

}  // namespace labeled_test
