#pragma once

// The base of the tool dialogs: a plain widget that holds the shared paths
// object, a private copy of it for its own file dialogs, and its window
// flags. Built with VX_DELETE_ON_CLOSE it deletes itself when closed (back
// in the event loop); otherwise closing only hides it.

#include <QPointer>
#include <QWidget>

class VxBasePaths;
class QCloseEvent;

class VxBaseDialog : public QWidget {
    Q_OBJECT
public:
    // Keeps `shared` (not owned) as the shared object and makes the private
    // copy, which the dialog owns.
    VxBaseDialog(VxBasePaths* shared, QWidget* parent, const char* name, int flags);
    // A dialog without paths.
    VxBaseDialog(QWidget* parent, const char* name, int flags);

public slots:
    // Deletes the dialog once control is back in the event loop, so it is
    // safe from the dialog's own buttons and from a dying main window's
    // signal.
    virtual void destroyDialog();

protected:
    // Stays accepted: a flagged dialog is then deleted, another one hidden.
    void closeEvent(QCloseEvent* event) override;

    // The application-wide paths: for the global update rule. Not used in
    // destructors, when it may be gone already.
    QPointer<VxBasePaths> sharedPaths;
    // This dialog's own copy, a Qt child of the dialog: for all of its file
    // dialogs.
    VxBasePaths* paths = nullptr;
    // The flags the constructor received.
    int flags = 0;
};
