#pragma once

// The form that starts a labelling: a repository (".vxr", a new labelled
// repository) or a labelled repository (".vxq", labelling continued), the
// folder of the label images, the number of classes and the mode (Bright or
// Dark) the classes of a new one start with. Done asks for the class names
// and modes in a modal list ("Class Selection") and opens the
// classification view over the labelled repository, which the view owns
// from then on; the form then closes. It deletes itself when closed.
//
// While a loaded ".vxq" defines the classes, their number and modes stay as
// loaded; only the names can be edited. GUI thread only.

#include <QPoint>
#include <QString>
#include <memory>
#include <string>

#include "filter/polarity.h"
#include "gui/foundation/vx_base_dialog.h"

class QEvent;
class QLineEdit;
class QPushButton;
class QTVxLabeledRepository;
class QTreeWidget;
class QTreeWidgetItem;
class VxBasePaths;

class VxInitLabeledRepositoryDialog : public VxBaseDialog {
    Q_OBJECT
public:
    // Title "Init Labeled Repository"; the result path starts as the working
    // directory, 2 classes, Bright mode. The update rule follows the shared
    // paths' one.
    VxInitLabeledRepositoryDialog(VxBasePaths* paths, QWidget* parent, const char* name, int flags);
    // Deletes a labelled repository not handed to a view.
    ~VxInitLabeledRepositoryDialog() override;

    // The update rule the classification view gets.
    void setUpdateRule(const char* rule);

protected slots:
    void setLabeledRepositoryPath(QString qstPath);
    // A directory chooser; the choice goes into the path field.
    void setLabeledRepositoryPathDialog();
    void setUpdateRule(QString stRuleFile);
    // While a loaded ".vxq" defines the classes another number is reset to
    // its count.
    void setClasses(QString qstClasses);
    // A ".vxq" name loads that labelled repository (a file that cannot be
    // read whole gets a pop-up, and nothing changes); any other name
    // toggles the mode.
    void loadRepository();
    void setRepository(QString qstRepository);
    // An open dialog; the choice goes into the repository field and is
    // loaded.
    void setRepositoryDialog();
    // Bright <-> Dark, unless a loaded ".vxq" defines the modes.
    void switchMode();
    // A ".vxr" name builds a new labelled repository of the classes asked
    // for plus class 0 ("Irrelevant"): 2 to 127 of them, else a pop-up
    // refuses; one that does not open, is no repository file (junk, a
    // missing header, a negative or too large image count) or holds no
    // images gets a pop-up too, and the form stays as it was. With a labelled repository the class
    // list follows, then the classification view, and the form closes; without one it just closes.
    void Done();
    // A click with mouse button `button` on column c of the class list: the
    // name (1) is edited in place, the mode (2) toggles while the classes
    // are editable.
    void ClassListEntrySelected(int button, QTreeWidgetItem* pqlvItem, QPoint pos, int c);

protected:
    // Mouse releases in the class list reach ClassListEntrySelected.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void makeForm();
    // Builds a new labelled repository; false after a refusing pop-up.
    bool buildLabeledRepository();
    // The modal class list; the names and modes go back into the labelled
    // repository.
    void askClassNames();

    QLineEdit* repositoryEdit = nullptr;
    QLineEdit* pathEdit = nullptr;
    QLineEdit* classesEdit = nullptr;
    int classCount = 2;
    QString labeledRepositoryPath;
    QString repositoryFile;
    std::unique_ptr<QTVxLabeledRepository> labeled;
    QPushButton* modeButton = nullptr;
    int mode = POLARITY_BRIGHT;
    std::string updateRule;
    bool classesEditable = true;
    // Open while Done asks for the class names.
    QTreeWidget* classList = nullptr;
};
