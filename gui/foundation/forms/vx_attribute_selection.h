#pragma once

// A check list of attribute names that answers the indices of the checked
// ones. The ticks survive between runs, so a caller that keeps the dialog
// shows the user's last choice again.

#include <QDialog>
#include <QString>
#include <vector>

class QTreeWidget;
class QVBoxLayout;

class VxAttributeSelection : public QDialog {
    Q_OBJECT
public:
    // One checked item per name of `names` (`count` names, copied), and the
    // buttons "All" and "None", which tick and untick every item. The
    // window title is `title` + ": Attribute Selection"; `name` is the
    // object name; non-zero flags make the dialog modal.
    VxAttributeSelection(int count, const char* const* names, QString title, QWidget* parent,
                         const char* name, int flags);

    // The indices of the checked attributes in attribute order.
    std::vector<int> getSelection() const;
    // The same indices in the dialog's own array (valid until the next call
    // or the dialog's end); their count goes to *count.
    int* getSelection(int* count);
    // Unchecks attribute i for 1 <= i < count; attribute 0 and indices
    // outside the list are left alone.
    void uncheckAttribute(int i);
    // Shows the dialog without waiting for it; the first call adds the
    // "Done" button, which hides it again.
    void showModeless();

public slots:
    // done(1).
    void SelectionDone();
    // Adds one more "Done" button (every call does), then runs the dialog
    // modally through the dialog service; returns its result.
    int exec() override;

private:
    void addDoneButton();
    void checkAll(bool checked);

    int attributeCount = 0;
    QTreeWidget* list = nullptr;
    std::vector<int> selected;
    QVBoxLayout* layout = nullptr;
    // Set while the dialog service runs the dialog: the service's own call
    // of exec() then runs Qt's modal loop.
    bool running = false;
    // showModeless() has added its "Done" button.
    bool modelessDone = false;
};
