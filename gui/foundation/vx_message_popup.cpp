#include "gui/foundation/vx_message_popup.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/foundation/dialog_service.h"
#include "gui/foundation/gui_exit.h"
#include "gui/foundation/open_work.h"

namespace {
constexpr char maintainers_address[] = "corvella-maintainers@lists.corvella.org";
}

VxMessagePopUp::VxMessagePopUp(int flags, QString title, QString message)
{
    // 1. A modal dialog without parent.
    setModal(true);
    setObjectName(QStringLiteral("Message Pop Up"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // 2.-4. Header, message and, for a fatal box, its three lines.
    layout->addWidget(label = new QLabel(QStringLiteral("Message from vx_analyse"), this));
    layout->addWidget(label = new QLabel(message, this));
    if (flags & fatal) {
        label = new QLabel(QStringLiteral("Fatal Error! Safe recovery impossible!\n"
                                          "Program termination\n"
                                          "Please report this failure by e-mail to ") +
                               maintainers_address,
                           this);
        layout->addWidget(label);
    }

    // 5.-6. The two buttons.
    acknowledgeButton = new QPushButton(QStringLiteral("Acknowlege"), this);
    acknowledgeButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    layout->addWidget(acknowledgeButton);
    connect(acknowledgeButton, &QPushButton::clicked, this,
            qOverload<>(&VxMessagePopUp::acknowledged));
    auto* exitButton = new QPushButton(QStringLiteral("Exit Application !"), this);
    exitButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    layout->addWidget(exitButton);
    connect(exitButton, &QPushButton::clicked, this, &VxMessagePopUp::finito);

    // 7. Flags and title.
    this->flags = flags;
    setWindowTitle(title);
    this->title = title;
}

VxMessagePopUp::~VxMessagePopUp()
{
    if (flags & fatal)
        vx_gui_exit(exit_code::fatal_message);
}

void VxMessagePopUp::acknowledged()
{
    emit acknowledged(title);
    close();
}

void VxMessagePopUp::finito()
{
    if (vx_may_end_session())
        vx_gui_exit(exit_code::exit_application);
}

void vx_message(const QString& title, const QString& text)
{
    VxMessagePopUp popUp(VxMessagePopUp::notice, title, text);
    vx_dialogs().exec(popUp);
}

void vx_write_error(const QString& file)
{
    vx_write_errors(file, 1);
}

void vx_write_errors(const QString& first, int count)
{
    vx_message(
        QStringLiteral("!!Write Error!!"),
        count == 1
            ? "Unable to write file\n" + first
            : QStringLiteral("Unable to write %1 files, the first of them\n").arg(count) + first);
}

void vx_read_error(const QString& file, const QString& reason)
{
    vx_message(QStringLiteral("Could not load image"), "Unable to read\n" + file + "\n" + reason);
}
