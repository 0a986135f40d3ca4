#pragma once

// The push button that offers the preprocessing steps. Its menu "Preprocess
// Functions" opens one of the five preprocessing dialogs, which the button
// owns (built hidden, without parent, kept with their settings until the
// button goes); each step a dialog emits is forwarded with Function. "Clear"
// asks the receiver to empty its chain instead. The receiver connects
// Function to its chain's addFunction road and doNoPreProcessing to its
// reset.

#include <memory>

#include <QPushButton>

class ProcessImage;
class QMenu;
class VxColorFilterDialog;
class VxExtractRRDialog;
class VxRGBFilterDialog;
class VxROIExtractionDialog;
class VxRescaleDialog;

class VxPreprocessSelection : public QPushButton {
    Q_OBJECT
public:
    // The menu, attached with setMenu, holds "ROIExtract" (Alt+R), "ReScale"
    // (Alt+S), "ExtractRR" (Alt+X), "RGBFilter" (Alt+F), "ColorFilter"
    // (Alt+O) and "Clear" (Alt+C), in this order.
    VxPreprocessSelection(const char* text, QWidget* parent, const char* name);
    // Deletes the five dialogs.
    ~VxPreprocessSelection() override;

signals:
    // One configured step, still owned by its dialog: the receiver copies it.
    // Connect directly.
    void Function(ProcessImage& piFunction);
    void doNoPreProcessing();

public slots:
    // Pops the menu up at the button's top-left corner, its first entry
    // highlighted; returns at once.
    void do_preprocessing();
    void roiExtract();
    void rescale();
    void extractRR();
    void rgbfilter();
    void colorfilter();
    void clearPreProc();
    void initFunction(ProcessImage& piFunction);

private:
    std::unique_ptr<VxROIExtractionDialog> roiDialog;
    std::unique_ptr<VxRescaleDialog> rescaleDialog;
    std::unique_ptr<VxExtractRRDialog> extractDialog;
    std::unique_ptr<VxRGBFilterDialog> rgbDialog;
    std::unique_ptr<VxColorFilterDialog> colorDialog;
    QMenu* functions = nullptr;
};
