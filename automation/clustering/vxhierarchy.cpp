#include "automation/clustering/vxhierarchy.h"

#include <algorithm>

#include "imagecore/array_utils.h"
#include "imagecore/report.h"

namespace {

int wrap(long a, long n)
{
    const long r = a % n;
    return static_cast<int>(r < 0 ? r + n : r);
}

}  // namespace

VxHierarchy::VxHierarchy(VxVector** vectors, const int* labels, int n, int gridWidth,
                         int gridHeight, const int* medoids, int nLabels)
    : vectors_(vectors != nullptr && labels != nullptr && n > 0 ? n : 0),
      next_creation_(std::max(nLabels, 0))
{
    top_ = newCluster(std::make_unique<VxHCluster>(-1, 0, -1, nullptr));
    by_label_.assign(static_cast<size_t>(next_creation_), nullptr);
    auto label_of = [&](int i) { return labels[i] >= 0 && labels[i] < nLabels ? labels[i] : -1; };

    // 1. One cluster per label that occurs, with its vectors.
    std::vector<int> count(by_label_.size(), 0);
    for (int i = 0; i < vectors_; ++i)
        if (label_of(i) >= 0)
            ++count[static_cast<size_t>(label_of(i))];
        else
            vx_report("Vector %d has label %d outside 0..%d\n", i, labels[i], nLabels - 1);
    for (int l = 0; l < nLabels; ++l)
        if (count[static_cast<size_t>(l)] > 0) {
            VxHCluster* c = newCluster(
                std::make_unique<VxHCluster>(l, count[static_cast<size_t>(l)], l, nullptr));
            top_->appendSon(c);
            by_label_[static_cast<size_t>(l)] = c;
        }
    std::vector<int> filled(by_label_.size(), 0);
    for (int i = 0; i < vectors_; ++i) {
        const int l = label_of(i);
        if (l < 0)
            continue;
        VxHCluster* c = by_label_[static_cast<size_t>(l)];
        const int at = filled[static_cast<size_t>(l)]++;
        c->setElement(at, vectors[i]);
        if (medoids != nullptr && medoids[l] == i)
            c->setMedoid(at);
    }
    if (medoids == nullptr)
        for (VxHCluster* c : by_label_)
            if (c != nullptr)
                c->initMedoid();

    // 2. Neighbours where the grid puts different labels side by side.
    const long cells = static_cast<long>(gridWidth) * gridHeight;
    for (int i = 0; i < vectors_; ++i) {
        const int l = label_of(i);
        if (l < 0)
            continue;
        const int around[4] = {i + 1, i - 1,
                               cells > 0 ? wrap(static_cast<long>(i) + gridWidth, cells) : -1,
                               cells > 0 ? wrap(static_cast<long>(i) - gridWidth, cells) : -1};
        for (int j : around) {
            const int other = j >= 0 && j < vectors_ ? label_of(j) : -1;
            if (other >= 0 && other != l)
                by_label_[static_cast<size_t>(l)]->appendNeighbor(
                    by_label_[static_cast<size_t>(other)]);
        }
    }
}

VxHierarchy::~VxHierarchy() = default;

VxHCluster* VxHierarchy::newCluster(std::unique_ptr<VxHCluster> cluster)
{
    clusters_.push_back(std::move(cluster));
    return clusters_.back().get();
}

void VxHierarchy::initTopLayerSimilarity()
{
    ++process_mark_;
    similarity_.clear();
    pair_first_.clear();
    pair_second_.clear();
    top_->resetGetSons();
    while (VxHCluster* son = top_->getNextSon()) {
        VxVector* medoid = son->getMedoid();
        son->resetGetNeighbors();
        while (VxHCluster* n = son->getNextNeighbor()) {
            VxVector* other = n->getMedoid();
            if (n->getProcessFlag() == process_mark_ || medoid == nullptr || other == nullptr)
                continue;
            similarity_.push_back(medoid->distance(*other));
            pair_first_.push_back(son);
            pair_second_.push_back(n);
        }
        son->setProcessFlag(process_mark_);
    }
    order_.resize(similarity_.size());
    for (size_t k = 0; k < order_.size(); ++k)
        order_[k] = static_cast<int>(k);
    msort(similarity_.data(), order_.data(), static_cast<int>(similarity_.size()));
}

int VxHierarchy::mergeToplayer(double t)
{
    for (size_t k = 0; k < similarity_.size() && similarity_[k] < t; ++k) {
        VxHCluster* a = pair_first_[static_cast<size_t>(order_[k])];
        VxHCluster* b = pair_second_[static_cast<size_t>(order_[k])];
        if (a->getFather() != top_ || b->getFather() != top_)
            continue;
        VxHCluster* merged =
            newCluster(std::make_unique<VxHCluster>(next_creation_++, a->getLabel(), *a));
        top_->appendSon(merged);
        merged->appendSon(a);
        merged->mergeWithCluster(b);
    }
    top_->updateSons();
    top_->resetGetSons();
    while (VxHCluster* son = top_->getNextSon())
        son->updateNeighbors();
    return top_->getNumSons();
}

void VxHierarchy::writeHierarchy(const char*)
{}
