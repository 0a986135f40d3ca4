#include "automation/clustering/vxhcluster.h"

#include <algorithm>

namespace {

template <typename T>
bool holds(const std::vector<T*>& list, const T* item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

template <typename T>
T* next_of(const std::vector<T*>& list, size_t& cursor)
{
    return cursor < list.size() ? list[cursor++] : nullptr;
}

}  // namespace

VxHCluster::VxHCluster(int creation, int count, int label, VxVector** vectors)
    : creation_(creation),
      label_(label),
      elements_(static_cast<size_t>(std::max(count, 0)), nullptr)
{
    if (vectors != nullptr)
        std::copy(vectors, vectors + elements_.size(), elements_.begin());
}

VxHCluster::VxHCluster(int creation, int label, const VxHCluster& other)
    : creation_(creation), label_(label), elements_(other.elements_), medoid_(other.medoid_)
{}

VxHCluster::~VxHCluster() = default;

int VxHCluster::getLabel() const
{
    return label_;
}

void VxHCluster::setLabel(int label)
{
    label_ = label;
}

int VxHCluster::getCreation() const
{
    return creation_;
}

int VxHCluster::getAbsorption() const
{
    return absorption_;
}

void VxHCluster::setElement(int i, VxVector* vector)
{
    if (i >= 0 && i < getNumElements())
        elements_[static_cast<size_t>(i)] = vector;
}

VxVector* VxHCluster::getElement(int i) const
{
    return i >= 0 && i < getNumElements() ? elements_[static_cast<size_t>(i)] : nullptr;
}

VxVector** VxHCluster::getElements()
{
    return elements_.data();
}

int VxHCluster::getNumElements() const
{
    return static_cast<int>(elements_.size());
}

void VxHCluster::resizeElements(int n)
{
    elements_.resize(static_cast<size_t>(std::max(n, 0)), nullptr);
    if (medoid_ >= getNumElements())
        medoid_ = -1;
}

int VxHCluster::appendSon(VxHCluster* son)
{
    if (son == nullptr || son == this || holds(sons_, son))
        return -1;
    sons_.push_back(son);
    son->father_ = this;
    return getNumSons();
}

void VxHCluster::appendNeighbor(VxHCluster* other)
{
    if (other == nullptr || other == this || holds(neighbors_, other))
        return;
    neighbors_.push_back(other);
    if (!holds(other->neighbors_, this))
        other->neighbors_.push_back(this);
}

int VxHCluster::getNumNeighbors() const
{
    return static_cast<int>(neighbors_.size());
}

int VxHCluster::getNumSons() const
{
    return static_cast<int>(sons_.size());
}

void VxHCluster::resetGetNeighbors()
{
    next_neighbor_ = 0;
}

VxHCluster* VxHCluster::getNextNeighbor()
{
    return next_of(neighbors_, next_neighbor_);
}

void VxHCluster::resetGetSons()
{
    next_son_ = 0;
}

VxHCluster* VxHCluster::getNextSon()
{
    return next_of(sons_, next_son_);
}

VxHCluster* VxHCluster::getSon(int i) const
{
    return i >= 0 && i < getNumSons() ? sons_[static_cast<size_t>(i)] : nullptr;
}

VxHCluster* VxHCluster::getFather() const
{
    return father_;
}

void VxHCluster::setFather(VxHCluster* father)
{
    father_ = father;
}

void VxHCluster::mergeWithCluster(VxHCluster* other)
{
    if (other == nullptr || other == this)
        return;
    elements_.insert(elements_.end(), other->elements_.begin(), other->elements_.end());
    appendSon(other);
    ++absorption_;
    resetCentroid();
}

int VxHCluster::getProcessFlag() const
{
    return process_flag_;
}

void VxHCluster::setProcessFlag(int flag)
{
    process_flag_ = flag;
}

bool VxHCluster::contains(const VxHCluster* c) const
{
    for (; c != nullptr; c = c->father_)
        if (c == this)
            return true;
    return false;
}

void VxHCluster::updateNeighbors()
{
    std::vector<VxHCluster*> found;
    for (const VxHCluster* son : sons_)
        for (VxHCluster* n : son->neighbors_) {
            if (contains(n))
                continue;
            while (n->father_ != nullptr && n->father_->father_ != nullptr)
                n = n->father_;
            if (!n->contains(this))
                found.push_back(n);
        }
    for (VxHCluster* n : found)
        appendNeighbor(n);
}

void VxHCluster::updateSons()
{
    sons_.erase(std::remove_if(sons_.begin(), sons_.end(),
                               [this](const VxHCluster* s) { return s->father_ != this; }),
                sons_.end());
    next_son_ = std::min(next_son_, sons_.size());
}

void VxHCluster::setMedoid(int i)
{
    medoid_ = i >= 0 && i < getNumElements() ? i : -1;
}

VxVector* VxHCluster::getMedoid() const
{
    return getElement(medoid_);
}

VxVector* VxHCluster::initCentroid()
{
    centroid_.reset();
    int count = 0;
    for (const VxVector* e : elements_) {
        if (e == nullptr)
            continue;
        if (centroid_ == nullptr)
            centroid_.reset(e->copy());
        else
            centroid_->add(*e);
        ++count;
    }
    if (centroid_ != nullptr)
        centroid_->scalarMult(1.0 / count);
    return centroid_.get();
}

void VxHCluster::initMedoid()
{
    medoid_ = -1;
    double best = 0.0;
    for (size_t i = 0; i < elements_.size(); ++i) {
        if (elements_[i] == nullptr)
            continue;
        double sum = 0.0;
        for (VxVector* e : elements_)
            if (e != nullptr)
                sum += elements_[i]->distance(*e);
        if (medoid_ < 0 || sum < best) {
            medoid_ = static_cast<int>(i);
            best = sum;
        }
    }
}

void VxHCluster::resetCentroid()
{
    centroid_.reset();
}

VxVector* VxHCluster::getCentroid()
{
    return centroid_ != nullptr ? centroid_.get() : initCentroid();
}
