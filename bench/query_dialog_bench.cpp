// A query run of the query dialog over a repository of 50 grey images of
// 512 x 512 (trees at 20 scales, computed once by the set-up), with three
// rule files: regions of a middle size on the bright tree, dark regions on
// the dark tree, and every region of the bright tree.
//
// BM_QueryDialogRun: Exec Query as the user starts it: per image both trees
// loaded and measured with the update rule, the three queries, the summary
// line with every hit, both result images written as PNG through Qt, the
// classified table, the bar and the events; then the result browser opens.
// Counters: seconds per image, the ".vxq" and table sizes and the hits of
// the rule that selects everything.
//
// BM_OpenQueryResult: the query-result browser on that result: the ".vxq"
// read with its hit lists and the first page of 15 thumbnails. Counter:
// seconds per opening.
//
// BM_LoadQuery/n: "Load Query" of a ".query" file of n rows (three small
// rule files in turn) into an empty dialog, until the form shows them: the
// rows, the list's height and the last rule in the editor. Counter: rows per
// second.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/bench_repository.h"
#include "bench/bench_support.h"
#include "bench/qt_bench_main.h"
#include "gui/foundation/scripted_dialogs.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/vx_image_file_formats.h"
#include "gui/repository/qtvx_repository.h"
#include "gui/repository/vx_browse_query_result.h"
#include "gui/repository/vx_query_repository_dialog.h"

namespace {

constexpr int images = 50;

struct repository_data {
    QTemporaryDir folder;
    std::string dir = folder.path().toStdString();
    std::string imagesPath = dir + "/images";
    std::string trees = dir + "/trees";
    std::string results = dir + "/results";
    std::string vxr = dir + "/rep.vxr";
    std::string vxq = dir + "/result.vxq";
    std::string update = dir + "/update.rule";
    std::string rules[3] = {dir + "/large.rule", dir + "/dark.rule", dir + "/every.rule"};

