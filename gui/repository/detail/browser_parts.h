#pragma once

// Pieces shared by the repository and query-result browsers and the
// classification view: their menu bar and entries, the analysis window of
// one repository image on its stored trees, and the table of the labelled
// regions. Internal to vxgui.

#include <QByteArray>
#include <QKeySequence>
#include <QMenu>
#include <QObject>
#include <QString>

class QBoxLayout;
class QMenuBar;
class QWidget;
class VxBasePaths;
class VxLabeledRepository;
class VxRepository;

namespace vx_browser {

// A menu bar (object name `name`) at the top of the layout.
QMenuBar* addMenuBar(QWidget* browser, QBoxLayout* layout, const QString& name);

// The rule, result and update rule files an analysis of a browser starts
// with.
struct analysis_files {
    QByteArray brightRule;
    QByteArray darkRule;
    QByteArray brightResults;
    QByteArray darkResults;
    QByteArray updateRule;
};

// The analysis window "Analyse Image" (its parent `parent`) of image i of
// the repository on its two stored trees (tree generation mode 3), shown.
// Null after a pop-up when the image has no tree, or when the image or a
// tree cannot be read or do not fit.
QWidget* openAnalysis(VxBasePaths* paths, QWidget* parent, VxRepository& repository, int i,
                      const analysis_files& files);

// The name of the labelled repository's repository file with ".vxr"
// replaced by `ending` (appended to other names).
QString repositoryNameWith(const VxLabeledRepository& labeled, const QString& ending);

// The table of the classified regions of that mode under the update rule,
// in the file chosen in "Export CSV Table File" (starting at `suggested`).
// Cancel writes nothing; a file that cannot be written gets the write error
// pop-up.
void exportClassifiedTable(QWidget* parent, VxLabeledRepository& labeled, const QString& suggested,
                           const QString& updateRule, int mode);

}  // namespace vx_browser
