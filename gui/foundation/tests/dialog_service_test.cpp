#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

#include "gui/foundation/dialog_service.h"
#include "gui/foundation/thumbnails/vx_image_preview.h"
#include "picture_files.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/vx_test.h"

using vx_gui_test::dialogs;

TEST(VxDialogService, ChoosesSeveralExistingFilesInQtsDialogAndFromTheScript)
{
    vx_test::TempDir dir;
    const QString first = picture_files::write_png(dir, "first.png", 8, 8, qRgb(1, 2, 3));
    const QString second = picture_files::write_png(dir, "second.png", 8, 8, qRgb(4, 5, 6));
    const QString folder = QString::fromStdString(dir.path().string());

    std::unique_ptr<VxDialogService> script = VxDialogService::install(nullptr);
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    int previews = -1;
    QTimer::singleShot(0, [&] {
        auto* open = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (open == nullptr)
            return;
        mode = open->fileMode();
        previews = static_cast<int>(open->findChildren<VxImagePreview*>().size());
        open->findChild<QLineEdit*>("fileNameEdit")->setText("\"first.png\" \"second.png\"");
        static_cast<QDialog*>(open)->accept();
    });
    const QStringList chosen = vx_dialogs().openFileNames(nullptr, "Sources", "Select",
                                                          folder + "/", "Images (*.png)", true);
    VxDialogService::install(std::move(script));
    EXPECT_EQ(mode, QFileDialog::ExistingFiles);
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(chosen, QStringList({first, second}));

    dialogs().answer(QStringList({"/a.png", "/b.png"}));
    dialogs().answer(QStringList());
    EXPECT_EQ(
        dialogs().openFileNames(nullptr, "Sources", "Select", "/images/", "Images (*.png)", true),
        QStringList({"/a.png", "/b.png"}));
    EXPECT_TRUE(dialogs().openFileNames(nullptr, "Sources", "Select", "", "", true).isEmpty());
    ASSERT_EQ(dialogs().requests().size(), 2u);
    const VxDialogRequest& request = dialogs().requests()[0];
    EXPECT_EQ(request.kind, VxDialogRequest::OpenFiles);
    EXPECT_EQ(request.objectName, "Sources");
    EXPECT_EQ(request.caption, "Select");
    EXPECT_EQ(request.startPath, "/images/");
    EXPECT_EQ(request.filter, "Images (*.png)");
    EXPECT_TRUE(request.imagePreview);
}
