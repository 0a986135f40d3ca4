#pragma once

// The project file ".vxp": the nine names of an analysis, one
// "<Keyword>: <name>" line each, in the order of vx_project_fields.

#include <QString>
#include <string>

#include "gui/analysis/vx_project_names.h"

// The file's text: the nine lines in order.
std::string vx_project_text(const vx_project_names& names);

// Reads the nine keywords in order; lines holding only white space may come
// between them. Each name is the rest of its keyword's line with the white
// space around it removed, so inner blanks survive. A relative name that
// does not open for reading but opens beside the project file becomes that
// path. False, with `fault` naming the file and the reason, when the file
// does not open, a keyword is missing or out of order, or a name is longer
// than vx_name_capacity; `names` is then untouched.
bool vx_read_project_file(const QString& file, vx_project_names& names, QString& fault);
