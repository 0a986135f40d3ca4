#include "gui/foundation/preprocessing/vx_preprocess_selection.h"

#include <QAction>
#include <QMenu>

#include "gui/foundation/preprocessing/vx_color_filter_dialog.h"
#include "gui/foundation/preprocessing/vx_extract_rr_dialog.h"
#include "gui/foundation/preprocessing/vx_rescale_dialog.h"
#include "gui/foundation/preprocessing/vx_rgb_filter_dialog.h"
#include "gui/foundation/preprocessing/vx_roi_extraction_dialog.h"

VxPreprocessSelection::VxPreprocessSelection(const char* text, QWidget* parent, const char* name)
    : QPushButton(QString::fromLatin1(text), parent),
      roiDialog(std::make_unique<VxROIExtractionDialog>()),
      rescaleDialog(std::make_unique<VxRescaleDialog>()),
      extractDialog(std::make_unique<VxExtractRRDialog>()),
      rgbDialog(std::make_unique<VxRGBFilterDialog>()),
      colorDialog(std::make_unique<VxColorFilterDialog>())
{
    setObjectName(QString::fromLatin1(name));
    functions = new QMenu(this);
    functions->setObjectName(QStringLiteral("Preprocess Functions"));
    const auto entry = [this](const char* entryText, QKeyCombination shortcut, auto slot) {
        QAction* action = functions->addAction(QString::fromLatin1(entryText));
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, slot);
    };
    entry("ROIExtract", Qt::ALT | Qt::Key_R, &VxPreprocessSelection::roiExtract);
    entry("ReScale", Qt::ALT | Qt::Key_S, &VxPreprocessSelection::rescale);
    entry("ExtractRR", Qt::ALT | Qt::Key_X, &VxPreprocessSelection::extractRR);
    entry("RGBFilter", Qt::ALT | Qt::Key_F, &VxPreprocessSelection::rgbfilter);
    entry("ColorFilter", Qt::ALT | Qt::Key_O, &VxPreprocessSelection::colorfilter);
    entry("Clear", Qt::ALT | Qt::Key_C, &VxPreprocessSelection::clearPreProc);

    for (VxPreprocessDialog* dialog : std::initializer_list<VxPreprocessDialog*>{
             roiDialog.get(), rescaleDialog.get(), extractDialog.get(), rgbDialog.get(),
             colorDialog.get()})
        connect(dialog, &VxPreprocessDialog::DoIt, this, &VxPreprocessSelection::initFunction,
                Qt::DirectConnection);
    connect(this, &QPushButton::clicked, this, &VxPreprocessSelection::do_preprocessing);
    setMenu(functions);
}

VxPreprocessSelection::~VxPreprocessSelection() = default;

void VxPreprocessSelection::do_preprocessing()
{
    functions->popup(mapToGlobal(QPoint(0, 0)));
    functions->setActiveAction(functions->actions().value(0));
}

void VxPreprocessSelection::roiExtract()
{
    roiDialog->show();
}

void VxPreprocessSelection::rescale()
{
    rescaleDialog->show();
}

void VxPreprocessSelection::extractRR()
{
    extractDialog->show();
}

void VxPreprocessSelection::rgbfilter()
{
    rgbDialog->show();
}

void VxPreprocessSelection::colorfilter()
{
    colorDialog->show();
}

void VxPreprocessSelection::clearPreProc()
{
    emit doNoPreProcessing();
}

void VxPreprocessSelection::initFunction(ProcessImage& piFunction)
{
    emit Function(piFunction);
}
