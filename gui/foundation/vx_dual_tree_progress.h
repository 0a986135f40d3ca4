#pragma once

// Two bars for a dual tree computation of n scales: the bright and the dark
// tree each run through the partition (codes 1 and 2, values 1..n) and then
// the region graph (codes 11 and 12, shown as n + value), so a bar's maximum
// is 2n. getProgress is the tree computations' progress callback.
//
// Widgets are touched on the GUI thread only. A report made on another
// thread stores the bar's new value in an atomic and posts one queued
// update; the GUI thread then sets the bars to the last values reported,
// clamped to their range.

#include <QWidget>
#include <atomic>

class QLabel;
class QProgressBar;

class VxDualTreeProgress : public QWidget {
    Q_OBJECT
public:
    // n = steps; shows itself at once.
    VxDualTreeProgress(int steps, QWidget* parent, const char* name, int flags);

    // n = steps for the next computation; both maxima become 2n.
    void resetSteps(int steps);
    // Both bars show no progress.
    void reset();
    // Sets the bar of the operation code to the value (other codes set
    // nothing), then processes pending events (the window holding the bars
    // is busy, busy_window.h); on another thread only records the value.
    // Prints its _IN and OUT trace lines.
    void handleComputationProgressBar(int operation, int value);
    // The tree_progress_fn: handleComputationProgressBar(operation, step + 1)
    // on the VxDualTreeProgress that `widget` points to. Any thread.
    static void getProgress(int operation, int step, void* widget);

public slots:
    void setProgress(int Operation, int iStep);
    void setBright(int iStep);
    void setDark(int iStep);

signals:
    // Declared for thread progress; nothing emits them.
    void progressStepBrightThread(int);
    void progressStepDarkThread(int);
    void progressTextBrightThread(const QString&);
    void progressTextDarkThread(const QString&);

private:
    // Sets the bars from the recorded values; GUI thread.
    void showRecorded();
    void setBar(QProgressBar* bar, int value);

    std::atomic<int> steps{0};
    int maximum = 0;
    QProgressBar* bright = nullptr;
    QProgressBar* dark = nullptr;
    QLabel* brightLabel = nullptr;
    QLabel* darkLabel = nullptr;
    // A bar's last reported value, -1 when it has been shown.
    std::atomic<int> recordedBright{-1};
    std::atomic<int> recordedDark{-1};
    std::atomic<bool> updatePosted{false};
};
