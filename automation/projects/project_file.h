#pragma once

// The project file ".vxp" of one analysis: its nine names, one
// "<Keyword>: <name>" line each, in the order of vx_project_fields. Names
// are bytes, as the file system takes them.

#include <string>

#include "automation/automation_export.h"
#include "automation/projects/project_names.h"

// Relative names in a project file are relative to the project's folder,
// so that a project reads the same from every working folder.

// The text of the project file `file`: the nine lines in order. A relative
// name (to the working folder) is written as an absolute one unless the
// project lies in the working folder, or the absolute name would be longer
// than vx_name_capacity.
AUTOMATION_EXPORT std::string project_file_text(const vx_project_names& names,
                                                const std::string& file);

// Reads the nine keywords in order; lines holding only white space may come
// between them. Each name is the rest of its keyword's line with the white
// space around it removed, so inner blanks survive. A relative name becomes
// the path beside the project file, unless only the working folder holds
// such a file (a project written before names were stored so); names stay
// as they are when the project lies in the working folder. False, with
// `fault` naming the file and the reason, when the file does not open, a
// keyword is missing or out of order, or a name is longer than
// vx_name_capacity; `names` is then untouched.
AUTOMATION_EXPORT bool read_project_file(const std::string& file, vx_project_names& names,
                                         std::string& fault);
