#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <QUrl>

#include "gui/foundation/dialog_service.h"
#include "gui/foundation/thumbnails/vx_image_preview.h"
#include "picture_files.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/vx_test.h"

TEST(VxImagePreview, ShowsTheThumbnailOfAPictureAndSaysSoForAnyOtherFile)
{
    vx_test::TempDir dir;
    const QString picture = picture_files::write_png(dir, "wide.png", 300, 150, qRgb(9, 99, 199));
    vx_test::write_file(dir.file("notes.txt"), "text");
    VxImagePreview preview(nullptr);
    EXPECT_TRUE(preview.text().isEmpty());
    EXPECT_EQ(vx_test::printed_by([&] { preview.previewUrl(QUrl::fromLocalFile(picture)); }),
              "Path = " + picture.toStdString() + "\n");
    EXPECT_EQ(preview.pixmap().size(), QSize(200, 100));
    EXPECT_EQ(preview.pixmap().toImage().pixel(10, 10), qRgb(9, 99, 199));
    vx_test::printed_by([&] {
        preview.previewUrl(QUrl::fromLocalFile(QString::fromStdString(dir.file("notes.txt"))));
    });
    EXPECT_EQ(preview.text(), "This is not a pixmap");
    preview.setHighlight("wide.png");
    EXPECT_EQ(preview.highlight(), "wide.png");
}

TEST(VxImagePreview, TheDialogServiceGivesImageOpenDialogsAPreviewOfTheCurrentFile)
{
    vx_test::TempDir dir;
    const QString picture = picture_files::write_png(dir, "tall.png", 40, 80, qRgb(50, 60, 70));
    QFileDialog dialog(nullptr, "Open");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    VxImagePreview* preview = vx_add_image_preview(dialog);
    EXPECT_EQ(preview->parent(), &dialog);
    vx_test::printed_by([&] { emit dialog.currentChanged(picture); });
    EXPECT_EQ(preview->pixmap().size(), QSize(100, 200));

    // Qt's own dialogs, as the service runs them: with the preview only when
    // asked for.
    std::unique_ptr<VxDialogService> script = VxDialogService::install(nullptr);
    int previews[2] = {-1, -1};
    for (int asked = 0; asked < 2; ++asked) {
        QTimer::singleShot(0, [&previews, asked] {
            auto* open = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (open == nullptr)
                return;
            previews[asked] = static_cast<int>(open->findChildren<VxImagePreview*>().size());
            open->reject();
        });
        EXPECT_EQ(vx_dialogs().openFileName(nullptr, "Load Image", "Load Image",
                                            QString::fromStdString(dir.path().string()) + "/",
                                            "Images (*.png)", asked == 1),
                  "");
    }
    VxDialogService::install(std::move(script));
    EXPECT_EQ(previews[0], 0);
    EXPECT_EQ(previews[1], 1);
}
