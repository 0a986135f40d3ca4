#include <algorithm>
#include <cmath>
#include <deque>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "analyse/handles.h"
#include "automation/sofm/vxsofm.h"
#include "filter/tree_workers.h"
#include "testsupport/vx_test.h"

using vx_test::read_file;
using vx_test::TempDir;
using vx_test::write_file;

namespace {

// count inputs of dimension 2: the first half near (0, 0), the rest near (9, 9).
vector_array* two_clusters(int count)
{
    vector_array* in = init_vector_array(2, count, 0.0);
    for (int i = 0; i < count; ++i) {
        const double base = i < count / 2 ? 0.0 : 9.0;
        in->vectors[i].values[0] = base + 0.1 * (i % 3);
        in->vectors[i].values[1] = base + 0.1 * (i % 2);
        in->vectors[i].gt_class = i < count / 2 ? 1 : 2;
    }
    return in;
}

// A map that counts its display refreshes.
class counted_map : public vxsofm {
public:
    using vxsofm::vxsofm;
    void refresh_display() override { ++refreshes; }
    void set_label_offset(int offset) { label_offset = offset; }
    int refreshes = 0;
};

// The map's console trace is not under test.
struct quiet {
    quiet() { testing::internal::CaptureStdout(); }
    ~quiet() { testing::internal::GetCapturedStdout(); }
};

std::string after_first_line(const std::string& text)
{
    return text.substr(text.find('\n') + 1);
}

// count inputs of dimension dim around five centres, each dimension on a
// scale of its own.
vector_array* clustered(int count, int dim)
{
    std::mt19937 random(11);
    std::normal_distribution<double> noise(0.0, 0.1);
    vector_array* in = init_vector_array(dim, count, 0.0);
    for (int i = 0; i < count; ++i)
        for (int k = 0; k < dim; ++k)
            in->vectors[i].values[k] =
                (1 + k % 3) * ((i % 5) * (k % 2 ? 1.0 : -0.5) + noise(random));
    return in;
}

// The process's worker count for as long as the object lives.
struct tree_workers {
    explicit tree_workers(int count) { set_tree_workers(count); }
    ~tree_workers() { set_tree_workers(0); }
};

// The region growing of cluster labels as written down, one queue entry
// at a time.
std::vector<int> grown_labels(const sofm_params& m)
{
    std::vector<int> labels(static_cast<size_t>(m.units), 0);
    std::vector<double> reached(static_cast<size_t>(m.units), 0.0);
    std::deque<int> queue;
    for (int i = 1; i < m.num_inputs; ++i)
        if (labels[static_cast<size_t>(m.cluster_center[i])] == 0) {
            labels[static_cast<size_t>(m.cluster_center[i])] = i;
            queue.push_back(m.cluster_center[i]);
        }
    const int w = m.width;
    for (; !queue.empty(); queue.pop_front()) {
        const int unit = queue.front();
        const int label = labels[static_cast<size_t>(unit)];
        const vector& centre = m.weights->vectors[m.cluster_center[label]];
        for (int offset : {-w, 1, w, -1, 1 - w, w + 1, w - 1, -w - 1}) {
            const int next = unit + offset;
            if (next < 0 || next >= m.units || std::abs(next % w - unit % w) > 1 ||
                labels[static_cast<size_t>(next)] == label)
                continue;
            const double x = euclidian_distance(&m.weights->vectors[next], &centre, m.dim);
            if (labels[static_cast<size_t>(next)] == 0 ? x >= reached[static_cast<size_t>(unit)]
                                                       : x < reached[static_cast<size_t>(next)]) {
                labels[static_cast<size_t>(next)] = label;
                reached[static_cast<size_t>(next)] = x;
                queue.push_back(next);
            }
        }
    }
    return labels;
}

}  // namespace

