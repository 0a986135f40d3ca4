#pragma once

// A paged browser over a list of image files: 15 image buttons (5 a row)
// show one page, "First", "Prev 15", "Next 15" and "Last" turn the pages and
// a label names the shown range. A separate list view ("Index", "View",
// "Filename", hidden until showFileList) holds one row per image. Clicks on
// a thumbnail, or on a row's "View" column, report the image: left selects,
// right asks for its context, middle opens a full-size display window
// ("Current Display", deleted when closed); the list's destruction closes
// every such window. Label i is the tool tip of image i.

#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>

#include "gui/foundation/thumbnails/image_button_info.h"

class QButtonGroup;
class QEvent;
class QLabel;
class QPoint;
class QTreeWidget;
class QTreeWidgetItem;
class VxImageButton;

class VxDisplayImageList : public QWidget {
    Q_OBJECT
public:
    // The first n files (at most as many as `files` holds) with their labels
    // (an empty label where `labels` is shorter); the title goes to the list
    // view's window title "List View: <title>". Only min(n, 15) buttons
    // exist; the first page shows images 0 .. min(n, 15) - 1.
    VxDisplayImageList(const QStringList& files, int n, const QStringList& labels,
                       const QString& title, QWidget* parent, const char* name);
    // Emits closeFullImageDisplays() first.
    ~VxDisplayImageList() override;

    // The button shows the file with the label in its tool tip, and image
    // `entry` becomes that file (in the list and its row). Nothing when the
    // entry or the button does not exist.
    void resetButtonImage(int entry, int button, QString file, QString label);
    // The button alone.
    void resetButtonImage(int button, QString file, QString label);
    // Image `entry` becomes the file with the label, in the list, its row
    // and on whichever button shows it now; later pages show it so too.
    // Nothing for an entry that does not exist.
    void resetImage(int entry, QString file, QString label);
    // The image index of the button; -1 for an empty or missing button.
    int getImageIndexFromButton(int button) const;

signals:
    void clickedImageContext(int iImageIDint);
    void clickedImageButtonContext(int iButtonIndex, int iImageIDint);
    void clickedImage(int iImageIDint);
    void clickedImageButton(int iButtonIndex, int iImageIDint);
    void closeFullImageDisplays();

public slots:
    // Each ignores an empty button's record (image index below 0); else the
    // record's button gets the keyboard focus and its faded look first.
    // Emits clickedImage, then clickedImageButton.
    void ImageSelected(t_imagebuttoninfo& ibiProperties);
    // Opens a full-size display window of the record's file.
    void ShowFullImage(t_imagebuttoninfo& ibiProperties);
    // Emits clickedImageContext, then clickedImageButtonContext.
    void ContextHandler(t_imagebuttoninfo& ibiProperties);
    // Paging: "Next 15" while images follow the shown range, "Prev 15" (to
    // 0 at most), "First", "Last" (the last full multiple of 15, or n - 15
    // when n is one).
    void showNext();
    void showLast();
    void showFirst();
    void showFinal();
    // Shows images iFrom .. iFrom + 14 (buttons beyond the last image are
    // emptied); nothing for iFrom outside 0 .. n - 1.
    void showImageListWindow(int iFrom);
    void showFileList();
    // A click with mouse button `button` (1 left, 2 right, 4 middle) on
    // column c of a row: the row's page is shown and its button focused; in
    // the "View" column (1) the click then acts as on the thumbnail.
    void ListEntrySelected(int button, QTreeWidgetItem* pqlvItem, const QPoint& pos, int c);

protected:
    // Releases of the mouse in the list view's viewport reach
    // ListEntrySelected with the row and column under the mouse.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int pageSize = 15;
    static constexpr int rowSize = 5;
    // Columns of the list view.
    static constexpr int indexColumn = 0;
    static constexpr int viewColumn = 1;
    static constexpr int fileColumn = 2;

    void buildFileListView(const QString& title);
    void buildLayout();
    // Focus handling of the click slots: false for an empty button's record.
    bool focusClicked(const t_imagebuttoninfo& properties);
    void focusButton(int button);
    // Null for a button that does not exist.
    VxImageButton* buttonAt(int button) const;
    void showPageLabel();

    QStringList files;
    int n = 0;
    // The image buttons under their index; only min(n, 15) exist.
    QButtonGroup* buttonGroup = nullptr;
    QLabel* pageLabel = nullptr;
    QStringList labels;
    int pageStart = 0;
    // One past the last image shown.
    int shownEnd = 0;
    std::unique_ptr<QTreeWidget> fileListView;
};
