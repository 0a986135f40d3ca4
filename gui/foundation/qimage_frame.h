#pragma once

// The widget that shows images. It keeps one 32-bit data word per image
// pixel and turns the words into its screen image (the viewport) through a
// display mode and a palette:
//   mode 1: bits 0-15 palette index, 16-23 overlay alpha, 24-31 overlay grey;
//   mode 2: the word is a colour 0x00RRGGBB;
//   other:  the low byte is drawn as blue.
// Palette entries are four bytes each: blue, green, red, 0. The image core's
// packed colours (red in the low byte) enter unchanged, so red and blue show
// exchanged; stored label images carry those colours.
//
// The viewport shows an integer-zoomed window of the image: screen pixel
// (i, j) shows image pixel (left + i / z, top + j / z); screen pixels beyond
// the image get the background colour. The screen image is painted at the
// widget's top-left corner, so widget and viewport coordinates agree. Every
// operation that changes content, zoom or mode redraws at once. GUI thread
// only.
//
// A frame that shows a 16-bit grey record (kind 4, from a "16BG" file or
// given as such) keeps a typed copy of it: the words show its values mapped
// onto 0..255, while get_t_image() and the readout give the record's own
// values. Any other new content drops the typed copy.

#include <QFrame>
#include <QImage>
#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

#include "imagecore/image.h"

enum class VxGreyRule;
class QBoxLayout;
class QKeyEvent;
class QLabel;
class QMouseEvent;
class QPaintEvent;
class QWheelEvent;

class qimage_frame : public QFrame {
    Q_OBJECT
public:
    // All constructors take the window flags of window_flags.h last; each
    // starts at zoom 1 with the mouse enabled.

    // A w x h ramp (word k = 4k mod 256), owned; palette 1, mode 2.
    qimage_frame(int w, int h, QWidget* parent, const char* name = nullptr, int flags = 0);
    // Shows the caller's w x h words (borrowed: they must outlive the frame or
    // be replaced first); palette 4, which replaces `palette` and `n`; mode 2.
    qimage_frame(int w, int h, int* data, QWidget* parent, unsigned char* palette, int n,
                 const char* name = nullptr, int flags = 0);
    // An owned copy of the record's pixels (kind 4: the typed copy and its
    // mapped values); palette 3, mode 2. A null record gives an empty frame.
    qimage_frame(const image* img, QWidget* parent, const char* name = nullptr, int flags = 0);
    // The file read by Qt's readers, else as "16BG" (image_loading.h); each
    // word is the pixel's colour with the top byte cleared; palette 2, mode
    // 2. An unreadable file prints "Could not load <file>" and leaves the
    // frame empty; the process goes on.
    qimage_frame(const char* file, QWidget* parent, const char* name = nullptr, int flags = 0);
    // An owned copy of the image in 32 bits, top bytes cleared; no palette,
    // mode 2. Takes `img` and deletes it; null gives an empty frame.
    qimage_frame(QImage* img, QWidget* parent, const char* name = nullptr, int flags = 0);
    // No image; the caller's palette (never freed or changed by the frame),
    // mode 1 when `palette` is not null, else mode 2 and no palette. A later
    // reset_qimage gives it an image.
    qimage_frame(QWidget* parent, unsigned char* palette, int n, const char* name = nullptr,
                 int flags = 0);
    // Deletes the readout label and emits closed() last.
    ~qimage_frame() override;

    int ImageWidth() const { return imageWidth; }
    int ImageHeight() const { return imageHeight; }