TEST(Vxsofm, SeparatedClustersLandOnSeparateUnitsAndTheSameSeedRepeats)
{
    quiet q;
    vector_array* a = two_clusters(24);
    vector_array* b = two_clusters(24);
    counted_map first(7, 4, a, 0.5, 1.0, 240, 1, 0);
    counted_map second(7, 4, b, 0.5, 1.0, 240, 1, 0);
    first.sofm_run(20);
    second.sofm_run(20);
    EXPECT_EQ(first.sofm()->step, 240);
    EXPECT_GT(first.refreshes, 12);

    std::set<int> low, high;
    for (int i = 1; i < 24; ++i) {
        const vector& in = a->vectors[i];
        const int centre = first.sofm()->cluster_center[i];
        ASSERT_GE(centre, 0);
        ASSERT_LT(centre, 28);
        EXPECT_EQ(in.col, centre % 7);
        EXPECT_EQ(in.row, centre / 7);
        (i < 12 ? low : high).insert(centre);
    }
    for (int unit : low)
        EXPECT_EQ(high.count(unit), 0u) << "unit " << unit << " holds inputs of both clusters";

    for (int j = 0; j < 28; ++j)
        for (int k = 0; k < 2; ++k)
            ASSERT_EQ(first.sofm()->weights->vectors[j].values[k],
                      second.sofm()->weights->vectors[j].values[k]);
    delete_vector_array(a);
    delete_vector_array(b);
}

// A map whose third refresh asks the training to stop.
class stopping_map : public counted_map {
public:
    using counted_map::counted_map;
    void refresh_display() override
    {
        if (++refreshes == 3)
            stop_training();
    }
};

TEST(Vxsofm, AStopEndsTheTrainingAfterTheStepBeforeAndTheClusterMapRefreshesPerRound)
{
    quiet q;
    const tree_workers workers(4);
    vector_array* in = clustered(1200, 3);
    // 49 units: the distance map is not shown after every input.
    stopping_map map(7, 7, in, 0.5, 1.0, 1200, 1, 0);
    map.sofm_run(10);
    // Refreshes before steps 0, 10 and 20; the cluster map after its first
    // two rounds of 512 inputs and at the end.
    EXPECT_EQ(map.sofm()->step, 20);
    EXPECT_EQ(map.refreshes, 6);
    for (int i = 1; i < 1200; ++i) {
        ASSERT_GE(map.sofm()->cluster_center[i], 0) << i;
        ASSERT_LT(map.sofm()->cluster_center[i], 49) << i;
    }
    // The next run starts without the stop and trains to the end.
    map.sofm_run(10);
    EXPECT_EQ(map.sofm()->step, 1200);
    delete_vector_array(in);
}

// 1199 inputs take part: rounds of 512 give a refresh after the first two
// rounds and one at the end, whatever the map's size.
TEST(Vxsofm, TheClusterMapRefreshesOncePerRoundOfInputsOnMapsOfEverySize)
{
    quiet q;
    const tree_workers workers(2);
    vector_array* in = clustered(1200, 3);
    for (const int width : {5, 7, 10}) {
        counted_map map(width, 3, in, 0.5, 1.0, 1, 1, 0);
        map.init_cluster_map();
        EXPECT_EQ(map.refreshes, 3) << map.sofm()->units << " units";
    }
    delete_vector_array(in);
}

TEST(Vxsofm, LinearNeighbourhoodMovesTheWinnerMost)
{
    quiet q;
    vector_array* in = init_vector_array(1, 1, 1.0);
    vxsofm map(4, 4, in, 0.5, 1.0, 10, 2, 0);
    for (int j = 0; j < 16; ++j)
        map.sofm()->weights->vectors[j].values[0] = j == 5 ? 0.9 : -5.0;
    map.sofm()->step = 1;
    map.sofm()->current = 0;
    map.sofm_adaptionstep();
    // m = 0.9 at step 1 of 10; the winner (distance 0) moves by rate * m.
    EXPECT_NEAR(map.sofm()->weights->vectors[5].values[0], 0.9 + 0.5 * 0.9 * 0.1, 1e-12);
    EXPECT_GT(map.sofm()->weights->vectors[4].values[0], -5.0);
    delete_vector_array(in);
}

