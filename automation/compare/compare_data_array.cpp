#include "automation/compare/compare_data_array.h"

#include <algorithm>
#include <sstream>
#include <unordered_set>

#include "automation/detail/text.h"
#include "imagecore/report.h"

namespace {

std::vector<int> parse_ids(const char* text)
{
    std::vector<int> ids;
    std::istringstream fields{std::string(text_or_empty(text))};
    for (std::string field; fields >> field;) {
        int id = 0;
        if (field == "null")
            continue;
        if (whole_int(field, &id))
            ids.push_back(id);
        else
            vx_report("CompareDataArray: %s is not an id\n", field.c_str());
    }
    return ids;
}

}  // namespace

CompareDataArray::CompareDataArray(const char* values, const char* entryId)
    : values_(parse_ids(values)), text_(text_or_empty(values)), entryId_(text_or_empty(entryId))
{}

int CompareDataArray::getArrayValue(int i) const
{
    return i >= 0 && i < getArraySize() ? values_[i] : -1;
}

void CompareDataArray::CompareWithTestDataArray(const CompareDataArray& test, int* similar,
                                                int* missingRef, int* missingTest, int* refCount,
                                                int* testCount) const
{
    std::vector<int> own = values_;
    std::sort(own.begin(), own.end());
    int same = 0;
    for (int v : test.values_)
        same += std::binary_search(own.begin(), own.end(), v);
    *similar = same;
    *refCount = getArraySize();
    *testCount = test.getArraySize();
    *missingRef = *refCount - same;
    *missingTest = *testCount - same;
}

int CompareDataArray::UnionMergeArray(const char* values)
{
    std::unordered_set<int> held(values_.begin(), values_.end());
    int present = 0;
    for (int v : parse_ids(values))
        if (held.insert(v).second)
            values_.push_back(v);
        else
            ++present;
    text_.clear();
    for (int v : values_)
        text_ += c_format("%d ", v);
    return present;
}