    repository_data()
    {
        quiet_stdout quiet;
        std::filesystem::create_directories(imagesPath);
        std::filesystem::create_directories(trees);
        std::filesystem::create_directories(results);
        repository_pictures pictures(imagesPath, images, 71u);
        QTVxRepository repository(pictures.list.data(), images, trees.c_str(), imagesPath.c_str(),
                                  3);
        repository.computeRepositoryInit(kScales);
        while (repository.computeRepositoryStep(nullptr, nullptr) >= 0) {}
        repository.WriteRepository(vxr.c_str());
        write_text(update,
                   "DECLS: compactness := 4 * 3.14159 * area / pow(perimeter, 2.0);\n"
                   "depth := volume / area; #DECLS\n");
        write_text(rules[0], "RULES: TD: area > 200 && area < 20000 #RULES\n");
        write_text(rules[1], "RULES: TD: area > 100 && meangrey < 120 #RULES\n");
        write_text(rules[2], "RULES: TD: area > 0 BU: area > 0 #RULES\n");
    }
};

repository_data& data()
{
    static repository_data made;
    return made;
}

// The dialog filled in as a user would, its format chooser answered with PNG.
void run_queries(VxScriptedDialogs& script, VxBasePaths& paths)
{
    const repository_data& d = data();
    VxQueryRepositoryDialog dialog(&paths, nullptr, "Query Repository", 0);
    dialog.findChild<QLineEdit*>("Repository Filename")->setText(QString::fromStdString(d.vxr));
    dialog.findChild<QLineEdit*>("Resultfilename")->setText(QString::fromStdString(d.vxq));
    dialog.findChild<QLineEdit*>("Destination Path")->setText(QString::fromStdString(d.results));
    dialog.findChild<QLineEdit*>("Update Rule")->setText(QString::fromStdString(d.update));
    auto* query = dialog.findChild<QLineEdit*>("Query Rule");
    for (const std::string& rule : d.rules) {
        query->setText(QString::fromStdString(rule));
        emit query->returnPressed();
    }
    // The dark rule runs on the dark tree.
    dialog.findChild<QTreeWidget*>("Selected Query Rules")->topLevelItem(1)->setText(0, "Dark");
    script.answer([](QDialog& chooser) {
        auto& formats = static_cast<VxImageFileFormats&>(chooser);
        formats.FormatSelection(formats.knownFormat("PNG"));
        return chooser.result();
    });
    dialog.show();
    dialog.findChild<QPushButton*>("Start Query")->click();
}

// The hits of the last query in the result's image lines.
double every_region_hits(const std::string& vxq)
{
    FILE* f = std::fopen(vxq.c_str(), "r");
    double hits = 0;
    char line[1 << 16];
    std::string text;
    while (std::fgets(line, sizeof line, f) != nullptr) {
        text += line;
        if (!text.empty() && text.back() != '\n')
            continue;
        const size_t at = text.find(", 3, ");
        if (at != std::string::npos)
            hits += std::stod(text.substr(at + 5));
        text.clear();
    }
    std::fclose(f);
    return hits;
}

class scripted_service {
public:
    scripted_service()
    {
        auto owned = std::make_unique<VxScriptedDialogs>();
        script_ = owned.get();
        previous_ = VxDialogService::install(std::move(owned));
    }
    ~scripted_service() { VxDialogService::install(std::move(previous_)); }
    VxScriptedDialogs& script() { return *script_; }

private:
    VxScriptedDialogs* script_ = nullptr;
    std::unique_ptr<VxDialogService> previous_;
};

// Widgets must go before the application does.
std::unique_ptr<VxBasePaths> shared_paths;

VxBasePaths& global_paths()
{
    if (!shared_paths) {
        const QString dir = QString::fromStdString(data().dir);
        shared_paths =
            std::make_unique<VxBasePaths>(dir, QString::fromStdString(data().update), QString(),
                                          dir, dir, nullptr, "Global Base Paths", 0);
    }
    return *shared_paths;
}

void free_paths()
{
    shared_paths.reset();
}

void close_browsers()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (qobject_cast<VxBrowseQueryResult*>(window) != nullptr)
            window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void BM_QueryDialogRun(benchmark::State& state)
{
    data();
    scripted_service service;
    for (auto _ : state) {
        quiet_stdout quiet;
        std::filesystem::remove(data().vxq);
        run_queries(service.script(), global_paths());
        close_browsers();
        if (!std::filesystem::exists(data().vxq))
            state.SkipWithError("no query result");
    }
    state.counters["s_per_image"] = benchmark::Counter(
        images, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["vxq_bytes"] = static_cast<double>(std::filesystem::file_size(data().vxq));
    state.counters["table_bytes"] =
        static_cast<double>(std::filesystem::file_size(data().vxq + ".csv"));
    state.counters["every_region_hits"] = every_region_hits(data().vxq);
}

void BM_OpenQueryResult(benchmark::State& state)
{
    data();
    scripted_service service;
    if (!std::filesystem::exists(data().vxq)) {
        quiet_stdout quiet;
        run_queries(service.script(), global_paths());
        close_browsers();
    }
    for (auto _ : state) {
        quiet_stdout quiet;
        VxBrowseQueryResult browser(&global_paths(), QString::fromStdString(data().vxq), nullptr,
                                    "Query Result");
        if (!browser.loaded())
            state.SkipWithError("result not read");
    }
}

}  // namespace

void BM_LoadQuery(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    QTemporaryDir folder;
    const std::string dir = folder.path().toStdString();
    const std::string rules[3] = {dir + "/a.rule", dir + "/b.rule", dir + "/c.rule"};
    for (const std::string& rule : rules)
        write_text(rule, "RULES: TD: area > 200 && area < 20000 #RULES\n");
    const std::string query = dir + "/long.query";
    std::string text = "Repository: " + dir + "/rep.vxr\nResultFile: " + dir +
                       "/result.vxq\nResultPath: " + dir + "\nUpdateRule: " + dir +
                       "/update.rule\nNumQueries: " + std::to_string(rows) + "\n";
    for (int i = 0; i < rows; ++i)
        text += rules[i % 3] + (i % 2 == 0 ? ", Bright\n" : ", Dark\n");
    write_text(query, text);

    scripted_service service;
    const QString folderText = QString::fromStdString(dir);
    VxBasePaths paths(folderText, folderText + "/update.rule", QString(), folderText, folderText,
                      nullptr, "Global Base Paths", 0);
    for (auto _ : state) {
        state.PauseTiming();
        auto dialog =
            std::make_unique<VxQueryRepositoryDialog>(&paths, nullptr, "Query Repository", 0);
        dialog->show();
        QCoreApplication::processEvents();
        service.script().answer(QString::fromStdString(query));
        QPushButton* load = nullptr;
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->text() == "Load Query")
                load = button;
        state.ResumeTiming();
        {
            quiet_stdout quiet;
            load->click();
            QCoreApplication::processEvents();
        }
        state.PauseTiming();
        if (dialog->findChild<QTreeWidget*>("Selected Query Rules")->topLevelItemCount() != rows)
            state.SkipWithError("rows not loaded");
        dialog.reset();
        state.ResumeTiming();
    }
    state.counters["rows_per_s"] =
        benchmark::Counter(rows, benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_QueryDialogRun)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_OpenQueryResult)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadQuery)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char** argv)
{
    return vx_qt_benchmark_main(argc, argv, free_paths);
}
