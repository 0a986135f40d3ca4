#include "automation/sofm/detail/step_move.h"

#include <algorithm>

step_move::step_move(const sofm_params& map) : width_(map.width), height_(map.height)
{
    gauss_.reserve(static_cast<size_t>(std::max(map.width, map.height) / 2 + 1));
}

void step_move::set(const sofm_params& map, int winner, const double* x)
{
    x_ = x;
    wc_ = winner % width_;
    wr_ = winner / width_;
    m_ = 1.0 - static_cast<double>(map.step) / map.max_steps;
    const int hw = width_ / 2;
    const int hh = height_ / 2;
    ow_ = static_cast<int>(m_ * hw);
    oh_ = static_cast<int>(m_ * hh);
    diag_ = std::sqrt(static_cast<double>(hw * hw + hh * hh));
    function_ = map.function;
    learn_rate_ = map.learn_rate;
    if (ow_ < 1 || oh_ < 1) {
        ow_ = oh_ = 0;
        return;
    }
    // sqrt is monotonic: dist < m height holds exactly below one square.
    const double reach = m_ * height_;
    long long limit = reach > 0.0 ? static_cast<long long>(reach * reach) : 0;
    while (limit > 0 && std::sqrt(static_cast<double>(limit - 1)) >= reach)
        --limit;
    while (std::sqrt(static_cast<double>(limit)) < reach)
        ++limit;
    limit_ = limit;
    if (function_ == 1) {
        gauss_.resize(static_cast<size_t>(std::max(ow_, oh_) + 1));
        for (size_t d = 0; d < gauss_.size(); ++d)
            gauss_[d] = std::pow(2.67, -square(static_cast<double>(d) / diag_) / (2.0 * m_ * m_));
    }
}

step_move::span step_move::run(int first, int end, bool columns) const
{
    span s;
    for (int at = first; at < end; ++at) {
        const int d = columns ? dx(at) : dy(at);
        if (d == kOutside) {
            s.gaps = true;
            continue;
        }
        s.inside = true;
        s.nearest = std::min(s.nearest, std::abs(d));
        s.farthest = std::max(s.farthest, std::abs(d));
    }
    return s;
}
