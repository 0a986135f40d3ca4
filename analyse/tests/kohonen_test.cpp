#include <cmath>
#include <vector>

#include "analyse/handles.h"
#include "analyse/vectors/kohonen.h"
#include "testsupport/vx_test.h"

namespace {

// count inputs of dimension 2: the first half near (0, 0), the rest near (10, 10).
vector_array* two_clusters(int count)
{
    vector_array* in = init_vector_array(2, count, 0.0);
    for (int i = 0; i < count; ++i) {
        const double base = i < count / 2 ? 0.0 : 10.0;
        in->vectors[i].values[0] = base + 0.1 * (i % 3);
        in->vectors[i].values[1] = base + 0.1 * (i % 2);
    }
    return in;
}

// The map's console trace is not under test.
struct quiet {
    quiet() { testing::internal::CaptureStdout(); }
    ~quiet() { testing::internal::GetCapturedStdout(); }
};

}  // namespace

TEST(SofmMath, WeightsDistancesAndDisplacement)
{
    EXPECT_EQ(square(-3.0), 9.0);
    EXPECT_DOUBLE_EQ(cone_weight(1.0, 4.0), 0.75);
    EXPECT_DOUBLE_EQ(gauss_weight(0.0, 2.0), 1.0);
    EXPECT_DOUBLE_EQ(gauss_weight(1.0, 1.0), std::exp(-0.5));

    const vector_array_handle a(init_vector_array(2, 2, 0.0));
    vector& v = a->vectors[0];
    vector& w = a->vectors[1];
    v.values[0] = 3;
    v.values[1] = 4;
    EXPECT_DOUBLE_EQ(euclidian_norm(&v, 2), 5.0);
    EXPECT_DOUBLE_EQ(euclidian_distance(&v, nullptr, 2), 5.0);
    w.values[0] = 3;
    w.values[1] = 6;
    EXPECT_DOUBLE_EQ(euclidian_distance(&v, &w, 2), 2.0);
    EXPECT_DOUBLE_EQ(euclidian_normed_distance(&v, &w, 2), 2.0 / std::sqrt(2.0));

    // Moves past either edge fold back into 0..1.
    v.x = 0.9, v.y = 0.5, w.x = 0.5, w.y = 0.5;
    displace_representant(&v, &w, 10.0);
    EXPECT_NEAR(v.x, 0.5, 1e-12);
    EXPECT_EQ(v.y, 0.5);
    v.x = 0.1;
    displace_representant(&v, &w, 10.0);
    EXPECT_NEAR(v.x, 0.5, 1e-12);
}

