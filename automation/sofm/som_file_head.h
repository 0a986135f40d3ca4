#pragma once

// What the SOFM trainer reads of a ".som" file (vxsofm::write) itself
// before the map is built from it: the date of the first line, the table's
// file name and the table columns the map was trained on.

#include <string>
#include <vector>

#include "automation/automation_export.h"

struct som_file_head {
    std::string date;  // the two words of "Generated at <date> <time> from"
    std::string time;
    std::string table;  // line 2, as stored
    std::vector<unsigned> columns;
};

// Reads the first four lines of `file`, each bounded in length. False, with
// the reason in `why`, when the file does not open, a line is missing or
// too long, the first line is not "Generated at <date> <time> from", the
// third is not "ColumnSelection", or the fourth does not start with a
// column count of at least 0 followed by that many column numbers; `head`
// is then not to be used.
AUTOMATION_EXPORT bool read_som_file_head(const char* file, som_file_head& head, std::string& why);
