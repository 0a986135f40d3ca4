#pragma once

// A carrier of computation progress: whoever runs a computation calls
// setProgressOutput, and the widgets that show progress connect to
// setProgress (operation codes as the progress widgets know them).

#include <QObject>

class VxAnalyseSignals : public QObject {
    Q_OBJECT
public:
    VxAnalyseSignals();

public slots:
    // Emits setProgress with the same values.
    void setProgressOutput(int iOperation, int iStep);

signals:
    void setProgress(int iOperation, int iStep);
};
