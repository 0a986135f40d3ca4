// A new repository of 20 grey images of 512 x 512 at 20 scales, built as
// the new-repository dialog builds it.
//
// BM_NewRepository/2: the dialog's Compute: per image both trees at the same
// time on two tree threads, the tree bars, the image bar and the log moved
// on the GUI thread, then the .vxr written.
// BM_NewRepository/1: the same repository of the GUI (QTVxRepository) on
// one thread: bright, then dark, image by image, then the .vxr written.
// Both compute every tree anew, with one tree worker per tree
// (BM_NewRepository/<1|2>/1) or the default count (/0). Run on two cores
// (taskset -c 0,1) to compare them.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_repository.h"
#include "bench/bench_support.h"
#include "bench/qt_bench_main.h"
#include "filter/tree_workers.h"
#include "gui/foundation/scripted_dialogs.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/repository/qtvx_repository.h"
#include "gui/repository/vx_new_repository_dialog.h"

namespace {

constexpr int images = 20;

struct repository_data {
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("vx_new_repository_bench." + std::to_string(getpid()));
    std::string imagesPath = (dir / "images").string();
    std::string treesPath = (dir / "trees").string();
    std::string file = (dir / "trees" / "rep.vxr").string();
    std::vector<std::string> names;

    repository_data()
    {
        std::filesystem::create_directories(imagesPath);
        std::filesystem::create_directories(treesPath);
        for (int i = 0; i < images; ++i) {
            names.push_back("image" + std::to_string(i) + ".pgm");
            write_blob_picture(imagesPath + "/" + names.back(), kSize,
                               41u + static_cast<unsigned>(i));
        }
    }
    ~repository_data()
    {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
};

repository_data& data()
{
    static repository_data made;
    return made;
}

QPushButton* button(QWidget& dialog, const QString& name)
{
    for (QPushButton* found : dialog.findChildren<QPushButton*>())
        if (found->text() == name || found->objectName() == name)
            return found;
    return nullptr;
}

// The dialog over the images, every tree computed anew.
void compute_in_dialog(VxScriptedDialogs& script, VxBasePaths& paths)
{
    vx_new_repository_dialog dialog(&paths, nullptr, "Create Repository");
    QStringList files;
    for (const std::string& name : data().names)
        files << QString::fromStdString(data().imagesPath + "/" + name);
    script.answer(files);
    button(dialog, "Select List of Source Images")->click();
    dialog.findChild<QLineEdit*>("ResultNameEdit")->setText(QString::fromStdString(data().file));
    dialog.findChild<QLineEdit*>("Scales")->setText(QString::number(kScales));
    button(dialog, "Recomputation Mode")->click();
    dialog.show();
    button(dialog, "Compute")->click();
}

void compute_on_one_thread()
{
    std::vector<char*> list;
    for (std::string& name : data().names)
        list.push_back(name.data());
    QTVxRepository repository(list.data(), images, data().treesPath.c_str(),
                              data().imagesPath.c_str(), 3);
    repository.forceOverwrite(true);
    repository.computeRepository(kScales);
    repository.WriteRepository(data().file.c_str());
}

void BM_NewRepository(benchmark::State& state)
{
    {
        quiet_stdout quiet;
        data();
    }
    auto owned = std::make_unique<VxScriptedDialogs>();
    VxScriptedDialogs& script = *owned;
    std::unique_ptr<VxDialogService> previous = VxDialogService::install(std::move(owned));
    const QString dir = QString::fromStdString(data().dir.string());
    VxBasePaths paths(dir, dir + "/Attributes.rule", QString(), dir, dir, nullptr,
                      "Global Base Paths", 0);
    const bool threaded = state.range(0) == 2;
    set_tree_workers(static_cast<int>(state.range(1)));
    for (auto _ : state) {
        quiet_stdout quiet;
        std::filesystem::remove(data().file);
        if (threaded)
            compute_in_dialog(script, paths);
        else
            compute_on_one_thread();
        if (!std::filesystem::exists(data().file))
            state.SkipWithError("no repository file");
    }
    set_tree_workers(0);
    VxDialogService::install(std::move(previous));
    state.counters["s_per_image"] = benchmark::Counter(
        images, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_NewRepository)
    ->Args({1, 1})
    ->Args({2, 1})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    return vx_qt_benchmark_main(argc, argv);
}
