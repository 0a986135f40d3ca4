#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>

#include "gui/foundation/open_work.h"
#include "gui/foundation/vx_message_popup.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/vx_test.h"

namespace {

QPushButton* button(VxMessagePopUp& popUp, const QString& text)
{
    for (QPushButton* b : popUp.findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

}  // namespace

TEST(VxMessagePopUp, ShowsHeaderMessageAndTheTwoButtonsInThisOrder)
{
    VxMessagePopUp popUp(4, "!!Write Error!!", "Could not write\n/x.png");
    EXPECT_EQ(popUp.objectName(), "Message Pop Up");
    EXPECT_EQ(popUp.windowTitle(), "!!Write Error!!");
    EXPECT_TRUE(popUp.isModal());
    QStringList order;
    for (int i = 0; i < popUp.layout()->count(); ++i) {
        QWidget* w = popUp.layout()->itemAt(i)->widget();
        if (auto* label = qobject_cast<QLabel*>(w))
            order << label->text();
        else if (auto* b = qobject_cast<QPushButton*>(w))
            order << b->text();
    }
    EXPECT_EQ(order, QStringList({"Message from vx_analyse", "Could not write\n/x.png",
                                  "Acknowlege", "Exit Application !"}));
    EXPECT_EQ(button(popUp, "Acknowlege")->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
}

TEST(VxMessagePopUp, AcknowlegeSendsTheTitleAndCloses)
{
    // Bits other than the fatal one change nothing, also when destroyed.
    auto* popUp = new VxMessagePopUp(1 | 4 | 8, "No Update Rule available", "text");
    QSignalSpy acknowledged(popUp, qOverload<const QString&>(&VxMessagePopUp::acknowledged));
    popUp->show();
    button(*popUp, "Acknowlege")->click();
    ASSERT_EQ(acknowledged.count(), 1);
    EXPECT_EQ(acknowledged.at(0).at(0).toString(), "No Update Rule available");
    EXPECT_FALSE(popUp->isVisible());
    EXPECT_EQ(popUp->findChildren<QLabel*>().size(), 2);
    delete popUp;
}

TEST(VxMessagePopUpDeathTest, AFatalBoxSaysSoAndEndsTheProgramWith42WhenDestroyed)
{
    EXPECT_VX_FATAL(
        {
            VxMessagePopUp popUp(2 | 4, "Fatal", "m");
            for (QLabel* label : popUp.findChildren<QLabel*>())
                std::printf("%s\n", qPrintable(label->text()));
        },
        42, "Fatal Error! Safe recovery impossible!\nProgram termination\nPlease report");
}

TEST(VxMessagePopUp, ExitApplicationAsksOnceWhileWorkIsOpenAndNoKeepsTheSession)
{
    const VxOpenWork analysis;
    VxMessagePopUp popUp(4, "t", "m");
    vx_gui_test::dialogs().press("&No");
    button(popUp, "Exit Application !")->click();
    const auto& asked = vx_gui_test::dialogs().requests();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].title, "End Corvella");
    EXPECT_TRUE(asked[0].labels.contains("End Corvella? Open analyses are not saved."));
}

TEST(VxMessagePopUpDeathTest, ExitApplicationWhileWorkIsOpenEndsWith10OnYes)
{
    EXPECT_VX_FATAL(
        {
            const VxOpenWork analysis;
            VxMessagePopUp popUp(4, "t", "m");
            vx_gui_test::dialogs().press("&Yes");
            std::printf("before exit\n");
            button(popUp, "Exit Application !")->click();
        },
        10, "before exit");
}

TEST(VxMessagePopUpDeathTest, ExitApplicationEndsTheProgramWith10)
{
    EXPECT_VX_FATAL(
        {
            VxMessagePopUp popUp(4, "t", "m");
            std::printf("before exit\n");
            button(popUp, "Exit Application !")->click();
        },
        10, "before exit");
}
