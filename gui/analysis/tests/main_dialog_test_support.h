#pragma once

// The analysis dialog over a computed analysis of a picture, for the
// dialog's tests, with the clicks and texts they use.

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <filesystem>
#include <memory>
#include <string>

#include "gui/analysis/tests/analysis_test_support.h"
#include "gui/analysis/vx_analyse_main_dialog.h"
#include "gui/analysis/vx_draw_region.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/vx_edit_dialog.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/vx_test.h"

namespace analysis_test {

// A rule that selects the region of a bright 8 x 8 square alone: its upper
// seven rows (the last is on the watershed line below it).
inline const std::string square_rule = "RULES: TD: area > 50 && area < 60 #RULES\n";

class MainDialogTest : public AnalysisTest {
protected:
    MainDialogTest()
    {
        const QString here = QString::fromStdString(dir.path().string());
        shared = std::make_unique<VxBasePaths>(here, here + "/Attributes.rule", QString(), here,
                                               here, nullptr, "Global Base Paths", 0);
    }
    ~MainDialogTest() override { delete dialog; }

    // The dialog over a computed analysis of the picture, stored as `name`.
    void open(const QImage& img, const std::string& name = "picture.png")
    {
        std::unique_ptr<vx_analyse_control> computedControl = computed(img, 3, name);
        control = computedControl.get();
        dialog = vx_test::capturing_stdout([&] {
            return new vx_analyse_main_dialog(shared.get(), computedControl.release(), nullptr,
                                              "Analyse Image", 0);
        });
        dialog->show();
    }

    template <class Widget = QPushButton>
    Widget* child(const char* name) const
    {
        auto* found = dialog->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void press(const char* name) const
    {
        vx_test::printed_by([&] { QTest::mouseClick(child(name), Qt::LeftButton); });
    }

    // The rule typed into the bright editor of `target` (null: the
    // dialog), then "Apply Query".
    void query(const std::string& rule, QWidget* target = nullptr)
    {
        QWidget* in = target != nullptr ? target : dialog.data();
        auto* editor = in->findChild<VxEditDialog*>("Bright Rule Edit");
        editor->findChild<QPlainTextEdit*>()->setPlainText(QString::fromLatin1(rule.c_str()));
        vx_test::printed_by([&] {
            QTest::mouseClick(in->findChild<QPushButton*>("Apply Bright Query"), Qt::LeftButton);
        });
    }

    // "Draw Bright" (the active bright regions become the sketch),
    // "Attributes", "Export Query" to `rule` with the default ticks, then
    // "Apply Bright Query" with the rule the tool handed over.
    void queryLikeTheSketch(const std::string& rule)
    {
        press("Draw Bright");
        auto* tool = static_cast<VxDrawRegion*>(vx_gui_test::top_level_widget("HALLO"));
        ASSERT_NE(tool, nullptr);
        vx_test::printed_by([&] { tool->computeAttributes(); });
        vx_gui_test::dialogs().answer(qfile(rule));
        tool->exportRule();
        press("Apply Bright Query");
    }

    qimage_frame* display() const { return control->pdisplay(); }

    std::unique_ptr<VxBasePaths> shared;
    QPointer<vx_analyse_control> control;
    QPointer<vx_analyse_main_dialog> dialog;
};

}  // namespace analysis_test
