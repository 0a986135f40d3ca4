#pragma once

// Description of a structuring template.
struct functions {
    int type;  // 1 disk, 2 sphere, 3 circular power, 4 elliptic power, 5 binomial, 6 square
    double radius;
    double exponent;  // exponent of the power profiles; values below 1 count as 1
    int axis_a;       // half-axes of the elliptic profile
    int axis_b;
};

// The disk of radius 1: the template every multiscale partition of the
// system starts from.
inline constexpr functions unit_disk_template = {1, 1.0, 0.0, 0, 0};
