#pragma once

// The base of the dialogs that work on the GUI thread for a while and
// meanwhile let pending events other than user input run: during the work
// the form is disabled, and a Cancel, close or destroyDialog() asked for
// meanwhile takes effect when the work ends.

#include <functional>

#include "gui/foundation/vx_base_dialog.h"

class QCloseEvent;

class VxWorkingDialog : public VxBaseDialog {
    Q_OBJECT
public:
    using VxBaseDialog::VxBaseDialog;

public slots:
    // Deletes the dialog back in the event loop; during the work only after
    // it.
    void destroyDialog() override;

protected:
    // Ignored during the work (remembered as a Cancel).
    void closeEvent(QCloseEvent* event) override;

    bool working() const { return busy; }
    // Runs the job with the form disabled; a close asked for meanwhile
    // deletes the dialog after it. The job may delete the dialog.
    void work(const std::function<void()>& job);
    // Disables or enables the form: every button, line edit and item view
    // directly in the dialog, or in its scrolled content (screen_fit.h).
    virtual void setFormEnabled(bool enabled);

private:
    bool busy = false;
    bool closeAsked = false;
};
