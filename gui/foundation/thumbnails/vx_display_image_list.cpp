// VxDisplayImageList: construction, pages and the buttons' content.
#include "gui/foundation/thumbnails/vx_display_image_list.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/foundation/thumbnails/vx_image_button.h"
#include "imagecore/text/vxstringtools.h"

VxDisplayImageList::VxDisplayImageList(const QStringList& files, int n, const QStringList& labels,
                                       const QString& title, QWidget* parent, const char* name)
    : QWidget(parent),
      files(files),
      n(std::clamp(n, 0, static_cast<int>(files.size()))),
      labels(labels)
{
    setObjectName(QString::fromLatin1(name));
    buttonGroup = new QButtonGroup(this);
    buttonGroup->setObjectName(QStringLiteral("Image Buttons"));
    buildFileListView(title);
    buildLayout();
    shownEnd = std::min(this->n, pageSize);
    showPageLabel();
}

VxDisplayImageList::~VxDisplayImageList()
{
    emit closeFullImageDisplays();
    fileListView.reset();
}

void VxDisplayImageList::buildFileListView(const QString& title)
{
    fileListView = std::make_unique<QTreeWidget>();
    fileListView->setObjectName(QStringLiteral("Display Image List List View"));
    fileListView->setWindowTitle("List View: " + title);
    fileListView->setHeaderLabels(
        {QStringLiteral("Index"), QStringLiteral("View"), QStringLiteral("Filename")});
    fileListView->setRootIsDecorated(false);
    const int digits = getDigits(n, 10) + 1;
    QList<QTreeWidgetItem*> rows;
    for (int i = 0; i < n; ++i) {
        char number[32];
        leadingDecimalZeros(number, sizeof number, i + 1, digits);
        rows << new QTreeWidgetItem(
            {QString::fromLatin1(number), QStringLiteral("O"), files.at(i)});
    }
    fileListView->addTopLevelItems(rows);
    fileListView->viewport()->installEventFilter(this);
}

void VxDisplayImageList::buildLayout()
{
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->setSizeConstraint(QLayout::SetFixedSize);
    QHBoxLayout* row = nullptr;
    const int count = std::min(n, pageSize);
    for (int i = 0; i < count; ++i) {
        if (i % rowSize == 0) {
            row = new QHBoxLayout;
            box->addLayout(row);
            // A short last row keeps to the left, under the columns above.
            row->addStretch();
        }
        auto* button = new VxImageButton(files.at(i), i, labels.value(i), this,
                                         objectName().toLatin1().constData());
        row->insertWidget(i % rowSize, button);
        buttonGroup->addButton(button, i);
        connect(button, &VxImageButton::leftClick, this, &VxDisplayImageList::ImageSelected,
                Qt::DirectConnection);
        connect(button, &VxImageButton::middleClickImagebutton, this,
                &VxDisplayImageList::ShowFullImage, Qt::DirectConnection);
        connect(button, &VxImageButton::rightClick, this, &VxDisplayImageList::ContextHandler,
                Qt::DirectConnection);
    }

    auto* navigation = new QHBoxLayout;
    box->addLayout(navigation);
    const auto add = [this, navigation](const char* text, void (VxDisplayImageList::*slot)()) {
        auto* button = new QPushButton(QString::fromLatin1(text), this);
        navigation->addWidget(button);
        connect(button, &QPushButton::clicked, this, slot);
    };
    add("First", &VxDisplayImageList::showFirst);
    add("Prev 15", &VxDisplayImageList::showLast);
    add("Next 15", &VxDisplayImageList::showNext);
    add("Last", &VxDisplayImageList::showFinal);
    pageLabel = new QLabel(this);
    navigation->addWidget(pageLabel);
}

void VxDisplayImageList::showPageLabel()
{
    pageLabel->setText(
        QStringLiteral("Images from %1 To %2 of %3").arg(pageStart + 1).arg(shownEnd).arg(n));
}

void VxDisplayImageList::showImageListWindow(int iFrom)
{
    if (iFrom < 0 || iFrom >= n)
        return;
    pageStart = iFrom;
    for (int b = 0; VxImageButton* button = buttonAt(b); ++b) {
        const int a = iFrom + b;
        if (a < n) {
            button->setProperties(a, files.at(a), labels.value(a));
            shownEnd = a + 1;
        } else {
            button->setEmpty();
        }
    }
    showPageLabel();
}

void VxDisplayImageList::showNext()
{
    if (shownEnd < n)
        showImageListWindow(pageStart + pageSize);
}

void VxDisplayImageList::showLast()
{
    showImageListWindow(pageStart < pageSize ? 0 : pageStart - pageSize);
}

void VxDisplayImageList::showFirst()
{
    showImageListWindow(0);
}

void VxDisplayImageList::showFinal()
{
    showImageListWindow(n % pageSize != 0 ? n / pageSize * pageSize : n - pageSize);
}

void VxDisplayImageList::showFileList()
{
    fileListView->show();
}

VxImageButton* VxDisplayImageList::buttonAt(int button) const
{
    return static_cast<VxImageButton*>(buttonGroup->button(button));
}

void VxDisplayImageList::resetButtonImage(int entry, int button, QString file, QString label)
{
    VxImageButton* target = buttonAt(button);
    if (entry < 0 || entry >= n || target == nullptr)
        return;
    target->setImage(file, label);
    files[entry] = file;
    fileListView->topLevelItem(entry)->setText(fileColumn, file);
}

void VxDisplayImageList::resetButtonImage(int button, QString file, QString label)
{
    if (VxImageButton* target = buttonAt(button))
        target->setImage(file, label);
}

void VxDisplayImageList::resetImage(int entry, QString file, QString label)
{
    if (entry < 0 || entry >= n)
        return;
    files[entry] = file;
    while (labels.size() <= entry)
        labels << QString();
    labels[entry] = label;
    fileListView->topLevelItem(entry)->setText(fileColumn, file);
    for (int b = 0; VxImageButton* button = buttonAt(b); ++b)
        if (button->getImageIndex() == entry)
            button->setImage(file, label);
}

int VxDisplayImageList::getImageIndexFromButton(int button) const
{
    const VxImageButton* target = buttonAt(button);
    return target != nullptr ? target->getImageIndex() : -1;
}
