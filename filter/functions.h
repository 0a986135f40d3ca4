#pragma once

// Description of a structuring template. Every caller of the system passes
// the disk of radius 1: {1, 1.0, 0.0, 0, 0}.
struct functions {
    int type;  // 1 disk, 2 sphere, 3 circular power, 4 elliptic power, 5 binomial, 6 square
    double radius;
    double exponent;  // exponent of the power profiles; values below 1 count as 1
    int axis_a;       // half-axes of the elliptic profile
    int axis_b;
};