TEST(Vxsofm, RefusesTrainingWithANegativeRateOrStep)
{
    vector_array* in = two_clusters(6);
    testing::internal::CaptureStdout();
    vxsofm map(3, 3, in, -0.5, 1.0, 10, 3, 0);
    map.sofm_run(0);
    map.sofm()->learn_rate = 0.5;
    map.sofm()->step = -3;
    map.sofm_step(0);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("SOFM not trained: learn rate -0.500000, step 0 of 10"), std::string::npos);
    EXPECT_NE(out.find("SOFM not trained: learn rate 0.500000, step -3 of 10"), std::string::npos);
    EXPECT_EQ(map.sofm()->step, -3);
    delete_vector_array(in);
}

TEST(Vxsofm, NeighboursStayOnTheMap)
{
    quiet q;
    vector_array* in = two_clusters(2);
    vxsofm map(5, 2, in, 0.5, 1.0, 10, 1, 0);
    EXPECT_TRUE(map.isNeighbor(0, 1));
    EXPECT_TRUE(map.isNeighbor(4, 4));   // lower-left neighbour
    EXPECT_FALSE(map.isNeighbor(4, 1));  // across the row end
    EXPECT_FALSE(map.isNeighbor(5, -1));
    EXPECT_FALSE(map.isNeighbor(0, -1));
    EXPECT_FALSE(map.isNeighbor(9, 1));
    EXPECT_FALSE(map.isNeighbor(-1, 1));
    EXPECT_FALSE(map.isNeighbor(10, -1));
    delete_vector_array(in);
}

TEST(Vxsofm, LabelGrowingEndsWhenCentresAreEquallyFar)
{
    quiet q;
    vector_array* in = two_clusters(3);
    counted_map map(6, 3, in, 0.5, 1.0, 10, 1, 0);
    for (int j = 0; j < 18; ++j)
        map.sofm()->weights->vectors[j].values[0] = map.sofm()->weights->vectors[j].values[1] = 1.0;
    map.sofm()->cluster_center[1] = 0;
    map.sofm()->cluster_center[2] = 17;
    map.initClusterLabelMap();
    map.set_label_offset(100);
    map.displayClusterLabelMap();
    for (int j = 0; j < 18; ++j) {
        const int label = map.sofm()->marker[j] - 100;
        EXPECT_TRUE(label == 1 || label == 2) << j;
    }
    EXPECT_EQ(map.sofm()->marker[0], 101);
    EXPECT_EQ(map.sofm()->marker[17], 102);
    EXPECT_EQ(map.refreshes, 1);
    delete_vector_array(in);
}

TEST(Vxsofm, SomFilesRoundTripOnANonSquareMap)
{
    TempDir dir;
    quiet q;
    vector_array* in = two_clusters(10);
    counted_map map(5, 3, in, 0.4, 2.0, 60, 3, 2);
    map.sofm_run(0);
    map.initClusterLabelMap();
    map.displayDistanceMap();
    map.displayLocalDistanceMap();
    map.setMarkerForInput();
    const unsigned columns[] = {3, 5};
    ASSERT_TRUE(map.write(dir.file("a.som").c_str(), "table.csv", columns));
    const std::string text = read_file(dir.file("a.som"));
    EXPECT_EQ(text.find("table.csv\nColumnSelection\n2, 3, 5\nClusterCenter\n10, "),
              text.find('\n') + 1);
    EXPECT_NE(
        text.find("\nWidth: 5\nHeight: 3\nDim: 2\nNodes :15\nStepcount: 60\nMaxstep: 60\n"
                  "Function: 3\nNormalization: 2\nLearnrate: 0.400000\nLearnscope: 2.000000\n"),
        std::string::npos);

    vector_array* raw = two_clusters(10);
    counted_map back(dir.file("a.som").c_str(), raw);
    ASSERT_EQ(back.width(), 5);
    ASSERT_EQ(back.height(), 3);
    EXPECT_EQ(back.sofm()->function, 3);
    for (int i = 1; i < 10; ++i) {
        const int centre = map.sofm()->cluster_center[i];
        EXPECT_EQ(back.sofm()->cluster_center[i], centre);
        EXPECT_EQ(raw->vectors[i].unit, centre);
        EXPECT_EQ(raw->vectors[i].col, centre % 5);
        EXPECT_EQ(raw->vectors[i].row, centre / 5);
        EXPECT_NEAR(raw->vectors[i].values[0], in->vectors[i].values[0], 1e-12)
            << "normalised as the map was";
    }
    ASSERT_TRUE(back.write(dir.file("b.som").c_str(), "table.csv", columns));
    EXPECT_EQ(after_first_line(read_file(dir.file("b.som"))), after_first_line(text));
    delete_vector_array(raw);
    delete_vector_array(in);
}

