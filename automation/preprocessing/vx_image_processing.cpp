#include "automation/preprocessing/vx_image_processing.h"

#include "automation/detail/handles.h"
#include "imagecore/image_arith.h"
#include "imagecore/report.h"

VxImageProcessing::VxImageProcessing() = default;

VxImageProcessing::~VxImageProcessing()
{
    delete_image(currentImage);
}

void VxImageProcessing::writeImage(const char*, image*)
{}

vx_image* VxImageProcessing::readImage(const char*)
{
    return nullptr;
}

void VxImageProcessing::apply()
{
    delete_image(currentImage);
    currentImage = nullptr;
    const image* source = inputImage != nullptr ? get_scale(inputImage, 0) : nullptr;
    if (source == nullptr) {
        vx_report("Image processing: no input picture\n");
        return;
    }
    image_handle output;
    for (const auto& step : steps) {
        image_handle input(create_copy_image(output != nullptr ? output.get() : source));
        output.reset(step->apply(input.get()));
        if (output == nullptr) {
            vx_report("Image processing: %s gave no picture, the chain stops\n",
                      step->FunctionName());
            break;
        }
        if (protocol != 0)
            writeImage(protocolPath.c_str(), output.get());
    }
    currentImage = output.release();
    display();
}

void VxImageProcessing::display()
{}

void VxImageProcessing::addFunction(ProcessImage& step)
{
    steps.emplace_back(step.copy());
    vx_report("Function %s Added\n", steps.back()->FunctionName());
}

void VxImageProcessing::resetFunctions()
{
    steps.clear();
}

image* VxImageProcessing::apply(const vx_image* input)
{
    delete_image(currentImage);
    currentImage = nullptr;
    if (steps.empty())
        return nullptr;
    inputImage = input;
    apply();
    inputImage = nullptr;
    image* result = currentImage;
    currentImage = nullptr;
    return result;
}

image* VxImageProcessing::apply(const vx_image* input, const char* protocolPath)
{
    protocol = 1;
    this->protocolPath = protocolPath != nullptr ? protocolPath : "";
    return apply(input);
}

void VxImageProcessing::apply(const char* input, const char* output)
{
    inputPath = input != nullptr ? input : "";
    outputPath = output != nullptr ? output : "";
    vx_image_handle picture(readImage(inputPath.c_str()));
    if (picture == nullptr) {
        vx_report("Image processing: could not read %s\n", inputPath.c_str());
        return;
    }
    image_handle result(apply(picture.get()));
    if (result == nullptr) {
        vx_report("Image processing: no result for %s\n", inputPath.c_str());
        return;
    }
    writeImage(outputPath.c_str(), result.get());
}

void VxImageProcessing::RescaleImage()
{
    const image* source = inputImage != nullptr ? get_scale(inputImage, 0) : nullptr;
    if (source == nullptr) {
        vx_report("Image processing: no input picture to rescale\n");
        return;
    }
    delete_image(currentImage);
    currentImage = scale_image(source, scaling);
}

void VxImageProcessing::initRGBColorBandSelection(int band)
{
    bandSelectionMode = 2;
    selectedBand = band;
}

void VxImageProcessing::RGBColorBandSelection()
{
    switch (selectedBand) {
    case '1': vx_report("Extract R"); break;
    case '2': vx_report("Extract G"); break;
    case '3': vx_report("Extract B"); break;
    default: break;
    }
}
