#pragma once

#include <memory>
#include <string>
#include <vector>

#include "automation/automation_export.h"
#include "automation/preprocessing/process_image.h"
#include "imagecore/image.h"
#include "imagecore/vx_image.h"

// An ordered chain of preprocessing steps, applied one after the other. The
// chain holds copies of the steps it is given. Image input, output and
// display are virtual and do nothing here; a subclass of the GUI supplies
// them.
class AUTOMATION_EXPORT VxImageProcessing {
public:
    VxImageProcessing();
    virtual ~VxImageProcessing();
    VxImageProcessing(const VxImageProcessing&) = delete;
    VxImageProcessing& operator=(const VxImageProcessing&) = delete;

    // Receives the result of every step while the protocol is on, and the
    // result of the file road.
    virtual void writeImage(const char* path, image* img);
    // The picture of the file road; null here.
    virtual vx_image* readImage(const char* path);
    // Runs the chain on scale 0 of the input of the current run; the last
    // result becomes the current image, then display() is called. A step
    // that gives no picture stops the chain with a message and leaves no
    // current image.
    virtual void apply();
    virtual void display();

    // Appends the step's copy() and prints "Function %s Added\n"; later
    // changes of the caller's step do not reach the chain.
    void addFunction(ProcessImage& step);
    void resetFunctions();

    // The chain's result on scale 0 of input, owned by the caller; null when
    // the chain is empty or the input has no picture.
    image* apply(const vx_image* input);
    // The same with the protocol on: every step's result goes to
    // writeImage(protocolPath, result). The protocol stays on for later runs.
    image* apply(const vx_image* input, const char* protocolPath);
    // Reads input with readImage, runs the chain and writes the result with
    // writeImage(output, result).
    void apply(const char* input, const char* output);

    // Current image := scale 0 of the run's input scaled by the scaling
    // field (nearest neighbour).
    void RescaleImage();
    // Band '1', '2' or '3' (a character); the mode becomes 2.
    void initRGBColorBandSelection(int band);
    // Prints "Extract R", "Extract G" or "Extract B" for the selected band;
    // it changes no picture.
    void RGBColorBandSelection();

protected:
    image* currentImage = nullptr;  // owned
    std::string outputPath;
    std::string inputPath;
    const vx_image* inputImage = nullptr;  // borrowed during a run
    int bandSelectionMode = -1;
    int protocol = 0;
    std::string protocolPath;
    double scaling = 1.0;
    int selectedBand = 0;
    int reserved = 0;
    std::vector<std::unique_ptr<ProcessImage>> steps;
};
