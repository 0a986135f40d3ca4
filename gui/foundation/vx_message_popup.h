#pragma once

// The system's message box: a header, the message, "Acknowlege" and "Exit
// Application !" (which ends the process with exit_code::exit_application,
// after asking while work is open: open_work.h).
// With the fatal bit (2) in its flags it also tells that the program ends,
// and its destruction ends the process with exit_code::fatal_message; every
// other bit has no effect. Callers run it through the dialog service.

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

class VxMessagePopUp : public QDialog {
    Q_OBJECT
public:
    VxMessagePopUp(int flags, QString title, QString message);
    ~VxMessagePopUp() override;

    static constexpr int fatal = 2;
    // The flags every caller passes: a bit without effect, so the box is
    // not fatal.
    static constexpr int notice = 4;

signals:
    // Carries the title.
    void acknowledged(const QString&);

public slots:
    // Emits acknowledged(title), then closes the box.
    void acknowledged();
    // Ends the process, at once when no work is open, else when the user
    // confirms.
    void finito();

private:
    QLabel* label = nullptr;  // the last label added
    QPushButton* acknowledgeButton = nullptr;
    QString title;
    int flags = 0;
};

// The ordinary pop-up (flags `notice`) with the given title and text, run through the
// dialog service.
void vx_message(const QString& title, const QString& text);

// The "!!Write Error!!" pop-up naming the file.
void vx_write_error(const QString& file);

// The same for a run that could not write `count` files, naming the first.
void vx_write_errors(const QString& first, int count);

// The "Could not load image" pop-up naming the file and why its reader
// refused it.
void vx_read_error(const QString& file, const QString& reason);
