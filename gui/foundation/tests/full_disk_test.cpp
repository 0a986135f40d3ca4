#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPlainTextEdit>
#include <filesystem>
#include <functional>
#include <memory>

#include "gui/foundation/image_writing.h"
#include "gui/foundation/text_files.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/vx_edit_dialog.h"
#include "testsupport/full_disk.h"
#include "testsupport/gui/gui_test.h"

using vx_gui_test::dialogs;
using vx_gui_test::q;

namespace {

const std::string old_text = "RULES:\r\nTD: area > 3\r\n#RULES\r\n";

// The rule editor's Save, an image export and a bare whole-file write into
// files that hold old_text; each must fail, say so where a user is there to
// be told, and leave the old file and no temporary file behind.
void expect_writes_fail_and_keep(const std::function<std::string(const std::string&)>& file,
                                 const std::function<void()>& fault)
{
    for (const char* name : {"plain.rule", "edited.rule", "export.png"})
        vx_test::write_file(file(name), old_text);
    const QDir folder = QFileInfo(q(file("plain.rule"))).absoluteDir();
    VxBasePaths paths("/app", "/app/Attributes.rule", "", "", "", nullptr, "Paths", 0);
    VxEditDialog editor(&paths, q(file("edited.rule")), nullptr, "Editor", 0);
    editor.findChild<QPlainTextEdit*>()->setPlainText("RULES: TD: area > 4 #RULES\n");
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);

    dialogs().clear();
    fault();
    const QStringList before = folder.entryList(QDir::Files | QDir::Hidden);
    EXPECT_FALSE(vx_write_text_file(q(file("plain.rule")), "DECLS: #DECLS\n"));
    dialogs().press("Acknowlege");
    vx_test::printed_by([&] { EXPECT_FALSE(editor.saveChanges()); });
    dialogs().press("Acknowlege");
    EXPECT_FALSE(vx_write_image(picture, q(file("export.png")), nullptr));

    ASSERT_EQ(dialogs().requests().size(), 2u);
    EXPECT_EQ(dialogs().requests()[0].title, "!!File Save Error!!");
    EXPECT_EQ(dialogs().requests()[1].title, "!!Write Error!!");
    for (const char* name : {"plain.rule", "edited.rule", "export.png"})
        EXPECT_EQ(vx_test::read_file(file(name)), old_text) << name;
    EXPECT_EQ(folder.entryList(QDir::Files | QDir::Hidden), before) << "no temporary file";
}

}  // namespace

TEST(FullDisk, WholeFileWritesThatFailLeaveTheOldFileAndSaySo)
{
    vx_test::TempDir dir;
    std::unique_ptr<vx_test::FileSizeLimit> limit;
    const auto in_dir = [&dir](const std::string& name) { return dir.file(name); };
    expect_writes_fail_and_keep(in_dir,
                                [&] { limit = std::make_unique<vx_test::FileSizeLimit>(0); });
    limit.reset();
    // A disk that takes only part of a file.
    expect_writes_fail_and_keep(in_dir,
                                [&] { limit = std::make_unique<vx_test::FileSizeLimit>(5); });
}

TEST(FullDisk, OnARealFullOrReadOnlyDiskWritesFailTheSameWay)
{
    const vx_test::SmallDisk full;
    const vx_test::SmallDisk readOnly;
    if (!full.mounted() || !readOnly.mounted())
        GTEST_SKIP() << "no tmpfs could be mounted (needs root): the file-size limit covers it";
    expect_writes_fail_and_keep([&full](const std::string& name) { return full.file(name); },
                                [&full] { full.fill(); });
    expect_writes_fail_and_keep(
        [&readOnly](const std::string& name) { return readOnly.file(name); },
        [&readOnly] { ASSERT_TRUE(readOnly.readOnly()); });
}

TEST(WholeFiles, ANameOfAnyLegalLengthIsWrittenAndALinkStaysALink)
{
    namespace fs = std::filesystem;
    vx_test::TempDir dir;
    const std::string longest = dir.file(std::string(250, 'n') + ".rule");
    EXPECT_TRUE(vx_write_text_file(q(longest), "long"));
    EXPECT_EQ(vx_test::read_file(longest), "long");

    // As the libraries write: through the link, which stays a link.
    fs::create_directories(dir.path() / "files");
    vx_test::write_file(dir.file("files/kept.rule"), old_text);
    fs::create_symlink("files/kept.rule", dir.path() / "kept.rule");
    EXPECT_TRUE(vx_write_text_file(q(dir.file("kept.rule")), "newer"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "kept.rule"));
    EXPECT_EQ(vx_test::read_file(dir.file("files/kept.rule")), "newer");
}
