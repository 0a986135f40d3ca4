// Queries of three rule files (two on the bright tree, one on the dark) over
// a repository of 16 grey images of 512 x 512, and the C4.5 export of the
// query result. The set-up computes the tree files once with
// computeRepositoryStep, at 20 scales as the repository benchmark does.
//
// BM_QueryImagesStep: the query run as the GUI drives it, one image per
// step (load both trees, attributes with the update rule, three queries,
// summary line, result images, classified table). Counter: seconds per
// image.
//
// BM_QueryPhases/<images>: the same work split into its phases, through the
// operations the run uses: tree loading, attributes, rule runs (each rule
// file parsed and run on its tree, applyQuery). Counters: seconds per image
// of each phase, and the time to parse one rule file at the first and at the
// last image, with 4 and with 16 images: a query's parse must not grow with
// the repository.
//
// BM_C45Export: c4_5_training of the bright query classes over the query
// result read back as a labeled repository (no learner on PATH). Counter:
// seconds per image.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "analyse/display/visual_analyse.h"
#include "analyse/files/treeio.h"
#include "analyse/rules/rule_file.h"
#include "analyse/rules/rule_program.h"
#include "analyse/trees/regiontree.h"
#include "automation/repository/query_summary.h"
#include "automation/repository/vx_labeled_repository.h"
#include "bench/bench_repository.h"
#include "bench/bench_support.h"
#include "imagecore/image.h"
#include "imagecore/vx_image.h"
#include "testsupport/file_repository.h"

namespace {

constexpr int kQueries = 3;
constexpr int kParseRepeats = 200;

class FileLabels : public VxLabeledRepository {
public:
    VxRepository* loadRepository(const char* file) override
    {
        return new vx_test::FileRepository(file);
    }
};

// The repository with its trees, the rule files and a query result, made
// once for every benchmark of the program.
struct query_data {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("vx_query_bench." + std::to_string(getpid()));
    std::string images = (dir / "images").string();
    std::string trees = (dir / "trees").string();
    std::string results = (dir / "results").string();
    std::string vxr = (dir / "r.vxr").string();
    std::string update = (dir / "update.rule").string();
    std::string rules[kQueries] = {(dir / "large.rule").string(), (dir / "dark.rule").string(),
                                   (dir / "compact.rule").string()};
    int modes[kQueries] = {1, 2, 1};
    const char* queries[kQueries] = {rules[0].c_str(), rules[1].c_str(), rules[2].c_str()};

