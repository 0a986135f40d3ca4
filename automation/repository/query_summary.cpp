#include "automation/repository/query_summary.h"

#include <string>

#include "automation/detail/text.h"
#include "automation/repository/detail/query_summary_text.h"
#include "automation/repository/vx_labeled_repository.h"
#include "imagecore/report.h"

std::string query_summary_header(const char* date, const char* repositoryFile,
                                 const char* resultPath, const char* const* queries,
                                 const int* modes, int n, int images)
{
    n = queries != nullptr && n > 0 ? n : 0;
    std::string text =
        c_format("Classification from %s for Repository\n%s\nImages at\n%s\n", text_or_empty(date),
                 text_or_empty(repositoryFile), text_or_empty(resultPath));
    text += c_format("NumberOfClasses: %d\nIrrelevant\n", n + 1);
    for (int q = 0; q < n; ++q)
        text +=
            c_format("%s, Mode %d\n", text_or_empty(queries[q]), modes != nullptr ? modes[q] : 1);
    text += c_format("Images: %d\n", images);
    return text;
}

bool summary_holds_queries(int n, const char* file)
{
    if (n <= VxLabeledRepository::MOST_CLASSES)
        return true;
    vx_report("No query run into %s: %d queries, but a query result holds at most %d classes\n",
              text_or_empty(file), n, VxLabeledRepository::MOST_CLASSES);
    return false;
}

bool writeQuerySummaryHeader(const char* file, const char* date, const char* repositoryFile,
                             const char* resultPath, const char* const* queries, const int* modes,
                             int n, int images)
{
    if (file == nullptr || !summary_holds_queries(n, file))
        return false;
    return write_text_file(
        file, query_summary_header(date, repositoryFile, resultPath, queries, modes, n, images));
}
