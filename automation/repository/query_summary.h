#pragma once

#include "automation/automation_export.h"

// Creates the summary file of a query run with its header, the first lines
// of a query-result ".vxq" file whose class k is query k:
// "Classification from <date> for Repository", the repository file, "Images
// at", the result path, "NumberOfClasses: <n + 1>", "Irrelevant", one line
// "<rule file>, Mode <mode>" per query (mode 1 when modes is null) and
// "Images: <images>". The run appends one line per image. Returns true;
// false after a message when the file could not be written, in which case
// no partial file is left, and when n exceeds
// VxLabeledRepository::MOST_CLASSES (no file is written then: the result
// would not read as a labelling).
AUTOMATION_EXPORT bool writeQuerySummaryHeader(const char* file, const char* date,
                                               const char* repositoryFile, const char* resultPath,
                                               const char* const* queries, const int* modes, int n,
                                               int images);
