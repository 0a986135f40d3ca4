#include <gtest/gtest.h>

#include <QSignalSpy>

#include "gui/foundation/vx_base_paths.h"
#include "testsupport/gui/gui_test.h"

using vx_gui_test::dialogs;

namespace {

class BasePathsTest : public ::testing::Test {
protected:
    VxBasePaths paths{
        "/app", "/app/Attributes.rule", "/tmp/vx", "/rules", "/work", nullptr, "Paths", 0};

    const VxDialogRequest& request(size_t i) const { return dialogs().requests().at(i); }
};

}  // namespace

TEST(VxBasePathsSplitting, TheLaterSeparatorSplitsAndIndexZeroCountsAsNone)
{
    EXPECT_EQ(VxBasePaths::PathNamePart("a.rule"), "");
    EXPECT_EQ(VxBasePaths::PathNamePart("/a.rule"), "");
    EXPECT_EQ(VxBasePaths::FileNamePart("/a.rule"), "/a.rule");
    EXPECT_EQ(VxBasePaths::PathNamePart("D:\\data/x.rule"), "D:\\data/");
    EXPECT_EQ(VxBasePaths::PathNamePart("d/e\\x.rule"), "d/e\\");
    EXPECT_EQ(VxBasePaths::FileNamePart("dir\\x.rule"), "x.rule");
    EXPECT_EQ(VxBasePaths::FileNamePart("x.rule"), "x.rule");
}

TEST(VxBasePathsSplitting, TheFormatIsSearchedInTheWholeText)
{
    EXPECT_EQ(VxBasePaths::FormatPart(".rule"), "");
    EXPECT_EQ(VxBasePaths::truncateFormatPart(".rule"), ".rule");
    EXPECT_EQ(VxBasePaths::FormatPart("a.b.png"), "png");
    EXPECT_EQ(VxBasePaths::truncateFormatPart("a.b.png"), "a.b");
    EXPECT_EQ(VxBasePaths::FormatPart("run.3/image"), "3/image");
    EXPECT_EQ(VxBasePaths::truncateFormatPart("run.3/image"), "run");
}

TEST_F(BasePathsTest, SettersEmitAlsoForAnUnchangedValueAndCopiesGoTheirOwnWay)
{
    QSignalSpy rule(&paths, &VxBasePaths::changedUpdateRule);
    QSignalSpy tmp(&paths, &VxBasePaths::changedTmpDir);
    paths.UpdateRule("/app/Attributes.rule");
    paths.UpdateRule("/app/Attributes.rule");
    paths.TmpDir("/tmp/vx");
    EXPECT_EQ(rule.count(), 2);
    EXPECT_EQ(tmp.count(), 1);

    QWidget owner;
    VxBasePaths copy(paths, &owner, "Copy", 0);
    owner.show();
    EXPECT_FALSE(copy.isVisible());
    EXPECT_EQ(copy.MainApplicationPath() + copy.UpdateRule() + copy.TmpDir(),
              "/app/app/Attributes.rule/tmp/vx");
    QSignalSpy rules(&copy, &VxBasePaths::changedRulesDir);
    QSignalSpy work(&copy, &VxBasePaths::changedWorkingDir);
    copy.RulesDir("/r");
    copy.WorkingDir("/w");
    EXPECT_EQ(rules.count() + work.count(), 2);
    EXPECT_EQ(paths.RulesDir() + paths.WorkingDir(), "/rules/work");
}

TEST_F(BasePathsTest, AStartFolderIsRememberedSilentlyAlsoOnCancel)
{
    QSignalSpy work(&paths, &VxBasePaths::changedWorkingDir);
    dialogs().answer(QString());
    EXPECT_EQ(paths.getOpenFileNameWorkDir("Images (*.png)", "/data/in/x.png", "Pick one"), "");
    EXPECT_EQ(paths.WorkingDir(), "/data/in/");
    EXPECT_EQ(work.count(), 0);
    EXPECT_EQ(request(0).kind, VxDialogRequest::OpenFile);
    EXPECT_EQ(request(0).objectName, "Open Work Dir Dialog");
    EXPECT_EQ(request(0).caption, "Pick one");
    EXPECT_EQ(request(0).startPath, "/data/in//x.png");
    EXPECT_EQ(request(0).filter, "Images (*.png)");
}

