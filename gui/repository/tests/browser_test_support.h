#pragma once

// A stored repository of two small pictures with their trees, a query
// result over it, and the windows of the browsers and the query dialog, for
// the tests of those windows.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <string>

#include "gui/foundation/vx_base_paths.h"
#include "gui/repository/qtvx_repository.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/repository_fixture.h"
#include "testsupport/vx_test.h"

namespace browser_test {

using vx_gui_test::q;

// The top-level window whose title starts so, null when there is none.
inline QWidget* window_titled(const QString& start)
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->windowTitle().startsWith(start))
            return window;
    return nullptr;
}

// img0.pgm and img1.pgm (24 x 20) with their trees at 3 scales in rep.vxr,
// an update rule and two query rules: one on the bright tree, one on the
// dark tree, and shared paths whose update rule is the update rule.
class StoredRepository : public ::testing::Test {
protected:
    vx_test::repository_dir pictures{2};
    std::string vxr = pictures.dir.file("rep.vxr");
    std::string update = pictures.dir.file("update.rule");
    std::string brightRule = pictures.dir.file("bright.rule");
    std::string darkRule = pictures.dir.file("dark.rule");
    std::string results = pictures.dir.file("results");
    VxBasePaths paths{q(pictures.dir.path().string()),
                      q(update),
                      QString(),
                      q(pictures.dir.path().string()),
                      q(pictures.dir.path().string()),
                      nullptr,
                      "Global Base Paths",
                      0};

    StoredRepository()
    {
        std::unique_ptr<vx_test::FileRepository> repository = pictures.repository(3);
        vx_test::compute_trees(*repository, 3);
        EXPECT_EQ(repository->WriteRepository(vxr.c_str()), 1);
        vx_test::write_file(update, "DECLS:\n depth := volume / area;\n#DECLS\n");
        vx_test::write_file(brightRule, "RULES:\nTD: area > 3 && depth > 0\n#RULES\n");
        vx_test::write_file(darkRule, "RULES:\nTD: area > 3\n#RULES\n");
        std::filesystem::create_directory(results);
    }

    // The query result of both rules, the second on the tree of that mode,
    // as PNG images, written without the GUI.
    std::string queryResult(int secondMode = 2)
    {
        const std::string vxq = pictures.dir.file("result.vxq");
        const char* rules[] = {brightRule.c_str(), darkRule.c_str()};
        const int modes[] = {1, secondMode};
        vx_test::printed_by([&] {
            QTVxRepository repository(vxr.c_str());
            repository.setImageFormat("png");
            repository.QueryAllImages(update.c_str(), rules, 2, vxq.c_str(), results.c_str(),
                                      modes);
        });
        return vxq;
    }
};

}  // namespace browser_test
