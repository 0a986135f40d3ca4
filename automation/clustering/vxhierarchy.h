#pragma once

#include <memory>
#include <vector>

#include "automation/automation_export.h"
#include "automation/clustering/vxhcluster.h"
#include "automation/clustering/vxvector.h"

// Agglomerative merging of labelled vectors laid out on a grid (such as the
// units of a self-organising map): one cluster per label under a top
// cluster, neighbours where the grid puts different labels side by side,
// and merges of neighbouring clusters whose medoids are near. The hierarchy
// owns its clusters; the vectors stay the caller's.
class AUTOMATION_EXPORT VxHierarchy {
public:
    // vectors[i] at grid position i carries labels[i] in 0..nLabels-1 (other
    // labels are left out). medoids[l] is the index of the vector that
    // represents label l; without medoids each cluster finds its own. The
    // grid neighbours of i are i - 1 and i + 1 (inside 0..n-1) and i +-
    // gridWidth wrapped around gridWidth x gridHeight.
    VxHierarchy(VxVector** vectors, const int* labels, int n, int gridWidth, int gridHeight,
                const int* medoids, int nLabels);
    ~VxHierarchy();
    VxHierarchy(const VxHierarchy&) = delete;
    VxHierarchy& operator=(const VxHierarchy&) = delete;

    // The medoid distances of every pair of neighbouring clusters under the
    // top cluster, each pair once, in ascending order.
    void initTopLayerSimilarity();
    // Walks the pairs while their distance is below t: two clusters that both
    // still hang under the top cluster are joined in a new cluster there.
    // Returns the number of clusters under the top cluster.
    int mergeToplayer(double t);
    // The hierarchy has no file form: writes nothing.
    void writeHierarchy(const char* file);

private:
    VxHCluster* newCluster(std::unique_ptr<VxHCluster> cluster);

    int process_mark_ = -1;
    std::vector<std::unique_ptr<VxHCluster>> clusters_;
    VxHCluster* top_;
    std::vector<VxHCluster*> by_label_;
    int vectors_;
    int next_creation_;
    std::vector<double> similarity_;
    std::vector<int> order_;
    std::vector<VxHCluster*> pair_first_;
    std::vector<VxHCluster*> pair_second_;
};
