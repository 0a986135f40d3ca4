#pragma once

// The project file ".vxp" of one analysis: its nine names, one
// "<Keyword>: <name>" line each, in the order of vx_project_fields. Names
// are bytes, as the file system takes them.

#include <string>

#include "automation/automation_export.h"
#include "automation/projects/project_names.h"

// A project lives in its folder: names of files in the project's folder (or
// below it) are stored relative to it, and relative names are read as
// relative to it, so that a copied folder opens its own files from every
// working folder. Other names are stored as absolute ones.

// Whether the file `name` (absolute, or relative to the working folder)
// lies in the folder of the project file `project` or below it.
AUTOMATION_EXPORT bool in_project_folder(const std::string& name, const std::string& project);

// The text of the project file `project`: the nine lines in order, each name
// stored as said above (a name neither of whose forms fits
// vx_name_capacity stays as it is).
AUTOMATION_EXPORT std::string project_file_text(const vx_project_names& names,
                                                const std::string& project);

// Reads the nine keywords in order; lines holding only white space may come
// between them. Each name is the rest of its keyword's line with the white
// space around it removed, so inner blanks survive. A relative name becomes
// the path from the project's folder, unless only the working folder holds
// such a file (a project written before names were stored so). Names
// outside the folder (absolute, or with "..") are read as they point. False, with
// `fault` naming the file and the reason, when the file does not open, a
// keyword is missing or out of order, or a name is longer than
// vx_name_capacity; `names` is then untouched.
AUTOMATION_EXPORT bool read_project_file(const std::string& file, vx_project_names& names,
                                         std::string& fault);
