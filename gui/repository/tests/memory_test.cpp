// Repository runs in a process that runs out of memory.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <filesystem>

#include "gui/repository/tests/new_repository_test_support.h"
#include "testsupport/memory_limit.h"

using namespace new_repository_test;
using vx_gui_test::dialogs;

namespace {

using NewRepositoryMemory = DialogTest;

TEST_F(NewRepositoryMemory, TreesThatRunOutOfMemoryStopTheRunWithOnePopUpAndNoTreeListed)
{
    if (vx_test::under_sanitizer)
        GTEST_SKIP() << "the sanitizers reserve more address space than the limit leaves";
    // In colour: read without a conversion, which Qt shares out to threads
    // that it could not start in so little memory.
    std::filesystem::create_directory(images());
    QImage picture(2048, 2048, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x % 251, y % 241, (x + y) % 239));
    const QString big = q(images() + "/big.png");
    ASSERT_TRUE(picture.save(big));
    const QString small = write_picture(images() + "/small.png", 24, 3);
    dialogs().answer(QStringList({big, small}));
    vx_test::printed_by([this] { click("Select List of Source Images"); });
    fileEdit()->setText(q(dir.file("rep.vxr")));
    scalesEdit()->setText("3");
    EXPECT_EXIT(
        {
            vx_test::limit_address_space(size_t{192} << 20);
            dialogs().press("Acknowlege");
            compute();
            for (const VxDialogRequest& request : dialogs().requests())
                if (request.kind == VxDialogRequest::Exec)
                    std::fprintf(stderr, "pop-up %s: %s\n", request.title.toStdString().c_str(),
                                 request.labels.value(1).toStdString().c_str());
            std::fputs(vx_test::read_file(tree("rep.vxr")).c_str(), stderr);
            std::_Exit(std::filesystem::exists(tree("big.3.bright.tree")) ||
                               std::filesystem::exists(tree("big.3.dark.tree"))
                           ? 1
                           : 0);
        },
        ::testing::ExitedWithCode(0),
        "^pop-up Not enough memory: Memory ran out while the trees of\n.*/big.png\nwere "
        "computed:\n3 scales of a 2048 x 2048 image need about 1152 MB for both trees.\n"
        "The run stopped there; the repository file lists the trees written.\n"
        "Number of Images: 2\n(.|\n)*\nbig.png,-,-\nsmall.png,-,-\n");
}

}  // namespace
