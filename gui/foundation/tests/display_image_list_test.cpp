#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QTreeWidget>
#include <QtTest/QTest>
#include <memory>
#include <string>
#include <vector>

#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/thumbnails/vx_display_image_list.h"
#include "gui/foundation/thumbnails/vx_image_button.h"
#include "picture_files.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/vx_test.h"

namespace {

// A list over n pictures (6 x 4, picture i of grey i) labelled "label i".
struct ImageList {
    explicit ImageList(int n, const QString& title = "Set")
    {
        for (int i = 0; i < n; ++i) {
            files << picture_files::write_png(dir, "p" + std::to_string(i) + ".png", 6, 4,
                                              qRgb(i, i, i));
            labels << QString("label %1").arg(i);
        }
        list = std::make_unique<VxDisplayImageList>(files, n, labels, title, nullptr, "List");
    }

    // The page label and the image index of every button.
    QString page() const
    {
        QStringList shown;
        for (VxImageButton* button : buttons())
            shown << QString::number(button->getImageIndex());
        return list->findChild<QLabel*>()->text() + ": " + shown.join(' ');
    }
    QString label() const { return list->findChild<QLabel*>()->text(); }
    QList<VxImageButton*> buttons() const { return list->findChildren<VxImageButton*>(); }

    vx_test::TempDir dir;
    QStringList files;
    QStringList labels;
    std::unique_ptr<VxDisplayImageList> list;
};

QTreeWidget* list_view(const QString& title)
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* view = qobject_cast<QTreeWidget*>(widget))
            if (view->windowTitle() == "List View: " + title)
                return view;
    return nullptr;
}

// A click in the list view's viewport on row `row`, column `column`.
void click_row(QTreeWidget* view, int row, int column, Qt::MouseButton which)
{
    const QRect rect = view->visualItemRect(view->topLevelItem(row));
    const QPoint at(view->header()->sectionViewportPosition(column) + 3, rect.center().y());
    QMouseEvent release(QEvent::MouseButtonRelease, at, view->viewport()->mapToGlobal(at), which,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &release);
}

}  // namespace

TEST(VxDisplayImageList, ShowsPagesOfFifteenAndEmptiesTheButtonsBeyondTheLastImage)
{
    ImageList seven(7);
    EXPECT_EQ(seven.page(), "Images from 1 To 7 of 7: 0 1 2 3 4 5 6");
    seven.list->show();
    QCoreApplication::processEvents();
    const QList<VxImageButton*> buttons = seven.buttons();
    EXPECT_EQ(buttons[4]->y(), buttons[0]->y());
    EXPECT_GT(buttons[5]->y(), buttons[4]->y());
    EXPECT_EQ(buttons[5]->x(), buttons[0]->x());
    EXPECT_EQ(buttons[3]->toolTip(), seven.files[3] + "\nlabel 3");
    seven.list->showNext();
    seven.list->showFinal();
    EXPECT_EQ(seven.page(), "Images from 1 To 7 of 7: 0 1 2 3 4 5 6");

    ImageList twenty(20);
    twenty.list->showFinal();
    EXPECT_EQ(twenty.page(),
              "Images from 16 To 20 of 20: 15 16 17 18 19 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1");
    EXPECT_EQ(twenty.buttons()[0]->toolTip(), twenty.files[15] + "\nlabel 15");
    EXPECT_EQ(twenty.list->getImageIndexFromButton(4), 19);
    EXPECT_EQ(twenty.list->getImageIndexFromButton(15), -1);
    twenty.list->showNext();
    EXPECT_EQ(twenty.label(), "Images from 16 To 20 of 20");
    twenty.list->showLast();
    EXPECT_EQ(twenty.page(), "Images from 1 To 15 of 20: 0 1 2 3 4 5 6 7 8 9 10 11 12 13 14");
    twenty.list->showNext();
    twenty.list->showFirst();
    twenty.list->showImageListWindow(20);
    twenty.list->showImageListWindow(-1);
    EXPECT_EQ(twenty.label(), "Images from 1 To 15 of 20");

    ImageList thirty(30);
    thirty.list->showFinal();
    EXPECT_EQ(thirty.label(), "Images from 16 To 30 of 30");
}

