#pragma once

// The new-repository dialog over a folder of small pictures, driven as a
// user would: the scripted file choices, its buttons and fields.

#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <string>

#include "gui/foundation/vx_base_paths.h"
#include "gui/repository/vx_new_repository_dialog.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/vx_test.h"

namespace new_repository_test {

using vx_gui_test::q;

// A grey picture of side x side with a bright and a dark square: regions in
// both trees at every scale.
inline QString write_picture(const std::string& path, int side, int shift)
{
    QImage picture(side, side, QImage::Format_Grayscale8);
    picture.fill(128);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            if (x >= 2 + shift && x < side / 2 && y >= 2 && y < side / 2)
                picture.setPixel(x, y, qRgb(230, 230, 230));
            if (x >= side / 2 && y >= side / 2 + shift && x < side - 2 && y < side - 2)
                picture.setPixel(x, y, qRgb(20, 20, 20));
        }
    EXPECT_TRUE(picture.save(q(path))) << path;
    return q(path);
}

class DialogTest : public ::testing::Test {
protected:
    vx_test::TempDir dir;
    VxBasePaths paths{q(dir.path().string()),
                      q(dir.file("Attributes.rule")),
                      QString(),
                      q(dir.path().string()),
                      q(dir.path().string()),
                      nullptr,
                      "Global Base Paths",
                      0};
    QPointer<vx_new_repository_dialog> dialog =
        new vx_new_repository_dialog(&paths, nullptr, "Create Repository");

    ~DialogTest() override { delete dialog; }

    QPushButton* button(const QString& text) const
    {
        for (QPushButton* found : dialog->findChildren<QPushButton*>())
            if (found->text() == text || found->objectName() == text)
                return found;
        ADD_FAILURE() << "no button " << text.toStdString();
        return nullptr;
    }
    void click(const QString& text) const { button(text)->click(); }

    QLineEdit* fileEdit() const { return dialog->findChild<QLineEdit*>("ResultNameEdit"); }
    // The path field has no object name: the second line edit.
    QLineEdit* pathEdit() const { return dialog->findChildren<QLineEdit*>().value(1); }
    QLineEdit* scalesEdit() const { return dialog->findChild<QLineEdit*>("Scales"); }
    QString log() const { return dialog->findChild<QPlainTextEdit*>("Log Window")->toPlainText(); }

    std::string images() const { return dir.file("images"); }
    std::string tree(const char* name) const { return dir.file(name); }

    // The pictures a.png and b.png (side 24) in images/ chosen as source
    // images, the repository file rep.vxr in the folder itself, which so
    // becomes the repository path, and `scales` scales.
    void chooseTwoPictures(int scales)
    {
        std::filesystem::create_directory(images());
        const QString a = write_picture(images() + "/a.png", 24, 0);
        const QString b = write_picture(images() + "/b.png", 24, 3);
        vx_gui_test::dialogs().answer(QStringList({a, b}));
        vx_test::printed_by([this] { click("Select List of Source Images"); });
        fileEdit()->setText(q(dir.file("rep.vxr")));
        scalesEdit()->setText(QString::number(scales));
    }
    // Clicks Compute; returns what it printed.
    std::string compute() const
    {
        return vx_test::printed_by([this] { click("Compute"); });
    }
};

}  // namespace new_repository_test