TEST(Vxsofm, RefusesSomFilesThatDoNotFitTheInputs)
{
    TempDir dir;
    vector_array* in = two_clusters(4);
    vector_array* other = two_clusters(5);
    testing::internal::CaptureStdout();
    {
        vxsofm map(2, 2, in, 0.5, 1.0, 4, 1, 0);
        map.write(dir.file("m.som").c_str(), "t.csv", nullptr);
    }
    vxsofm wrong_count(dir.file("m.som").c_str(), other);
    std::string text = read_file(dir.file("m.som"));
    write_file(dir.file("cut.som"), text.substr(0, text.find("DistanceMap")));
    vxsofm cut(dir.file("cut.som").c_str(), in);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(wrong_count.width(), 0);
    EXPECT_EQ(cut.width(), 0);
    EXPECT_NE(out.find("the map was trained on 4 inputs, not on 5"), std::string::npos);
    EXPECT_NE(out.find("the file ends at line"), std::string::npos);
    testing::internal::CaptureStdout();
    cut.sofm_run(0);
    cut.initClusterLabelMap();
    cut.setMarkerForInput();
    EXPECT_FALSE(cut.write_vector_array(dir.file("w.txt").c_str()));
    testing::internal::GetCapturedStdout();
    delete_vector_array(in);
    delete_vector_array(other);
}

TEST(Vxsofm, VectorLinesReadBackWhatTheyWrite)
{
    TempDir dir;
    vector_array* a = init_vector_array(2, 2, 0.0);
    a->vectors[0].values[0] = -1.5;
    a->vectors[1].values[1] = 2.25;
    a->vectors[0].unit = 3;
    a->vectors[1].unit = -1;
    quiet q;
    vector_array* in = two_clusters(2);
    vxsofm map(1, 1, in, 0.5, 1.0, 1, 1, 0);
    ASSERT_TRUE(map.write_2d_vector_array(dir.file("v.txt").c_str(), a));
    EXPECT_EQ(read_file(dir.file("v.txt")), "-1.500000, 0.000000, 3\n0.000000, 2.250000, -1\n");

    vector_array* b = init_vector_array(2, 3, 9.0);
    FILE* f = std::fopen(dir.file("v.txt").c_str(), "r");
    EXPECT_EQ(map.read_vector_array(f, b), 2);
    std::fclose(f);
    EXPECT_EQ(b->vectors[0].values[0], -1.5);
    EXPECT_EQ(b->vectors[1].values[1], 2.25);
    EXPECT_EQ(b->vectors[0].unit, 3);
    EXPECT_EQ(b->vectors[2].values[0], 9.0);
    delete_vector_array(a);
    delete_vector_array(b);
    delete_vector_array(in);
}

TEST(Vxsofm, TheSameSeedWritesTheSameSomFileWithOneWorkerAndWithFour)
{
    TempDir dir;
    quiet q;
    std::string files[2];
    std::vector<int> labels[2];
    for (int run = 0; run < 2; ++run) {
        const tree_workers workers(run == 0 ? 1 : 4);
        vector_array* in = clustered(300, 5);
        counted_map map(96, 88, in, 1.0, 1.0, 300, 1, 0);
        map.sofm_run(15);
        map.initClusterLabelMap();
        map.displayClusterLabelMap();
        labels[run].assign(map.sofm()->marker, map.sofm()->marker + map.sofm()->units);
        const std::string file = dir.file("run" + std::to_string(run) + ".som");
        ASSERT_TRUE(map.write(file.c_str(), "table.csv", nullptr));
        files[run] = after_first_line(read_file(file));
        delete_vector_array(in);
    }
    EXPECT_EQ(files[0], files[1]);
    EXPECT_EQ(labels[0], labels[1]);
}

