#pragma once

// The move of one training step: the units in the box of 2 ow x 2 oh units
// before and after the winner on the torus, within the disc dist < m height,
// each moved towards the step's input by learn rate x f(dist). Not part of
// the library's interface.

#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "analyse/vectors/kohonen.h"

class step_move {
public:
    // An offset of a column or row outside the box.
    static constexpr int kOutside = INT_MIN;

    explicit step_move(const sofm_params& map);

    // The move of step map.step for the input x, winner being the unit
    // nearest to it.
    void set(const sofm_params& map, int winner, const double* x);

    const double* input() const { return x_; }

    // The offset of a column (row) from the winner's, wc - c for the column
    // c of the box that lies on col, or kOutside.
    int dx(int col) const { return offset(col, wc_, ow_, width_); }
    int dy(int row) const { return offset(row, wr_, oh_, height_); }

    // The rate of the move of the unit at (dx, dy) from the winner, or a
    // negative number when it does not move.
    double rate(int dx, int dy) const
    {
        if (dx == kOutside || dy == kOutside)
            return -1.0;
        const long long s = static_cast<long long>(dx) * dx + static_cast<long long>(dy) * dy;
        if (s >= limit_)
            return -1.0;
        double f = 1.0;
        if (function_ == 1)
            f = gauss_[static_cast<size_t>(std::abs(dx))] *
                gauss_[static_cast<size_t>(std::abs(dy))];
        else if (function_ == 2 || function_ == 3)
            f = m_ * (diag_ - std::sqrt(static_cast<double>(s))) / diag_;
        return learn_rate_ * f;
    }

    // The offsets of the box in a run of columns (rows): the least and the
    // greatest in size, and whether one of the run lies outside the box.
    struct span {
        bool inside = false;  // some of the run lies in the box
        bool gaps = false;
        int nearest = INT_MAX;
        int farthest = 0;
    };
    span columns(int first, int end) const { return run(first, end, true); }
    span rows(int first, int end) const { return run(first, end, false); }

private:
    static int offset(int at, int centre, int reach, int size)
    {
        int u = at - (centre - reach);
        if (u < 0)
            u += size;
        else if (u >= size)
            u -= size;
        return u < 2 * reach ? reach - u : kOutside;
    }
    span run(int first, int end, bool columns) const;

    int width_;
    int height_;
    const double* x_ = nullptr;
    int wc_ = 0;
    int wr_ = 0;
    int ow_ = 0;
    int oh_ = 0;
    long long limit_ = 0;  // dist < m height holds exactly for squares below
    double m_ = 0.0;
    double diag_ = 0.0;
    double learn_rate_ = 0.0;
    int function_ = 0;
    // The Gaussian 2.67^(-(dist/D)^2 / (2 m^2)) is the product of its row
    // and column factors, tabled by single offset.
    std::vector<double> gauss_;
};
