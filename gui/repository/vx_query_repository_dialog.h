#pragma once

// Runs rule files ("queries") over every image of a repository: query k,
// on the bright or the dark tree of each image, becomes class k of a query
// result (".vxq"), whose header the dialog writes and whose image lines,
// labelled result images and optional result table the run adds. The rule
// files can be edited in place, and the whole set of parameters stored as
// a ".query" file. After a run a query-result browser opens on the result;
// the next run closes it first.
//
// The format of the result images is asked for first; then the run goes
// image by image on the GUI thread, the dialog busy (busy_window.h): modal,
// its form disabled, input to it dropped. A close asked for meanwhile
// deletes the dialog after the run. It deletes itself when closed.

#include <QPointer>
#include <QString>
#include <utility>
#include <vector>

#include "filter/polarity.h"
#include "gui/foundation/vx_working_dialog.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPoint;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTVxRepository;
class QTreeWidgetItem;
class VxBasePaths;
class VxBrowseQueryResult;

class VxQueryRepositoryDialog : public VxWorkingDialog {
    Q_OBJECT
public:
    // Title "Query Repository", 500 x 600; the update rule is the shared
    // paths' rule.
    VxQueryRepositoryDialog(VxBasePaths* paths, QWidget* parent, const char* name, int flags);
    ~VxQueryRepositoryDialog() override;

    // Kept; nothing of the dialog reads it.
    void setCallPath(const char* path);

signals:
    // Just before a run's result browser opens: the previous one closes.
    void close_active_browser();

protected slots:
    // File choices: each chosen name goes into its field, which fills the
    // dialog's text through the field's slot; Cancel changes nothing. The
    // repository and result dialogs remember their folder, the rule and
    // ".query" dialogs theirs; a result name gets ".vxq" once.
    void setRepositoryFileDialog();
    void setRepositoryFile(QString qstFile);
    void setResultFileDialog();
    void setResultFile(QString qstFile);
    void setDestinationPathDialog();
    void setDestinationPath();
    void setUpdateFileDialog();
    void setUpdateFile();
    // A chosen rule file is added as a row at once.
    void setQueryFileDialog();
    void setQueryFile();

    // Rows: "Mode" ("Bright" or "Dark") and "Rulename". The list grows and
    // shrinks with them, up to ten rows, then it scrolls. An empty query
    // field adds none; a new row is bright and goes to the editor.
    void addQueryFile();
    // The editor shows the row's rule file, named by the label above it.
    void editQueryFile(QTreeWidgetItem* item);
    // The file the label names into the editor; one that cannot be read
    // leaves it empty.
    void loadQueryFile();
    // A left click on a row: in the "Mode" column the mode toggles; the row
    // then goes to the editor.
    void contextQueryFile(QTreeWidgetItem* item, const QPoint& point, int column);
    // A right click on a row removes it; the row above it (else below it)
    // goes to the editor, else label and editor are emptied.
    void removeQueryFile(QTreeWidgetItem* item);
    // Saves the editor's text under a chosen name (".rule" once); a name
    // other than the label's becomes a new bright row. A failed write shows
    // a pop-up and adds no row.
    void SaveRule();

    // The query mode 1 <-> 2; the rows' modes decide a run.
    void setMode();
    // "Write Table" (the result table "<result>.csv" is written) <-> "No
    // Table".
    void setWriteMode();
    // The run. Refused with a pop-up, writing nothing, without rows, with an
    // empty repository, result or destination field, a repository that
    // cannot be read or holds no images, or a destination that is no
    // writable folder; nothing is written either when the format chooser is
    // left without a choice. A result file that cannot be created stops the
    // run with a pop-up; result images, result-file lines and table rows
    // that cannot be written get one pop-up at the run's end, naming the
    // first file and how many.
    void executeQuery();
    // The fields and rows into a ".query" file (".query" once); a failed
    // write shows a pop-up.
    void SaveQueryParameters();
    // A ".query" file into the fields; its queries are added after the rows
    // there are, the last one in the editor. A file that cannot be read, or
    // holds an ill-formed line, leaves the form as it was and gets a pop-up.
    void LoadQueryParameters();

private:
    void makeForm();
    // The height of the row in the list.
    int rowHeight(QTreeWidgetItem* item) const;
    // Rows of (rule file, mode) after those there are, in one step, so that
    // a long list costs the view one layout; the last goes to the editor.
    void addRows(const std::vector<std::pair<QString, int>>& queries);
    // The list's height for its rows (listHeight) up to kRowsShown of them.
    void fitListHeight();
    // The checks before a run; false after a refusing pop-up.
    bool canRun() const;
    // The run over the repository, its result format chosen.
    void run(QTVxRepository& repository);
    bool eventFilter(QObject* watched, QEvent* event) override;

    QString repositoryFile;
    QString updateRule = QStringLiteral("./Attributes.rule");
    QString resultFile;
    QString destinationPath;
    QString queryFile;
    QString queryDirectory = QStringLiteral("./");
    QString callPath;
    QString repositoryDirectory = QStringLiteral("./");
    int queryMode = POLARITY_BRIGHT;
    int writeTable = 1;
    static constexpr int kInitialListHeight = 48;
    int listHeight = kInitialListHeight;
    QPointer<VxBrowseQueryResult> activeBrowser;

    QLineEdit* repositoryEdit = nullptr;
    QLineEdit* resultEdit = nullptr;
    QLineEdit* destinationEdit = nullptr;
    QPushButton* writeModeButton = nullptr;
    QLineEdit* updateEdit = nullptr;
    QLineEdit* queryEdit = nullptr;
    QTreeWidget* queryList = nullptr;
    QLabel* ruleLabel = nullptr;
    QPlainTextEdit* ruleEditor = nullptr;
    QProgressBar* progress = nullptr;
};
