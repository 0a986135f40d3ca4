#pragma once

// The base of the dialogs that work on the GUI thread for a while and
// process pending events meanwhile (busy_window.h): during the work the
// dialog is application-modal and its form disabled, but for a Stop or
// Cancel control that the work honours. A close or destroyDialog() during
// the work asks the work to stop and deletes the dialog after it.

#include <functional>

#include "gui/foundation/vx_base_dialog.h"

class QCloseEvent;

class VxWorkingDialog : public VxBaseDialog {
    Q_OBJECT
public:
    using VxBaseDialog::VxBaseDialog;

public slots:
    // Deletes the dialog back in the event loop; during the work it asks the
    // work to stop and deletes the dialog after it.
    void destroyDialog() override;

protected:
    // During the work: ignored, the work asked to stop, the dialog deleted
    // after it.
    void closeEvent(QCloseEvent* event) override;

    bool working() const { return busy; }
    // Runs the job busy. `stop` (when not null) stays enabled and has the
    // keyboard focus meanwhile: a control whose click calls askStop(). A
    // close asked for meanwhile deletes the dialog after the job. The job
    // may delete the dialog.
    void work(const std::function<void()>& job, QWidget* stop = nullptr);
    // Whether the work under way was asked to stop; a job that can end
    // early looks at it between its steps. Each work starts without it.
    bool stopAsked() const { return stopRequested; }
    void askStop() { stopRequested = true; }
    // Disables or enables the form: every button, line edit and item view
    // directly in the dialog, or in its scrolled content (screen_fit.h).
    virtual void setFormEnabled(bool enabled);

private:
    bool busy = false;
    bool closeAsked = false;
    bool stopRequested = false;
};
