#include <gtest/gtest.h>

#include <QPointer>
#include <QPushButton>

#include "gui/foundation/vx_base_dialog.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/window_flags.h"
#include "testsupport/gui/gui_test.h"

TEST(WindowFlags, TheDeleteOnCloseBitNeverReachesQt)
{
    EXPECT_EQ(vx_qt_window_flags(VX_DELETE_ON_CLOSE), Qt::WindowFlags());
    EXPECT_EQ(vx_qt_window_flags(VX_DELETE_ON_CLOSE | Qt::Window), Qt::WindowFlags(Qt::Window));
    EXPECT_EQ(vx_qt_window_flags(0x100), Qt::WindowFlags(Qt::Window));
    EXPECT_EQ(vx_qt_window_flags(Qt::Dialog), Qt::WindowFlags(Qt::Dialog));

    QWidget plain;
    vx_apply_close_flag(&plain, Qt::Window);
    EXPECT_FALSE(plain.testAttribute(Qt::WA_DeleteOnClose));
}

TEST(VxBaseDialog, AFlaggedDialogIsGoneAfterCloseAndTheEventLoop)
{
    QPointer<VxBaseDialog> dialog = new VxBaseDialog(nullptr, "Flagged", VX_DELETE_ON_CLOSE);
    EXPECT_FALSE(dialog->windowFlags().testFlag(Qt::WindowOverridesSystemGestures));
    dialog->show();
    EXPECT_TRUE(dialog->close());
    ASSERT_FALSE(dialog.isNull());
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(dialog.isNull());
}

TEST(VxBaseDialog, AnUnflaggedDialogOnlyHidesAndShowsAgain)
{
    VxBaseDialog dialog(nullptr, "Unflagged", 0);
    dialog.show();
    EXPECT_TRUE(dialog.close());
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(dialog.isHidden());
    dialog.show();
    EXPECT_TRUE(dialog.isVisible());
}

TEST(VxBaseDialog, ItsOwnButtonDestroysItAndItsPrivatePathsGoWithIt)
{
    VxBasePaths shared("/app", "/app/A.rule", "", "/rules", "/work", nullptr, "Shared", 0);
    QPointer<VxBaseDialog> dialog = new VxBaseDialog(&shared, nullptr, "Tool", 0);
    QPointer<VxBasePaths> own = dialog->findChild<VxBasePaths*>("Tool");
    ASSERT_FALSE(own.isNull());
    EXPECT_EQ(own->WorkingDir(), "/work");
    EXPECT_TRUE(own->isHidden());

    auto* cancel = new QPushButton("Cancel", dialog);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &VxBaseDialog::destroyDialog);
    dialog->show();
    cancel->click();
    EXPECT_FALSE(dialog.isNull());
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(dialog.isNull());
    EXPECT_TRUE(own.isNull());
    EXPECT_EQ(shared.WorkingDir(), "/work");
}
