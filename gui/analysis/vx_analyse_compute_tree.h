#pragma once

// The worker of a threaded tree computation: one polarity's multiscale
// partition and region graph on a thread of its own, counting its progress
// steps for the GUI thread to show. The GUI thread starts it, polls
// getStep() and takes getTree() once isFinished() is true.

#include <QThread>
#include <atomic>

struct functions;
struct region_tree;
struct vx_image;

class vx_analyse_compute_tree : public QThread {
    Q_OBJECT
public:
    // A worker with nothing to compute: run() does nothing.
    vx_analyse_compute_tree();
    // Borrows the one-scale source, the destination (at least `scales`
    // scales, the worker's alone while it runs) and the template
    // description; mode 1 bright, 2 dark; generationMode the partition's
    // generation flags.
    vx_analyse_compute_tree(vx_image* source, vx_image* destination, functions* tmpl, int scales,
                            int mode, int generationMode);

    // The tree built by run(), null before and when the partition could not
    // be computed or memory ran out. The caller takes it over once the
    // thread has finished.
    region_tree* getTree() const { return tree.load(std::memory_order_acquire); }
    // Whether memory ran out in run(), which then built nothing.
    bool ranOutOfMemory() const { return memoryShort.load(); }
    // Steps done so far: 1..scales through the partition, then on by one
    // per scale of the region graph. Any thread.
    int getStep() const { return step.load(); }
    // step := base step + k; the first argument is not used.
    void setProgress(int, int k);

    // The progress callback of both phases (context: the worker): prints
    // "Signal Progress Set " and sets step := base step + k + 1, where the
    // region graph's first step (kinds 11, 12) first sets base step := step.
    static void sendProgressSignal(int kind, int k, void* self);

protected:
    // Partition, then the region graph; memory that runs out ends them.
    void run() override;

private:
    std::atomic<int> baseStep{0};
    std::atomic<int> step{0};
    vx_image* source = nullptr;
    vx_image* destination = nullptr;
    functions* tmpl = nullptr;
    int scales = 0;
    // Published when complete: whoever reads it sees the whole tree.
    std::atomic<region_tree*> tree{nullptr};
    std::atomic<bool> memoryShort{false};
    int mode = 0;
    int generationMode = 0;
};

// Formats "<text>, <number>\n" (the text alone for a negative number) into
// a buffer of the calling thread and returns it; nothing else.
const char* set_progress_output(const char* text, int number);
