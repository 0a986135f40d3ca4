#pragma once

// The header of a query run's summary file (writeQuerySummaryHeader) as
// text. Not part of the library's interface.

#include <string>

std::string query_summary_header(const char* date, const char* repositoryFile,
                                 const char* resultPath, const char* const* queries,
                                 const int* modes, int n, int images);

// Whether a run of n queries gives a summary that reads back as a labelling
// (VxLabeledRepository::MOST_CLASSES); prints why not, naming the file.
bool summary_holds_queries(int n, const char* file);