    // ---- palettes ----
    // Each frees the current palette when the frame owns it (never a
    // caller's), installs the new one as owned and does not redraw.
    // 1792 entries: ramps of grey, cyan, magenta, yellow, red, green, green.
    void createGreyValueDisplayPalette1();
    // 1792 + n entries: ramps of grey, cyan, magenta, yellow, blue, red,
    // green, then n extra colours; returns 1792, the first extra index.
    int createGreyValueDisplayPalette1(int n);
    // 1792 entries: ramps of grey, cyan, magenta, yellow, blue, red, green.
    void createGreyValueDisplayPalette2();
    // The same as palette 2.
    void createGreyValueDisplayPalette3();
    // 2048 entries: grey ramp; constant blue, green, red, cyan; ramps of red,
    // green, blue.
    void createGreyValueDisplayPalette4();
    // n + 1 scrambled label colours of the image core (initColorScrambledPalette).
    // Nothing changes when the image core refuses n.
    void createRandomDisplayPalette(int n);
    // Null: nothing. Otherwise adopts the caller's n entries (not owned),
    // sets mode 1 and redraws.
    void set_palette(unsigned char* palette, int n);
    // Entry i of a palette the frame owns; ignored (outputs untouched) for a
    // caller's palette, no palette or i outside 0..count-1.
    void setColor(int i, int r, int g, int b);
    void getColor(int i, int* r, int* g, int* b) const;
    void setDisplayMode(int mode);

    // ---- content ----
    // Replaces the content with the file's as the file constructor reads it,
    // each word the full 32-bit pixel; viewport = image size, zoom 1, mode 2.
    void load_image(const char* file);
    // The same, but a file that no reader takes changes nothing: false, with
    // the reader's reason in `failure` (image_loading.h).
    bool load_image(const QString& file, QString& failure);
    // Copies the pixels of a record of the image's size into the data words
    // and redraws; another size is refused with a message.
    void set_image(const image* img);
    // Gives the frame the record's size and an owned copy of its pixels;
    // zoom 1, viewport = image size.
    void reset_qimage(const image* img);
    // Installs the palette (set_palette), then as above with an owned copy of
    // the w x h words (zeros when data is null).
    void reset_qimage(int w, int h, int* data, int* palette, int n);
    // Shows the caller's words (borrowed) of the current image size; an owned
    // buffer other than `data` is freed. Redraws zoomed.
    void display_image(int* data);
    // The typed copy when there is one; otherwise a record over the data
    // words: width, height and pixels, otherwise as create_image fills it
    // (kind 1, connect -1, offsets for the width). Not a copy; never freed
    // by the caller; valid until the content changes.
    image* get_t_image();
    // Turn the shown colours into grey words and switch to mode 1 (at zoom 1,
    // viewport = image size); a frame already in mode 1 is not converted.
    // The typed copy stays. Rules as in grey_conversion.h.
    void convertMaxNormalized();
    void convertGreyNormalized();
    void convertGreyEuclidean();
    // Write the screen image (image_writing.h): the format from the name's
    // extension, or the given one. Return whether the file was written.
    bool write_image(const QString& file);
    bool write_image(const char* file, const char* format);
    // The same without the pop-up (vx_write_image_quietly).
    bool write_image_quietly(const char* file, const char* format);
    // Zoom 1, and the data words scaled by f (nearest neighbour) copied raw
    // into a new screen image of the scaled size, which becomes the
    // viewport. A factor that gives no pixel changes nothing.
    void scale(double f);
    // Shows a copy of the picture as the screen image (and viewport) until
    // the next redraw; null: nothing.
    void set_image(const QImage* picture);
    // Makes the screen image 32-bit RGB; every redraw does so first.
    void initImageDepth32();
    // Prints "Flicker Buffer"; nothing else.
    void initFlickerBuffer();

    // ---- display ----
    // Redraws the whole viewport from the data words, then repaints. In
    // mode 1 an index at or beyond the palette count prints a message and
    // leaves its screen pixel as it was.
    void display_image_zoomed();
    // Draws image pixel (x, y) at screen pixel (x, y), without zoom or
    // overlay: mode 2 copies words, mode 1 looks the whole word up in the
    // palette (the low byte as blue without one), other modes draw nothing.
    void display_image();
    // Mode 1 only: redraws the z x z block of image pixel (x, y) with the
    // single-pixel blend (updatePixelZoomPalettedDisplay). Pixels outside the
    // image or the zoom window are ignored.
    void display_pixel_orig_zoomed(int x, int y);
    void updatePixelZoomPalettedDisplay(int x, int y);
    // Kept for callers of the other modes; they draw nothing.
    void updatePixelZoomRawDisplay(int x, int y);
    void updatePixelZoomRGBDisplay(int x, int y);
    // Repaints and prints "update_image for <tag>".
    void update_image(const char* tag);
    // Tool tip: text + "Size W: <w> H: <h>" of the screen image.
    void setTip(QString text);
    // The widget's background-role colour, 0x00RRGGBB.
    int BackgroungColor() const;

