#pragma once

// Work that ending the session would lose: an open analysis, a run under
// way, an open labelling. While any is open, "Exit Application !" and Quit
// ask once before the session ends. GUI thread only.

// Open work for the object's lifetime: a member of the window that holds
// the work, or of what keeps a window at work.
class VxOpenWork {
public:
    VxOpenWork();
    ~VxOpenWork();
    VxOpenWork(const VxOpenWork&) = delete;
    VxOpenWork& operator=(const VxOpenWork&) = delete;
};

// Whether any work is open.
bool vx_work_open();

// Whether the session may end: no work is open, or the user answers Yes to
// "End Corvella? Open analyses are not saved." (No is the default answer).
// Asks through the dialog service.
bool vx_may_end_session();
