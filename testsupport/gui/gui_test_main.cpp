// The main of every GUI test suite: one QApplication for the whole run,
// numbers in the C locale, rule faults that fail instead of ending, scripted
// dialogs, death tests that re-run the
// suite (a forked child would share Qt's threads), and a Qt warning counts as
// a test failure.
#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>
#include <memory>

#include "analyse/rules/rule_file.h"
#include "testsupport/gui/gui_test.h"

namespace {

// Notices of Qt's offscreen platform about what it cannot do; nothing a
// widget did wrong.
const char* const offscreen_notices[] = {
    "This plugin does not support",
    "QStandardPaths: XDG_RUNTIME_DIR not set",
};

void fail_on_qt_warning(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    for (const char* notice : offscreen_notices)
        if (message.startsWith(QLatin1String(notice)))
            return;
    ADD_FAILURE() << "Qt warning: " << message.toStdString();
    if (type == QtFatalMsg)
        std::abort();
}

// Each test starts with an empty dialog script; at its end what it left to
// deleteLater() is deleted, and answers it never used fail it.
class ScriptCheck : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { vx_gui_test::dialogs().clear(); }
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        vx_gui_test::flush_deferred_deletes();
        const int left = vx_gui_test::dialogs().answersLeft();
        if (left > 0)
            ADD_FAILURE() << left << " scripted dialog answer(s) never asked for";
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");

    qInstallMessageHandler(fail_on_qt_warning);
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    // As the program runs: a faulty rule fails instead of ending the process.
    set_rule_faults_fatal(false);
    VxDialogService::install(std::make_unique<VxScriptedDialogs>());

    // Listeners hear a test's end in reverse order: this one, appended
    // after the printer, adds its failures before the printer reports.
    ::testing::UnitTest::GetInstance()->listeners().Append(new ScriptCheck);
    return RUN_ALL_TESTS();
}