    // ---- controls ----
    // The readout label "(xPos X yPos) (Color)" in `parent`, owned by the
    // frame (deleted with it; a former one is deleted); turns mouse tracking
    // on. Mouse moves show "(column X row) (red, green, blue)" there.
    QLabel* initCoordinateLabel(QWidget* parent);
    // A widget "Resize Buttons" in `parent` holding "+" (bigger) and "-"
    // (smaller) in a horizontal or vertical box, then a stretch.
    QWidget* initResizeHButtons(QWidget* parent);
    QWidget* initResizeVButtons(QWidget* parent);
    // A horizontal box set on `parent` (which has no layout yet) with "+",
    // "-" and the readout label; returned.
    QBoxLayout* initControls(QWidget* parent);
    void setResizeStep(int step) { resizeStep = step; }
    int getResizeStep() const { return resizeStep; }
    // Mouse presses, drags and the wheel act only while enabled.
    void setZoomOnWheel(bool enabled) { mouseEnabled = enabled; }
    // Non-zero: Ctrl+S only emits ctlSpressed(), without the save dialog.
    void CTL_S_SaveDialog(int withoutDialog) { ctlSWithoutDialog = withoutDialog; }

    // ---- zoom window ----
    int DisplayFrameTop() const { return zoomTop; }
    int DisplayFrameLeft() const { return zoomLeft; }
    // Viewport width / z and height / z.
    int DisplayFrameWidth() const;
    int DisplayFrameHeight() const;

