#pragma once

#include <string>
#include <vector>

#include "automation/automation_export.h"

// A list of region ids of one entry (an image), given as text: integers
// separated by blanks, or "null" for none. A field that is not an integer
// is left out with a message.
class AUTOMATION_EXPORT CompareDataArray {
public:
    CompareDataArray(const char* values, const char* entryId);

    int getArraySize() const { return static_cast<int>(values_.size()); }
    // -1 out of range.
    int getArrayValue(int i) const;
    // The list as text: as given, or "%d " per value after UnionMergeArray.
    const char* getPCArray() const { return text_.c_str(); }
    const char* getEntryID() const { return entryId_.c_str(); }

    // similar := the test's entries equal to some entry of this list;
    // missingRef := this list's size - similar; missingTest := the test's
    // size - similar; refCount and testCount := the two sizes.
    void CompareWithTestDataArray(const CompareDataArray& test, int* similar, int* missingRef,
                                  int* missingTest, int* refCount, int* testCount) const;
    // Appends the values of the text that the list does not hold yet, in
    // their order, and rewrites the text; returns how many were present.
    int UnionMergeArray(const char* values);

private:
    std::vector<int> values_;
    std::string text_;
    std::string entryId_;
};
