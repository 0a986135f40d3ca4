#pragma once

#include <vector>

#include "automation/automation_export.h"

// A vector of doubles with an index and an exchangeable distance.
// Positions outside the vector are reported and ignored (getValue gives 0).
class AUTOMATION_EXPORT VxVector {
public:
    // dim values 0.
    VxVector(int dim, int index);
    // values[selection[i]] for i < n in the first n positions, the rest 0;
    // values is read, not kept. A selection longer than dim is refused.
    VxVector(int dim, const double* values, const int* selection, int n, int index);
    // A copy of the dim values (0 for null values).
    VxVector(int dim, const double* values, int index);
    virtual ~VxVector();

    // Euclidean unless a subclass says otherwise.
    virtual double distance(VxVector& other);

    void setIndex(int index);
    int getIndex() const;
    int getDim() const;
    void setValue(int i, double value);
    double getValue(int i) const;
    // Copies dim values.
    void setVector(const double* values);
    // values[selection[i]] into position i for i < n; refused when n > dim.
    void setVector(const double* values, const int* selection, int n);
    double* getVector();
    // A new vector of the same values with index 0; the caller deletes it.
    VxVector* copy() const;
    void scalarMult(double x);
    // Adds other's values; refused when the dimensions differ.
    void add(const VxVector& other);
    // A new vector a + b (a copy of a when the dimensions differ).
    static VxVector* add(const VxVector& a, const VxVector& b);
    // Distance over the dimensions both vectors have.
    double Euclidean(const VxVector& other) const;

private:
    std::vector<double> values_;
    int index_;
};