    // ---- resizing ----
    // Viewport = w x h (sides below 1 are refused), zoom 1, redraw.
    void resizeDisplayFrame(int w, int h);
    // Viewport = the frame's size less the margin and other's size (`other`
    // null: the frame's own); nothing when a side would be below 1 or both
    // at least the frame's current size.
    void fitDisplayFrame(int margin, QWidget* other);
    // Grows or shrinks the viewport by (dw, dh) through resizeFrame, first
    // trimming a side that would show beyond the zoomed image while the
    // other side still shows less than it.
    void resizeFrameStep(int dw, int dh);

public slots:
    // Text that is not a whole number of at least 1 is ignored; no redraw.
    void setZoomfactor(QString qstFactor);
    // Re-applies the zoom window and redraws.
    void updateZoomWindow();
    // Zoom z, window origin (left, top); missing arguments keep the current
    // values. Enables the mouse; z is cut to the viewport width - 1 and
    // ignored when below 1; the origin is clamped into the image. No redraw.
    void setZoomWindow();
    void setZoomWindow(int iValue);
    void setZoomWindow(int iTopX, int iTopY);
    void setZoomWindow(int iValue, int iTopX, int iTopY);
    // Zoom in by one about viewport point (x, y), or its centre; redraws and
    // emits changedZoomfactor and ZoomfactorChanged.
    void ZoomFactorUp();
    void ZoomFactorUp(int iX, int iY);
    // Zoom out by one about the window's centre; nothing at zoom 1.
    void ZoomFactorDown();
    // Move the window by one image pixel while it stays inside the image.
    void LeftMoveZoomFrame();
    void RightMoveZoomFrame();
    void UpMoveZoomFrame();
    void DownMoveZoomFrame();
    // resizeFrame(resize step) and resizeFrame(-resize step).
    void bigger();
    void smaller();
    void resizeFrame(int iOffset);
    // Viewport = w x h unless that is smaller than the image; keeps the zoom.
    void resizeFrame(int iWidth, int iHeight);

signals:
    // Presses inside the image, in image coordinates; the Ctl forms with
    // Ctrl held.
    void leftButtonClickAt(int iX, int iY);
    void leftButtonCtlClickAt(int iX, int iY);
    void midButtonClickAt(int iX, int iY);
    void midButtonCtlClickAt(int iX, int iY);
    void rightButtonClickAt(int iX, int iY);
    void rightButtonCtlClickAt(int iX, int iY);
    // A drag with the left button onto another image pixel.
    void leftButtonMoveto(int iX, int iY);
    void changedZoomfactor(int);
    void ZoomfactorChanged(const QString&);
    // The wheel with Ctrl alone.
    void wheelCtlUp();
    void wheelCtlDown();
    // Ctrl+S, whether a file was written or not.
    void ctlSpressed();
    void closed();

protected slots:
    // The image position last reported by a right press or a left drag.
    int zoomedMouseXpos() const { return lastReportedX; }
    int zoomedMouseYpos() const { return lastReportedY; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    // Ctrl+S asks for a file name (start "DisplayView.png"), adds ".png"
    // where missing and writes the screen image; other keys are ignored.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void initDefaults(const char* name, int flags);
    // Screen image of the image size, minimum size, zoom 1, draw, repaint.
    void showNewImage();
    // Owned words: a copy of `words` (zeros when null) for a w x h image.
    void adoptOwnedCopy(int w, int h, const int* words);
    // reset_qimage: owned copy of the words or the record, screen of the
    // image size, zoom 1, redraw.
    void resetContent(int w, int h, const int* words, const image* record);
    // The record's values into the data words: for kind 4 a new typed copy
    // and the mapped values; otherwise the pixels, and no typed copy.
    void takeRecord(const image* record);
    // Reads the file into owned words (none, after the message, when nothing
    // could be read) and its typed copy.
    void loadFile(const char* file, bool keepTopByte);
    // The read picture (32 bits; null for none) becomes the owned words, the
    // "16BG" record (or null) the typed copy.
    void takePicture(const QImage& picture32, image* grey16, bool keepTopByte);
    // load_image's new screen: viewport = image size, zoom 1, mode 2, drawn.
    void showLoaded();
    void convertToGrey(VxGreyRule rule);
    // The embedded header filled over the data words.
    image* wordsHeader();
    // Frees an owned palette (printing "Clean Old Palette" when asked).
    void dropPalette(bool report);
    void installOwnedPalette(std::vector<unsigned char> entries);
    void replaceScreen(int w, int h);
    void applyZoomWindow(int z, int left, int top);
    void drawZoomed();
    void emitZoomFactor();
    void showReadout(int x, int y, int column, int row);
    bool insideViewport(int x, int y) const;
    bool insideImage(int column, int row) const;
    int viewportWidth() const { return screen.width(); }
    int viewportHeight() const { return screen.height(); }
    // "+" and "-" in `parent`, added to `box`.
    void addResizeButtons(QWidget* parent, QBoxLayout* box);
    QWidget* resizeButtonsWidget(QWidget* parent, bool horizontal);

    int resizeStep = 20;
    // Image position last reported (right press, left drag).
    int lastReportedX = 0;
    int lastReportedY = 0;
    // Viewport point of the last right press inside it: the pan origin.
    int lastRightX = 0;
    int lastRightY = 0;
    // The screen image; its size is the viewport.
    QImage screen;
    // Palette entries (4 bytes each) and their count, -1 without a palette;
    // ownership 0 none, 1 the frame's (ownedPalette), 2 the caller's.
    unsigned char* displayPalette = nullptr;
    int paletteCount = -1;
    int paletteOwnership = 0;
    std::vector<unsigned char> ownedPalette;
    // The data words: ownedData's or the caller's.
    int* data = nullptr;
    std::vector<int> ownedData;
    image header{};
    struct ImageDeleter {
        void operator()(image* img) const;
    };
    std::unique_ptr<image, ImageDeleter> typedCopy;
    int displayMode = 2;
    QPointer<QLabel> coordinateLabel;
    int zoom = 1;
    int zoomLeft = 0;
    int zoomTop = 0;
    int zoomWidth = 0;
    int zoomHeight = 0;
    bool mouseEnabled = false;
    int imageWidth = 0;
    int imageHeight = 0;
    int ctlSWithoutDialog = 0;
};