TEST(Sofm, NormalisationUsesTheInputBounds)
{
    quiet q;
    const vector_array_handle in(init_vector_array(3, 3, 4.0));
    in->vectors[0].values[0] = 2;
    in->vectors[2].values[0] = 6;
    in->vectors[1].values[1] = 0;
    const sofm_handle map(init_sofm(2, 2, in.get(), 0.5, 1.0, 10, 1, 2));
    ASSERT_NE(map.get(), nullptr);
    EXPECT_EQ(map->min[0], 2.0);
    EXPECT_EQ(map->max[0], 6.0);
    interval_normalize_input(map.get());
    EXPECT_EQ(in->vectors[0].values[0], 0.0);
    EXPECT_EQ(in->vectors[1].values[0], 0.5);
    EXPECT_EQ(in->vectors[2].values[0], 1.0);
    EXPECT_EQ(in->vectors[1].values[1], 0.0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(in->vectors[i].values[2], 0.0) << "a constant dimension becomes 0";

    in->vectors[0].values[1] = 3;
    in->vectors[0].values[2] = 4;
    euclidian_normalize_input(map.get());
    EXPECT_DOUBLE_EQ(in->vectors[0].values[1], 0.6);
    EXPECT_DOUBLE_EQ(in->vectors[0].values[2], 0.8);
    EXPECT_EQ(in->vectors[1].values[1], 0.0) << "a zero vector stays zero";
}

TEST(Sofm, RefusesEmptyGridsAndSeedsEveryUnitWhenInputsOutnumberThem)
{
    quiet q;
    const vector_array_handle in(two_clusters(12));
    EXPECT_EQ(init_sofm(0, 3, in.get(), 0.5, 1, 10, 1, 0), nullptr);
    EXPECT_EQ(init_sofm(3, 3, nullptr, 0.5, 1, 10, 1, 0), nullptr);

    const sofm_handle map(init_sofm(3, 2, in.get(), 0.5, 1, 10, 1, 0));
    ASSERT_NE(map.get(), nullptr);
    for (int i = 0; i < map->units; ++i) {
        EXPECT_EQ(map->weights->vectors[i].unit, i);
        EXPECT_EQ(map->weights->vectors[i].col, i % 3);
        EXPECT_EQ(map->weights->vectors[i].row, i / 3);
        EXPECT_EQ(in->vectors[i].unit, i);
    }
}

TEST(Sofm, TrainingSeparatesClustersOnANonSquareMap)
{
    quiet q;
    const vector_array_handle in(two_clusters(40));
    const sofm_handle map(init_sofm(6, 3, in.get(), 0.6, 1.0, 400, 1, 0));
    ASSERT_NE(map.get(), nullptr);
    std::vector<double> dist(static_cast<size_t>(map->units));
    std::vector<int> labels(static_cast<size_t>(map->units));
    sofm_run(map.get(), dist.data(), labels.data());
    EXPECT_EQ(map->step, 400);

    for (int i = 1; i < 40; ++i) {
        const int c = map->cluster_center[i];
        ASSERT_GE(c, 0);
        ASSERT_LT(c, map->units);
        EXPECT_EQ(in->vectors[i].col, c % 6);
        EXPECT_EQ(in->vectors[i].row, c / 6);
        if (i >= 20) {
            EXPECT_NE(c, map->cluster_center[1]) << i;
        }
    }
    for (int j = 0; j < map->units; ++j) {
        EXPECT_GE(dist[static_cast<size_t>(j)], 0.0);
        EXPECT_GE(labels[static_cast<size_t>(j)], 1)
            << "every unit is labelled with its nearest input";
        EXPECT_GE(map->marker[j], 0);
        EXPECT_LE(map->marker[j], 255);
    }

    // The step count is at its maximum: a further run only locates the inputs.
    sofm_run(map.get(), nullptr, nullptr);
    EXPECT_EQ(map->step, 400);
}

TEST(Sofm, ClusterMapPrefersTheLowestOfTiedUnitsAndShowsEachInput)
{
    quiet q;
    const vector_array_handle in(two_clusters(4));
    const sofm_handle map(init_sofm(2, 2, in.get(), 0.5, 1.0, 1, 1, 0));
    for (int j = 0; j < map->units; ++j)
        for (int k = 0; k < 2; ++k)
            map->weights->vectors[j].values[k] = 5.0;
    int shown = 0;
    auto count = [](sofm_params*, void* c) { ++*static_cast<int*>(c); };
    init_cluster_map(map.get(), nullptr, nullptr, count, &shown);
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(map->cluster_center[i], 0);
    EXPECT_EQ(shown, 4);

    // A single unit has no neighbour: its local distance is 0, not 0 / 0.
    const sofm_handle tiny(init_sofm(1, 1, in.get(), 0.5, 1.0, 1, 1, 0));
    EXPECT_EQ(tiny->local_dist[0], 0.0);
    EXPECT_EQ(tiny->marker[0], 255);
}

TEST(Sofm, NegativeLearningRateEndsTheProcess)
{
    const vector_array_handle in(two_clusters(4));
    testing::internal::CaptureStdout();
    const sofm_handle map(init_sofm(4, 4, in.get(), -0.5, 1.0, 10, 3, 0));
    testing::internal::GetCapturedStdout();
    map->current = 0;
    map->step = 1;
    EXPECT_VX_FATAL(sofm_adaptionstep(map.get()), 34, "Displ .*dLernrate -.* at step 1");
}
