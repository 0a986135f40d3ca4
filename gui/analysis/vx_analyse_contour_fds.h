#pragma once

// A top-level window that shows how well a region's outer contour is
// described by its first Fourier coefficients. The contour is resampled to
// a power-of-two sample count and transformed; the view keeps the first n
// coefficients in low-to-high frequency order and draws, over a copy of the
// region's image, the region's own contour, its reconstruction in place and
// a reconstruction centred in the image. Sliders and fields choose n and the
// sample count; "Coeffs" lists the kept normalised magnitudes.
//
// The window deletes itself when closed. GUI thread only.

#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class qimage_frame;
struct image;
struct tregionnode;

class vx_analyse_contour_fds : public QWidget {
    Q_OBJECT
public:
    // The region's outer contour (positions row * width + column of a
    // width x height image) and `img` (that size) are copied; neither is
    // used afterwards. Prints "CLen <length>, Samples<count>",
    // computes, draws and shows the window. `title` is the window title and
    // object name.
    vx_analyse_contour_fds(int width, int height, tregionnode* region, const image* img,
                           QWidget* parent, const char* title);
    ~vx_analyse_contour_fds() override;

    int coefficientCount() const { return coeffs; }
    int sampleCount() const { return samples; }

public slots:
    // Draws the background and the three contours.
    void update_display();
    // A whole number in 2 .. the maximum coefficient count becomes the
    // count and moves the coefficient slider; other texts are ignored.
    void set_coeffs_and_slider(QString qsInput);
    void set_coeffs_from_slider(int ivalue);
    // The coefficient view lists the kept coefficients' magnitudes.
    void show_coeffs();
    // A whole number v in 2 .. the initial sample count (the power of two
    // above the contour length, at least 2) moves the samples slider to v
    // and makes the power of two above v the sample count, recomputing the
    // coefficients for the next drawing; other texts (empty, "1") are
    // ignored.
    void set_samples_and_slider(QString qsInput);
    // The power of two above the value (taken into 2 .. the initial sample count)
    // becomes the sample count; the slider snaps to it, the field shows it,
    // the coefficients are recomputed and drawn.
    void set_samples_from_slider(int ivalue);
    // One coefficient fewer, down to 2.
    void down_coeffs();
    // One more while below the maximum coefficient count - 1.
    void up_coeffs();
    // Image -> black -> grey -> image; the button names the next one.
    void toggle_background_image();

private:
    void buildLayout();
    // The coefficients for the current sample count, kept for every drawing.
    void computeCoefficients();
    void showSampleCount();
    void put(int column, int row, int value);

    std::vector<int> contour;
    // Result arrays of the transform (desc, fft: kept unreduced; ordered:
    // what the view lists), the reduced working copies and the rebuilt
    // points; each holds room for the largest sample count the controls
    // reach.
    std::vector<double> descRe, descIm, fftRe, fftIm, orderedMag, orderedPhase;
    std::vector<double> reducedDescRe, reducedDescIm, reducedFftRe, reducedFftIm;
    std::vector<double> centredX, centredY, placedX, placedY;
    QSlider* coeffSlider = nullptr;
    QSlider* samplesSlider = nullptr;
    QLineEdit* coeffField = nullptr;
    QLineEdit* samplesField = nullptr;
    int coeffs = 2;
    int maxCoeffs = 2;
    int samples = 2;
    int initialSamples = 2;
    int width = 0;
    int height = 0;
    std::vector<int> drawing;
    std::vector<int> imageCopy;
    // A child that goes before the drawing buffer it shows.
    std::unique_ptr<qimage_frame> display;
    QPlainTextEdit* coefficientView = nullptr;
    int background = 0;
    QPushButton* backgroundButton = nullptr;
};
