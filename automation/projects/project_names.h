#pragma once

// The nine file names of one analysis, in the order of its project file
// (".vxp").

#include <cstddef>
#include <string>

// The longest name the analysis keeps: longer ones are refused, never cut.
inline constexpr std::size_t vx_name_capacity = 499;

// The tree and object rule files of a new analysis.
inline constexpr char vx_default_opening_tree[] = "corvella.bright.tree";
inline constexpr char vx_default_closing_tree[] = "corvella.dark.tree";
inline constexpr char vx_default_bright_rule[] = "Bright_Objects.rule";
inline constexpr char vx_default_dark_rule[] = "Dark_Objects.rule";

struct vx_project_names {
    std::string openingTree;
    std::string closingTree;
    std::string result;
    std::string image;
    std::string brightRule;
    std::string darkRule;
    std::string brightResults;
    std::string darkResults;
    std::string updateRule;
};

// The fields in the order of the project file (and of the constructor that
// takes the nine names).
inline constexpr std::string vx_project_names::*vx_project_fields[] = {
    &vx_project_names::openingTree,   &vx_project_names::closingTree, &vx_project_names::result,
    &vx_project_names::image,         &vx_project_names::brightRule,  &vx_project_names::darkRule,
    &vx_project_names::brightResults, &vx_project_names::darkResults, &vx_project_names::updateRule,
};