TEST_F(BasePathsTest, OnlyAChoiceInAnotherFolderSignals)
{
    QSignalSpy work(&paths, &VxBasePaths::changedWorkingDir);
    // The start-up folder is remembered without its trailing separator.
    dialogs().answer("/work/a.png");
    dialogs().answer("/work/b.png");
    dialogs().answer("/other/c.png");
    EXPECT_EQ(paths.getSaveFileNameWorkDir("", "a.png", "Save"), "/work/a.png");
    EXPECT_EQ(paths.getSaveFileNameWorkDir("", "", "Save"), "/work/b.png");
    EXPECT_EQ(paths.getSaveFileNameWorkDir("", "", "Save"), "/other/c.png");
    ASSERT_EQ(work.count(), 2);
    EXPECT_EQ(work.at(0).at(0).toString(), "/work/");
    EXPECT_EQ(work.at(1).at(0).toString(), "/other/");
    EXPECT_EQ(request(0).startPath, "/work/a.png");
    EXPECT_EQ(request(1).startPath, "/work//");
    EXPECT_EQ(request(0).objectName, "Save Work Dir Dialog");
}

TEST_F(BasePathsTest, RuleDialogsRememberTheRulesFolderApart)
{
    dialogs().answer("/mine/q.rule");
    dialogs().answer(QString());
    EXPECT_EQ(paths.getOpenFileNameRulesDir("(*.rule)", "", "Load rule file"), "/mine/q.rule");
    paths.getSaveFileNameRulesDir("(*.rule)", "", "Save rule file");
    EXPECT_EQ(paths.RulesDir(), "/mine/");
    EXPECT_EQ(paths.WorkingDir(), "/work");
    EXPECT_EQ(request(0).objectName, "Open Rule Dir Dialog");
    EXPECT_EQ(request(1).objectName, "Save Rules Dir Dialog");
    EXPECT_EQ(request(1).startPath, "/mine//");
}

TEST_F(BasePathsTest, UpdateRuleAndTemporaryFolderDialogsTakeOnlyANewChoice)
{
    QSignalSpy rule(&paths, &VxBasePaths::changedUpdateRule);
    QSignalSpy tmp(&paths, &VxBasePaths::changedTmpDir);
    dialogs().answer("/app/Attributes.rule");
    dialogs().answer("/rules/other.rule");
    dialogs().answer("/scratch");
    paths.getOpenFileNameUpdateRule();
    EXPECT_EQ(rule.count(), 0);
    EXPECT_EQ(paths.getSaveFileNameUpdateRule(), "/rules/other.rule");
    EXPECT_EQ(rule.count(), 1);
    EXPECT_EQ(paths.UpdateRule(), "/rules/other.rule");
    EXPECT_EQ(paths.setPathNameTmpDir(), "/scratch");
    EXPECT_EQ(tmp.count(), 1);

    for (size_t i : {0u, 1u}) {
        EXPECT_EQ(request(i).objectName, "Save Update Rule");
        EXPECT_EQ(request(i).caption, "Save Update Rule");
        EXPECT_EQ(request(i).filter, "Rule Files (*.rule)");
        EXPECT_EQ(request(i).startPath, "/app/Attributes.rule");
    }
    EXPECT_EQ(request(1).kind, VxDialogRequest::SaveFile);
    EXPECT_EQ(request(2).kind, VxDialogRequest::Directory);
    EXPECT_EQ(request(2).objectName, "Set Temp Dir Path");
    EXPECT_EQ(request(2).caption, "Path for Temporary Files");
    EXPECT_EQ(request(2).startPath, "/tmp/vx");
}