TEST(VxDisplayImageList, TheListViewNumbersItsRowsWithOneDigitMoreThanTheCount)
{
    QStringList names;
    for (int i = 0; i < 120; ++i)
        names << QString("/none/%1.png").arg(i);
    VxDisplayImageList many(names, 120, names, "Big", nullptr, "Many");
    QTreeWidget* view = list_view("Big");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->objectName(), "Display Image List List View");
    EXPECT_FALSE(view->isVisible());
    EXPECT_EQ(view->headerItem()->text(1), "View");
    EXPECT_EQ(view->topLevelItem(0)->text(0), "0001");
    EXPECT_EQ(view->topLevelItem(119)->text(0), "0120");
    EXPECT_EQ(view->topLevelItem(119)->text(1), "O");
    EXPECT_EQ(view->topLevelItem(119)->text(2), "/none/119.png");
    many.showFileList();
    EXPECT_TRUE(view->isVisible());

    // Entries and buttons out of range are ignored.
    many.resetButtonImage(3, 2, "/other.png", "new");
    many.resetButtonImage(120, 2, "/lost.png", "");
    many.resetButtonImage(3, 15, "/lost.png", "");
    many.resetButtonImage(-1, "/lost.png", "");
    EXPECT_EQ(view->topLevelItem(3)->text(2), "/other.png");
    EXPECT_EQ(many.findChildren<VxImageButton*>()[2]->toolTip(), "/other.png\nnew");

    const QStringList few = {"/a.png", "/b.png", "/c.png"};
    VxDisplayImageList three(few, 3, few, "Few", nullptr, "Few");
    EXPECT_EQ(list_view("Few")->topLevelItem(2)->text(0), "03");
}

TEST(VxDisplayImageList, ClicksOnThumbnailsAndRowsReportImageAndButtonAfterPaging)
{
    ImageList twenty(20, "Clicks");
    std::vector<std::string> seen;
    const auto note = [&seen](const char* what) {
        return [&seen, what](int a, int b) {
            seen.push_back(std::string(what) + " " + std::to_string(a) + " " + std::to_string(b));
        };
    };
    VxDisplayImageList* list = twenty.list.get();
    QObject::connect(list, &VxDisplayImageList::clickedImageContext,
                     [note](int image) { note("context")(image, -1); });
    QObject::connect(list, &VxDisplayImageList::clickedImageButtonContext, note("context button"));
    QObject::connect(list, &VxDisplayImageList::clickedImage,
                     [note](int image) { note("image")(image, -1); });
    QObject::connect(list, &VxDisplayImageList::clickedImageButton, note("button"));

    list->showNext();
    QTest::mouseClick(twenty.buttons()[2], Qt::RightButton);
    QTest::mouseClick(twenty.buttons()[2], Qt::LeftButton);
    QTest::mouseClick(twenty.buttons()[7], Qt::LeftButton);  // empty
    EXPECT_EQ(seen, std::vector<std::string>(
                        {"context 17 -1", "context button 2 17", "image 17 -1", "button 2 17"}));

    // A row's "View" column acts on the row's thumbnail, after showing its
    // page; the other columns only show the page.
    seen.clear();
    list->showFileList();
    QTreeWidget* view = list_view("Clicks");
    QCoreApplication::processEvents();
    click_row(view, 3, 0, Qt::LeftButton);
    EXPECT_EQ(twenty.label(), "Images from 1 To 15 of 20");
    EXPECT_TRUE(seen.empty());
    click_row(view, 18, 1, Qt::RightButton);
    click_row(view, 4, 1, Qt::LeftButton);
    EXPECT_EQ(seen, std::vector<std::string>(
                        {"context 18 -1", "context button 3 18", "image 4 -1", "button 4 4"}));
}

TEST(VxDisplayImageList, AMiddleClickOpensAFullSizeWindowThatClosesWithTheList)
{
    ImageList three(3);
    QTest::mouseClick(three.buttons()[1], Qt::MiddleButton);
    QWidget* window = vx_gui_test::top_level_widget("Current Display");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Display:" + three.files[1]);
    EXPECT_TRUE(window->testAttribute(Qt::WA_DeleteOnClose));
    auto* frame = window->findChild<qimage_frame*>("image display from VxDisplayImageList");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->ImageWidth(), 6);
    EXPECT_EQ(frame->get_t_image()->pixels[0], 0x010101);

    // One closed by hand goes at once; the list's end closes the others.
    QTest::mouseClick(three.buttons()[2], Qt::MiddleButton);
    window->close();
    vx_gui_test::flush_deferred_deletes();
    ASSERT_NE(vx_gui_test::top_level_widget("Current Display"), nullptr);
    three.list.reset();
    vx_gui_test::flush_deferred_deletes();
    EXPECT_EQ(vx_gui_test::top_level_widget("Current Display"), nullptr);
}
