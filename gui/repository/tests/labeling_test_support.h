#pragma once

// The classification view over a new labelling of two pictures (class 1
// bright, class 2 dark), driven as a user would: its thumbnails, menu
// entries and the labelling views they open.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QString>
#include <QTest>
#include <string>

#include "gui/analysis/tests/analysis_test_support.h"
#include "gui/foundation/thumbnails/vx_image_button.h"
#include "gui/repository/tests/labeled_test_support.h"
#include "gui/repository/vx_classification_view.h"
#include "gui/repository/vx_select_regions_from_tree.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/vx_test.h"

namespace labeling_test {

using analysis_test::click;

using vx_gui_test::q;

// Triggers the entry of the widget's menus with this text.
inline void trigger(QWidget& widget, const QString& entry)
{
    for (QAction* action : widget.findChildren<QAction*>())
        if (action->text() == entry)
            return action->trigger();
    ADD_FAILURE() << "no entry " << entry.toStdString();
}

// The open labelling view of picture img<image>.pgm; null when there is none.
inline VxSelectRegionsFromTree* labelling_view(int image)
{
    const QString title = "img" + QString::number(image) + ".pgm";
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* view = qobject_cast<VxSelectRegionsFromTree*>(widget))
            if (view->windowTitle().endsWith(title))
                return view;
    return nullptr;
}

class ViewTest : public ::testing::Test {
protected:
    labeled_test::labeled_dir l{2};
    std::string rule = l.d.dir.file("Attributes.rule");
    QPointer<VxClassificationView> view;

    void SetUp() override
    {
        vx_test::write_file(rule,
                            "DECLS:\n areafraction := area / sons;\n#DECLS\nRULES:\nTD:\n"
                            "#RULES\n");
        QTVxLabeledRepository* labeled = l.labeled(3).release();
        vx_test::printed_by([&] {
            view = new VxClassificationView(labeled, nullptr, "Classification View");
            view->setUpdateRule(rule.c_str());
        });
    }
    void TearDown() override
    {
        delete view;
        vx_gui_test::flush_deferred_deletes();
    }

    VxImageButton* thumbnail(int button) const
    {
        return view->findChildren<VxImageButton*>().value(button);
    }
    // Clicks the thumbnail; returns the labelling view of the image it shows.
    VxSelectRegionsFromTree* open(int button) const
    {
        const int image = thumbnail(button)->getImageIndex();
        vx_test::printed_by([&] { QTest::mouseClick(thumbnail(button), Qt::LeftButton); });
        return labelling_view(image);
    }
};

}  // namespace labeling_test
