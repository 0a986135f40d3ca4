#pragma once

#include <memory>
#include <vector>

#include "automation/automation_export.h"
#include "automation/clustering/vxvector.h"

// One cluster of an agglomerative hierarchy: a list of element vectors (not
// owned), its neighbour clusters on the grid, its sons and its father (none
// owned; the hierarchy owns every cluster).
class AUTOMATION_EXPORT VxHCluster {
public:
    // count element slots filled from vectors (null slots when vectors is null).
    VxHCluster(int creation, int count, int label, VxVector** vectors);
    // The elements and medoid of `other`.
    VxHCluster(int creation, int label, const VxHCluster& other);
    ~VxHCluster();
    VxHCluster(const VxHCluster&) = delete;
    VxHCluster& operator=(const VxHCluster&) = delete;

    int getLabel() const;
    void setLabel(int label);
    int getCreation() const;
    // Number of clusters merged into this one.
    int getAbsorption() const;

    // --- elements (null or ignored outside the list) ---
    void setElement(int i, VxVector* vector);
    VxVector* getElement(int i) const;
    VxVector** getElements();
    int getNumElements() const;
    // n slots; the first elements stay, new slots are null.
    void resizeElements(int n);

    // --- neighbours and sons ---
    // The new son count, with this as the son's father; -1 when son is
    // already a son, null or this cluster.
    int appendSon(VxHCluster* son);
    // Both become neighbours of each other; refused for this cluster itself,
    // null, or a neighbour already present.
    void appendNeighbor(VxHCluster* other);
    int getNumNeighbors() const;
    int getNumSons() const;
    void resetGetNeighbors();
    // The next neighbour, null after the last.
    VxHCluster* getNextNeighbor();
    void resetGetSons();
    VxHCluster* getNextSon();
    VxHCluster* getSon(int i) const;
    VxHCluster* getFather() const;
    void setFather(VxHCluster* father);

    // Appends the other's elements and makes it a son (not for itself).
    void mergeWithCluster(VxHCluster* other);
    int getProcessFlag() const;
    void setProcessFlag(int flag);
    // The neighbours of every son that lie outside this cluster, taken up to
    // their ancestor just below the root, become neighbours of this cluster.
    void updateNeighbors();
    // Drops the sons whose father is no longer this cluster.
    void updateSons();

    // --- representatives ---
    void setMedoid(int i);
    // The medoid element, null when there is none.
    VxVector* getMedoid() const;
    // The mean of the elements; null without elements.
    VxVector* initCentroid();
    // The element with the smallest sum of distances to the others.
    void initMedoid();
    void resetCentroid();
    // The centroid, made when there is none.
    VxVector* getCentroid();

private:
    // Whether c is this cluster or lies below it.
    bool contains(const VxHCluster* c) const;

    int creation_;
    int label_;
    std::vector<VxVector*> elements_;
    std::vector<VxHCluster*> neighbors_;
    std::vector<VxHCluster*> sons_;
    size_t next_neighbor_ = 0;
    size_t next_son_ = 0;
    VxHCluster* father_ = nullptr;
    int medoid_ = -1;
    std::unique_ptr<VxVector> centroid_;
    int process_flag_ = -1;
    int absorption_ = 0;
};
