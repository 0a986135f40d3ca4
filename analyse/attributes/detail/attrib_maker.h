#pragma once

// Attribute vectors for the regions of one pass of one program, made as
// init_attrib_array makes them: the names, types and order are laid out
// once, and each region's vector is a copy of that layout with the region's
// values and the symbols' current ones.

#include <vector>

#include "analyse/trees/region_types.h"

struct program;

class attrib_vector_maker {
public:
    explicit attrib_vector_maker(const program* prog);
    ~attrib_vector_maker();
    attrib_vector_maker(const attrib_vector_maker&) = delete;
    attrib_vector_maker& operator=(const attrib_vector_maker&) = delete;

    // The program's symbol count, and their current values in list order
    // into `values`.
    int symbols() const { return static_cast<int>(symbol_entry_.size()); }
    void read_symbols(double* values) const;

    // What init_attrib_array(region, prog) does with the symbols holding
    // `values`: a new vector stored in the region's `attribs` (one it had is
    // replaced, not freed) and returned.
    attrib_array* make(tregionnode* region, const double* values) const;

private:
    const program* prog_;
    attrib_array* layout_;
    std::vector<int> symbol_entry_;  // per symbol, its entry; -1 when its name was taken
};
