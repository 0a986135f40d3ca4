#include "automation/clustering/vxvector.h"

#include <algorithm>
#include <cmath>

#include "imagecore/report.h"
#include "imagecore/text/cnumbers.h"

VxVector::VxVector(int dim, int index)
    : values_(static_cast<size_t>(std::max(dim, 0)), 0.0), index_(index)
{}

VxVector::VxVector(int dim, const double* values, const int* selection, int n, int index)
    : VxVector(dim, index)
{
    setVector(values, selection, n);
}

VxVector::VxVector(int dim, const double* values, int index) : VxVector(dim, index)
{
    if (values != nullptr)
        setVector(values);
}

VxVector::~VxVector() = default;

double VxVector::distance(VxVector& other)
{
    return Euclidean(other);
}

void VxVector::setIndex(int index)
{
    index_ = index;
}

int VxVector::getIndex() const
{
    return index_;
}

int VxVector::getDim() const
{
    return static_cast<int>(values_.size());
}

void VxVector::setValue(int i, double value)
{
    if (i < 0 || i >= getDim()) {
        vx_report("SetValue(%d)=%s Out Of Bounds\n", i, vx_fixed(value).text);
        return;
    }
    values_[static_cast<size_t>(i)] = value;
}

double VxVector::getValue(int i) const
{
    if (i < 0 || i >= getDim()) {
        vx_report("GetValue(%d): Out Of Bounds Dim %d\n", i, getDim());
        return 0.0;
    }
    return values_[static_cast<size_t>(i)];
}

void VxVector::setVector(const double* values)
{
    if (values == nullptr) {
        vx_report("SetVector:VECTOR HAS NULL POINTER\n");
        return;
    }
    std::copy(values, values + values_.size(), values_.begin());
}

void VxVector::setVector(const double* values, const int* selection, int n)
{
    if (values == nullptr || (n > 0 && selection == nullptr)) {
        vx_report("SetVector:VECTOR HAS NULL POINTER\n");
        return;
    }
    if (n > getDim()) {
        vx_report("SetVector:Selection with %d Values bigger than Dim %d\n", n, getDim());
        return;
    }
    for (int i = 0; i < n; ++i)
        values_[static_cast<size_t>(i)] = values[selection[i]];
}

double* VxVector::getVector()
{
    return values_.data();
}

VxVector* VxVector::copy() const
{
    return new VxVector(getDim(), values_.data(), 0);
}

void VxVector::scalarMult(double x)
{
    for (double& v : values_)
        v *= x;
}

void VxVector::add(const VxVector& other)
{
    if (other.getDim() != getDim()) {
        vx_report("Add: Dim %d and Dim %d differ\n", getDim(), other.getDim());
        return;
    }
    for (size_t k = 0; k < values_.size(); ++k)
        values_[k] += other.values_[k];
}

VxVector* VxVector::add(const VxVector& a, const VxVector& b)
{
    VxVector* sum = a.copy();
    sum->add(b);
    return sum;
}

double VxVector::Euclidean(const VxVector& other) const
{
    const size_t n = std::min(values_.size(), other.values_.size());
    double sum = 0.0;
    for (size_t k = 0; k < n; ++k) {
        const double d = values_[k] - other.values_[k];
        sum += d * d;
    }
    return std::sqrt(sum);
}