    query_data()
    {
        std::filesystem::create_directories(images);
        std::filesystem::create_directories(trees);
        std::filesystem::create_directories(results);
        quiet_stdout quiet;
        repository_pictures pictures(images);
        vx_test::FileRepository repository(pictures.list.data(), kImages, trees.c_str(),
                                           images.c_str(), 3);
        repository.computeRepositoryInit(kScales);
        while (repository.computeRepositoryStep(nullptr, nullptr) >= 0) {}
        repository.write(vxr.c_str());
        write_text(update,
                   "DECLS: compactness := 4 * 3.14159 * area / pow(perimeter, 2.0);\n"
                   "depth := volume / area; #DECLS\n");
        write_text(rules[0], "RULES: TD: area > 200 && area < 20000 #RULES\n");
        write_text(rules[1], "RULES: TD: area > 100 && meangrey < 120 #RULES\n");
        write_text(rules[2],
                   "DECLS: c := 4 * 3.14159 * area / pow(perimeter, 2.0); #DECLS\n"
                   "RULES: TD: area > 50 && c > 0.6 BU: c > 0.8 #RULES\n");
    }
    ~query_data() { std::filesystem::remove_all(dir); }
    std::string summary() const { return (dir / "summary.vxq").string(); }
};

query_data& data()
{
    static query_data d;
    return d;
}

void BM_QueryImagesStep(benchmark::State& state)
{
    query_data& d = data();
    double seconds = 0;
    int images = 0;
    for (auto _ : state) {
        quiet_stdout quiet;
        vx_test::FileRepository repository(d.vxr.c_str());
        const std::string summary = d.summary();
        writeQuerySummaryHeader(summary.c_str(), "", d.vxr.c_str(), d.results.c_str(), d.queries,
                                d.modes, kQueries, kImages);
        repository.initResultTable((d.dir / "hits.csv").c_str());
        repository.initQueryImages(d.update.c_str(), d.queries, kQueries, summary.c_str(),
                                   d.results.c_str(), d.modes);
        for (int i = 0; i < kImages; ++i) {
            const clock_type::time_point start = clock_type::now();
            repository.QueryImagesStep(d.update.c_str(), d.queries, kQueries, summary.c_str(),
                                       d.results.c_str(), d.modes);
            seconds += seconds_since(start);
            ++images;
        }
    }
    state.counters["s_per_image"] = seconds / images;
}

void BM_QueryPhases(benchmark::State& state)
{
    query_data& d = data();
    const int count = static_cast<int>(state.range(0));
    double loading = 0;
    double attributes = 0;
    double rules = 0;
    double parse_first = 0;
    double parse_last = 0;
    int images = 0;
    for (auto _ : state) {
        quiet_stdout quiet;
        vx_test::FileRepository repository(d.vxr.c_str());
        for (int i = 0; i < count; ++i) {
            clock_type::time_point start = clock_type::now();
            region_tree* trees[2] = {load_elemset_region_tree(repository.BrightTreeFilename(i)),
                                     load_elemset_region_tree(repository.DarkTreeFilename(i))};
            loading += seconds_since(start);

            image* grey = repository.getImageGrey(i);
            start = clock_type::now();
            for (int k = 0; k < 2; ++k)
                va_update_region_tree(grey, trees[k], d.update.c_str(), k + 1);
            attributes += seconds_since(start);

            start = clock_type::now();
            for (int q = 0; q < kQueries; ++q) {
                region_tree* tree = trees[d.modes[q] - 1];
                std::vector<tregionnode*> nodes(static_cast<size_t>(tree->regions) + 1);
                repository.applyQuery(tree, d.queries[q], nodes.data(),
                                      static_cast<int>(nodes.size()), grey);
            }
            rules += seconds_since(start);

            // The parse alone, as every query does it, repeated to rise above
            // the clock's noise.
            if (i == 0 || i == count - 1) {
                start = clock_type::now();
                for (int repeat = 0; repeat < kParseRepeats; ++repeat)
                    for (const char* rule : d.queries)
                        delete_program(parse_rule_file(rule, kSize));
                const double parse = seconds_since(start) / (kParseRepeats * kQueries);
                (i == 0 ? parse_first : parse_last) += parse;
            }
            delete_image(grey);
            delete_regiontree(trees[0]);
            delete_regiontree(trees[1]);
            ++images;
        }
    }
    const double iterations = static_cast<double>(images) / count;
    state.counters["load_s_per_image"] = loading / images;
    state.counters["attributes_s_per_image"] = attributes / images;
    state.counters["rules_s_per_image"] = rules / images;
    state.counters["parse_us_first_image"] = 1e6 * parse_first / iterations;
    state.counters["parse_us_last_image"] = 1e6 * parse_last / iterations;
}

void BM_C45Export(benchmark::State& state)
{
    query_data& d = data();
    const std::string summary = (d.dir / "c45.vxq").string();
    {
        quiet_stdout quiet;
        vx_test::FileRepository repository(d.vxr.c_str());
        repository.QueryAllImages(d.update.c_str(), d.queries, kQueries, summary.c_str(),
                                  d.results.c_str(), d.modes);
    }
    const std::string stem = (d.dir / "training").string();
    const int attributes[] = {0, 3, 8, 9, 12, 13, 17, 18, 21, 35, 36};
    const char* saved = std::getenv("PATH");
    const std::string path = saved != nullptr ? saved : "";
    setenv("PATH", d.trees.c_str(), 1);
    double seconds = 0;
    int images = 0;
    for (auto _ : state) {
        quiet_stdout quiet;
        FileLabels labels;
        labels.read(summary.c_str());
        const clock_type::time_point start = clock_type::now();
        labels.c4_5_training(attributes, 11, 1, stem.c_str(), d.update.c_str());
        seconds += seconds_since(start);
        images += labels.getNumberOfImages();
    }
    setenv("PATH", path.c_str(), 1);
    state.counters["s_per_image"] = seconds / images;
    state.counters["data_bytes"] = static_cast<double>(std::filesystem::file_size(stem + ".data"));
}

}  // namespace

BENCHMARK(BM_QueryImagesStep)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_QueryPhases)->Arg(4)->Arg(16)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_C45Export)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
