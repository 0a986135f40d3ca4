#pragma once

// A preprocessing step turns one picture into a new one. The GUI builds the
// steps in its dialogs and hands them to a chain (VxImageProcessing), which
// keeps copies of its own.
//
// Colour steps read and write packed colours 0xRRGGBB: red in bits 16..23,
// blue in the low byte. The image core's readers and palettes put red in the
// low byte (R + G*256 + B*65536), so on a picture read by them these steps
// see red and blue swapped.

#include "automation/automation_export.h"
#include "imagecore/image.h"

class AUTOMATION_EXPORT ProcessImage {
public:
    ProcessImage();
    virtual ~ProcessImage();
    // A new picture that the caller owns; the base step copies the input.
    // Null for a null input.
    virtual image* apply(const image* input);
    // A new step of the same kind with the same settings and texts; the
    // base step makes a new base step named "Dummy Copy".
    virtual ProcessImage* copy();
    // Leaves the target unchanged and returns a new base step named "Dummy
    // Copy" that the caller owns. No step replaces it.
    [[nodiscard]] virtual ProcessImage* operator=(ProcessImage& other);

    const char* FunctionName() const { return name_; }
    // A readable summary of the settings.
    const char* FunctionParameter() const { return parameter_; }

    // Degrees of an angle in radians, and radians of one in degrees.
    static double deg(double x);
    static double rad(double x);

protected:
    ProcessImage(const ProcessImage& other) = default;
    void setName(const char* name);
    // Texts longer than the 511 characters the step holds are cut, with a
    // message.
    void setParameter(const char* text);

private:
    char parameter_[512];
    char name_[512];
};
