#pragma once

#include <string>

#include "automation/automation_export.h"
#include "automation/preprocessing/process_image.h"

// "ROI Extraction by Scaling and Rule": the picture is scaled and turned
// grey, its region tree is built and queried with a rule file, and the box
// of the first region the rule selects is cut out of the unscaled picture.
// Without a selected region the result is the scaled picture. Rule files are
// parsed here, so the step runs on the thread that parses rules.
class AUTOMATION_EXPORT RuleRoiExtraction : public ProcessImage {
public:
    RuleRoiExtraction();
    RuleRoiExtraction(const char* path, double scaling, int scales, int a, int b,
                      const char* updateRule, const char* queryRule);
    RuleRoiExtraction(const RuleRoiExtraction& other) = default;

    // path: protocol directory; scales, a (the polarity: 1 bright, other
    // values dark) and b (generation flags) go to the tree. Parameter text
    // "Protocol Path: %s, Scales: %d, Scaling: %f, Update Rule: %s, Query
    // Rule: %s".
    void init(const char* path, double scaling, int scales, int a, int b, const char* updateRule,
              const char* queryRule);
    // Writes "<path>/ScaledInput.pgm" (the scaled grey picture) and
    // "<path>/Node_<regions + 1>.pgm" (the selected region raised above the
    // rest, which is cleared) as protocol; a protocol file that cannot be
    // written is reported and the step goes on. A scaling <= 0 gives a copy
    // of the input with a message.
    image* apply(const image* input) override;
    ProcessImage* copy() override;
    using ProcessImage::operator=;
    // Leaves the target unchanged; returns a new copy of other.
    [[nodiscard]] RuleRoiExtraction* operator=(RuleRoiExtraction& other);

private:
    std::string protocolPath_;
    double scaling_ = 1.0;
    int scales_ = 1;
    int a_ = 1;
    int b_ = 0;
    std::string updateRule_;
    std::string queryRule_;
};
