#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "automation/clustering/vxhcluster.h"
#include "automation/clustering/vxhierarchy.h"
#include "automation/clustering/vxvector.h"
#include "testsupport/vx_test.h"

TEST(VxVector, CopiesValuesAndReportsPositionsOutside)
{
    double values[] = {1.0, 2.0, 3.0, 4.0};
    const int pick[] = {3, 0};
    VxVector picked(2, values, pick, 2, 7);
    values[3] = 99.0;
    EXPECT_EQ(picked.getValue(0), 4.0) << "the values were copied";
    EXPECT_EQ(picked.getValue(1), 1.0);
    EXPECT_EQ(picked.getIndex(), 7);

    testing::internal::CaptureStdout();
    EXPECT_EQ(picked.getValue(2), 0.0);
    picked.setValue(-1, 5.0);
    const int three[] = {0, 1, 2};
    picked.setVector(values, three, 3);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("GetValue(2): Out Of Bounds Dim 2\n"), std::string::npos);
    EXPECT_NE(out.find("SetValue(-1)=5.000000 Out Of Bounds\n"), std::string::npos);
    EXPECT_NE(out.find("SetVector:Selection with 3 Values bigger than Dim 2\n"), std::string::npos);
    EXPECT_EQ(picked.getValue(0), 4.0);

    VxVector other(2, values, 1);
    std::unique_ptr<VxVector> sum(VxVector::add(picked, other));
    EXPECT_EQ(sum->getIndex(), 0);
    EXPECT_EQ(sum->getValue(0), 5.0);
    EXPECT_EQ(sum->getValue(1), 3.0);
    sum->scalarMult(0.5);
    EXPECT_EQ(sum->getValue(0), 2.5);
    EXPECT_DOUBLE_EQ(picked.distance(other), std::sqrt(9.0 + 1.0));
}

TEST(VxHCluster, StoresElementsAndFindsItsRepresentatives)
{
    VxVector a(1, 0), b(1, 1), c(1, 2);
    a.setValue(0, 0.0);
    b.setValue(0, 1.0);
    c.setValue(0, 5.0);
    VxHCluster cluster(3, 3, 9, nullptr);
    cluster.setElement(0, &a);
    cluster.setElement(1, &b);
    cluster.setElement(2, &c);
    cluster.setElement(3, &c);
    EXPECT_EQ(cluster.getElement(2), &c);
    EXPECT_EQ(cluster.getElement(3), nullptr);
    EXPECT_DOUBLE_EQ(cluster.getCentroid()->getValue(0), 2.0);
    cluster.initMedoid();
    EXPECT_EQ(cluster.getMedoid(), &b) << "sums of distances 6, 5 and 9";

    VxHCluster other(4, 1, 1, nullptr);
    EXPECT_EQ(cluster.appendSon(&other), 1);
    EXPECT_EQ(cluster.appendSon(&other), -1);
    EXPECT_EQ(other.getFather(), &cluster);
    cluster.appendNeighbor(&cluster);
    cluster.appendNeighbor(&other);
    cluster.appendNeighbor(&other);
    EXPECT_EQ(cluster.getNumNeighbors(), 1);
    EXPECT_EQ(other.getNumNeighbors(), 1);
    other.resetGetNeighbors();
    EXPECT_EQ(other.getNextNeighbor(), &cluster);
    EXPECT_EQ(other.getNextNeighbor(), nullptr);
    other.setFather(nullptr);
    cluster.updateSons();
    EXPECT_EQ(cluster.getNumSons(), 0);
}

TEST(VxHierarchy, MergesNeighbouringClustersByMedoidDistance)
{
    // A 5 x 1 grid labelled 0 0 1 2 3 with values 0, 0.1, 1, 5, 5.5:
    // neighbour pairs (0,1) at 1, (1,2) at 4 and (2,3) at 0.5.
    const double at[] = {0.0, 0.1, 1.0, 5.0, 5.5};
    std::vector<std::unique_ptr<VxVector>> owned;
    std::vector<VxVector*> vectors;
    for (int i = 0; i < 5; ++i) {
        owned.push_back(std::make_unique<VxVector>(1, &at[i], i));
        vectors.push_back(owned.back().get());
    }
    const int labels[] = {0, 0, 1, 2, 3};
    const int medoids[] = {0, 2, 3, 4};
    VxHierarchy hierarchy(vectors.data(), labels, 5, 5, 1, medoids, 4);
    hierarchy.initTopLayerSimilarity();
    EXPECT_EQ(hierarchy.mergeToplayer(0.2), 4);
    // (2,3) joins first; then (0,1), as neither hangs in a new cluster yet;
    // (1,2) is left, since 1 was just merged.
    EXPECT_EQ(hierarchy.mergeToplayer(4.5), 2);
    hierarchy.initTopLayerSimilarity();
    EXPECT_EQ(hierarchy.mergeToplayer(4.9), 2) << "the medoids 0 and 5 are 5 apart";
    EXPECT_EQ(hierarchy.mergeToplayer(5.1), 1);
    hierarchy.writeHierarchy(nullptr);
}
