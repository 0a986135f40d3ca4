// vx_analyse: builds the application and its main window and runs the event
// loop. Qt's own options ("-style <style>") are the only command line.
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QStyleFactory>
#include <clocale>
#include <cstdio>

#include "analyse/rules/rule_file.h"
#include "app/font_rule.h"
#include "gui/foundation/gui_exit.h"
#include "gui/shell/vx_main_window.h"

int main(int argc, char** argv)
{
    // Trace lines reach a pipe or a log as they are printed.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication application(argc, argv);
    // Qt has taken the environment's locale; numbers stay in the C locale.
    std::setlocale(LC_NUMERIC, "C");
    // A faulty rule fails its run instead of ending the program.
    set_rule_faults_fatal(false);

    QFont font = QApplication::font();
    const QStringList styles = QStyleFactory::keys();
    std::printf("For different Styles start vx_analyse -style <style>\n");
    std::printf("where <style> is one of\n");
    for (const QString& style : styles)
        std::printf("%s\n", style.toLocal8Bit().constData());

    if (vx_enlarge_small_font(font))
        QApplication::setFont(font);

    std::printf("Running vx_analyse\n");
    std::fflush(stdout);

    // The window deletes itself on quit or close; its end ends the loop.
    auto* window = new vx_main_window(QCoreApplication::applicationDirPath(), QDir::currentPath(),
                                      nullptr, "Main Apllication Window");
    QObject::connect(window, &QObject::destroyed, &application, &QCoreApplication::quit);
    window->setVisible(true);
    application.exec();
    std::fflush(stdout);
    return exit_code::event_loop_ended;
}
