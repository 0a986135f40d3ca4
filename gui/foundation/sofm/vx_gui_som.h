#pragma once

// The SOFM trainer: a window that trains a self-organising map on the
// number columns of a CSV table, shows the map while it trains, and saves
// and reloads maps as ".som" files. Training runs inside Start on the GUI
// thread, the window busy (busy_window.h): modal, its form disabled but for
// Stop. Every DisplaySteps steps the picture repaints, a line under the map
// says "Step k of n" and pending events run; the cluster map after the
// training refreshes likewise. Stop ends the training after the current
// step and the cluster map is built from what is trained; a close during
// the training stops it likewise and closes the window after it. A map
// whose longer side is below 400 cells is shown zoomed to at least that.
//
// The window deletes itself when closed. Its column list is a window of its
// own ("Attribute Selection"), owned by the trainer. A file that is neither
// a table (".csv") nor a map (".som"), or that cannot be read, gives a
// pop-up and the window closes itself at once; the caller goes on.

#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

#include "analyse/handles.h"

class QButtonGroup;
class QCloseEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class VxTable;
class qimage_frame;
class vxqtsofm;

class VxGUISOM : public QWidget {
    Q_OBJECT
public:
    // `file` is the table or map, `title` is followed by the file name in
    // the window title, `name` is the object name. The window shows itself.
    VxGUISOM(const QString& file, const QString& title, QWidget* parent, const char* name);
    ~VxGUISOM() override;

    // A new column list window: one check item per table column, the
    // selected ones checked; shows it and the trainer.
    void initAttributeSelection();
    // The map in the current display mode (1 cluster labels, 2 distance
    // map, 3 local distances), with the inputs' cells marked when the
    // marker flag is set. Nothing without a map.
    void DisplayMap();

protected slots:
    // Start: trains a new map on the checked columns. Refused with a pop-up,
    // everything left as it was, when no column is checked, the table has
    // no rows or no map of the current size can be built.
    void DoIt();
    // The text's value, unchecked (an empty text gives 0).
    void set_width(QString qstInput);
    void set_height(QString qstInput);
    void set_maxstep(QString qstInput);
    void set_learnrate(QString qstInput);
    void set_scope(QString qstInput);
    // 1 Gaussian, 2 pyramid, 3 cone.
    void set_function(int ID);
    // Both name edits store the one SOM file name.
    void setSOMFilename(QString);
    // Writes the map to the SOM file name; nothing without a map, a pop-up
    // when it cannot be written.
    void writeSOMFile();
    // A save dialog; the chosen name gets ".som" once, is shown and written.
    void saveSOM();
    void set_DispalySteps(QString qstSteps);
    // 0 none, 1 Euclidean, 2 interval.
    void set_normalize(int ID);
    // With a map: local distances -> cluster labels -> distance map ->
    // local distances; the button names the map the next click shows.
    void selectDisplayMode();
    void selectMarkerMode();
    // An open dialog; the chosen map is shown and loaded.
    void loadSOM();
    void setSOMLoadFilename(QString qstFName);
    // Reloads the map named by the SOM file name with its table and
    // columns. A file that does not open or whose head is not a map's, a
    // column count or index that does not fit, or a table that cannot be
    // read gives a pop-up; table, selection and map then stay as they were.
    void loadSOMFile();
    // During the training: it ends after the current step.
    void stopTraining();

protected:
    // During the training: ignored, the training stopped, the window closed
    // after it.
    void closeEvent(QCloseEvent* event) override;

private:
    // Trains the map, busy; then the line says where it ended.
    void train();
    // At every refresh of the training and of its cluster map: the step
    // line, then pending events.
    void trainingRefreshed();
    // The form but Stop and the step line.
    void setFormEnabled(bool enabled);
    // The display zoomed so that a map's longer side shows on at least
    // about 400 pixels.
    void enlargeSmallMap();
    // The radio buttons of the function and normalisation codes in force.
    void showCodes();
    // The window's parts below the display, built once a table is there.
    void buildControls();
    // A larger map and its placeholder when the table has more rows than a
    // quarter of the units.
    void showPlaceholderForRows(int rows);
    // The indices of the checked column items.
    std::vector<unsigned> checkedColumns() const;
    void popUp(const QString& title, const QString& message);

    QString somFileName;
    vector_array_handle vectors;
    int mapWidth = 128;
    int mapHeight = 128;
    double learnRate = 1.0;
    double learnScope = 1.0;
    int maxSteps = 0;
    int function = 1;
    int displaySteps = 15;
    qimage_frame* display = nullptr;
    std::vector<int> placeholder;
    QLineEdit* saveNameEdit = nullptr;
    QLineEdit* loadNameEdit = nullptr;
    std::unique_ptr<VxTable> table;
    std::unique_ptr<QTreeWidget> columnList;
    std::vector<unsigned> selection;
    std::unique_ptr<vxqtsofm> map;
    int normalization = 0;
    int displayMode = 3;
    QPushButton* displayModeButton = nullptr;
    bool marker = false;
    QButtonGroup* functionGroup = nullptr;
    QButtonGroup* normalizationGroup = nullptr;
    QPushButton* stopButton = nullptr;
    QLabel* stepLine = nullptr;
    bool training = false;
    bool stopAsked = false;
    bool closeAsked = false;
};