// The map's passes against the plain single-threaded ones of its record
// (analyse/vectors/kohonen.h) on a copy of it, on maps refreshed more and
// less often than the moves of the steps between are taken by every unit.
TEST(Vxsofm, ParallelPassesAgreeWithThePlainOnes)
{
    quiet q;
    const tree_workers workers(4);
    struct shape {
        int width, height, function, display_steps;
    };
    for (const shape s : {shape{40, 37, 1, 25}, shape{30, 30, 2, 0}, shape{33, 26, 0, 100}}) {
        SCOPED_TRACE(s.function);
        vector_array* in = clustered(240, 6);
        counted_map map(s.width, s.height, in, 0.8, 1.0, 400, s.function, 2);
        const sofm_params& m = *map.sofm();
        const sofm_handle plain(create_sofm_params(s.width, s.height, in));
        plain->learn_rate = m.learn_rate;
        plain->max_steps = m.max_steps;
        plain->function = m.function;
        for (int j = 0; j < m.units; ++j) {
            copy_vector(&plain->weights->vectors[j], &m.weights->vectors[j], m.dim);
            plain->weights->vectors[j].unit = m.weights->vectors[j].unit;
        }
        std::vector<double> distances(static_cast<size_t>(m.units));
        std::vector<int> labels(static_cast<size_t>(m.units));

        map.sofm_run(s.display_steps);
        sofm_run(plain.get(), distances.data(), labels.data());
        for (int j = 0; j < m.units; ++j) {
            for (int k = 0; k < m.dim; ++k) {
                const double want = plain->weights->vectors[j].values[k];
                ASSERT_NEAR(m.weights->vectors[j].values[k], want,
                            1e-9 * std::max(1.0, std::abs(want)));
            }
            ASSERT_EQ(m.weights->vectors[j].unit, labels[static_cast<size_t>(j)]) << j;
        }
        for (int i = 1; i < m.num_inputs; ++i)
            ASSERT_EQ(m.cluster_center[i], plain->cluster_center[i]) << i;

        map.update_display();
        update_display(plain.get());
        for (int j = 0; j < m.units; ++j)
            ASSERT_NEAR(m.local_dist[j], plain->local_dist[j], 1e-9);
        map.initClusterLabelMap();
        map.displayClusterLabelMap();
        EXPECT_EQ(std::vector<int>(m.marker, m.marker + m.units), grown_labels(*plain));
        delete_vector_array(in);
    }
}

// With every unit at the same place, each input's nearest unit is the first
// unit and each unit's nearest input the last of the nearest ones, whether
// the distance map is shown after each input (5 inputs) or not (40).
TEST(Vxsofm, ClusterMapTiesGoToTheFirstUnitAndTheLastInput)
{
    quiet q;
    const tree_workers workers(4);
    for (int count : {5, 40}) {
        vector_array* in = init_vector_array(2, count, 0.0);
        for (int i = 0; i < count; ++i)
            in->vectors[i].values[0] = i % 4 + 1;
        vxsofm map(4, 4, in, 0.5, 1.0, 1, 1, 0);
        for (int j = 0; j < 16; ++j)
            map.sofm()->weights->vectors[j].values[0] = map.sofm()->weights->vectors[j].values[1] =
                0.0;
        map.init_cluster_map();
        for (int i = 1; i < count; ++i)
            EXPECT_EQ(map.sofm()->cluster_center[i], 0) << i;
        for (int j = 0; j < 16; ++j)
            EXPECT_EQ(map.sofm()->weights->vectors[j].unit, count == 5 ? 4 : 36) << j;
        delete_vector_array(in);
    }
}
