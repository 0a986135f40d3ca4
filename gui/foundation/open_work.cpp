#include "gui/foundation/open_work.h"

#include <QMessageBox>
#include <QPushButton>

#include "gui/foundation/dialog_service.h"

namespace {
int open_works = 0;
}

VxOpenWork::VxOpenWork()
{
    ++open_works;
}

VxOpenWork::~VxOpenWork()
{
    --open_works;
}

bool vx_work_open()
{
    return open_works > 0;
}

bool vx_may_end_session()
{
    if (!vx_work_open())
        return true;
    QMessageBox question(QMessageBox::Question, QStringLiteral("End Corvella"),
                         QStringLiteral("End Corvella? Open analyses are not saved."),
                         QMessageBox::Yes | QMessageBox::No);
    question.setObjectName(QStringLiteral("End Session"));
    question.setDefaultButton(QMessageBox::No);
    vx_dialogs().exec(question);
    return question.clickedButton() == question.button(QMessageBox::Yes);
}
