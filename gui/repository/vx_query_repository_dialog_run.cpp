// VxQueryRepositoryDialog: the query run and the ".query" files.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLineEdit>
#include <QProgressBar>
#include <QTreeWidget>
#include <vector>

#include "automation/repository/query_summary.h"
#include "automation/repository/vx_labeled_repository.h"
#include "automation/repository/vx_query_parameters.h"
#include "filter/polarity.h"
#include "gui/foundation/computation_memory.h"
#include "gui/foundation/dialog_service.h"
#include "gui/foundation/file_checks.h"
#include "gui/foundation/forms/form_parts.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/vx_message_popup.h"
#include "gui/repository/detail/repository_images.h"
#include "gui/repository/qtvx_repository.h"
#include "gui/repository/vx_browse_query_result.h"
#include "gui/repository/vx_query_repository_dialog.h"
#include "imagecore/report.h"
#include "imagecore/text/image_date.h"

namespace {

constexpr int kModeColumn = 0;
constexpr int kRuleColumn = 1;

QByteArray encoded(const QString& name)
{
    return QFile::encodeName(name);
}

void refuse(const QString& reason)
{
    vx_message(QStringLiteral("Could not run the queries"), reason);
}

// The rule files of the rows with their modes (1 bright, 2 dark).
struct query_rows {
    std::vector<QByteArray> rules;
    std::vector<const char*> names;
    std::vector<int> modes;

    explicit query_rows(const QTreeWidget& list)
    {
        for (int i = 0; i < list.topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = list.topLevelItem(i);
            rules.push_back(encoded(row->text(kRuleColumn)));
            modes.push_back(row->text(kModeColumn) == QLatin1String("Dark") ? POLARITY_DARK
                                                                            : POLARITY_BRIGHT);
        }
        for (const QByteArray& rule : rules)
            names.push_back(rule.constData());
    }
    int count() const { return static_cast<int>(modes.size()); }
};

// The run stopped at the image, the images before it done.
void memory_ran_out(const QString& image, int done, int images)
{
    const QSize size = QImageReader(image).size();
    QString text = "Memory ran out while the queries ran on\n" + image;
    if (size.isValid())
        text += ":\n" + vx_measured_trees_need(size.width(), size.height());
    vx_message(QStringLiteral("Not enough memory"),
               text + QStringLiteral(".\nThe run stopped there: the result file holds the "
                                     "first %1 of %2 images.")
                          .arg(done)
                          .arg(images));
}

}  // namespace

void VxQueryRepositoryDialog::executeQuery()
{
    if (working() || !canRun())
        return;
    // 1.-3. The repository of this run and the format of its result images,
    //       asked for while the form is still usable.
    QTVxRepository repository(encoded(repositoryFile).constData());
    if (!repository.isRead() || repository.NumberOfImages() == 0) {
        refuse("No images in the repository\n" + repositoryFile);
        return;
    }
    if (repository.setImageFormat() != nullptr)
        work([&] { run(repository); });
}

bool VxQueryRepositoryDialog::canRun() const
{
    // A run without rows would give a result of one class, which no
    // browser can show.
    if (queryList->topLevelItemCount() == 0)
        refuse(QStringLiteral("No query rule selected"));
    else if (queryList->topLevelItemCount() > VxLabeledRepository::MOST_CLASSES)
        refuse(QStringLiteral("More than %1 query rules: a query result holds at most %1 classes")
                   .arg(VxLabeledRepository::MOST_CLASSES));
    else if (repositoryFile.isEmpty())
        refuse(QStringLiteral("No repository file given"));
    else if (resultFile.isEmpty())
        refuse(QStringLiteral("No result file given"));
    else if (destinationPath.isEmpty())
        refuse(QStringLiteral("No destination path given"));
    else if (!QFileInfo(destinationPath).isDir() || !QFileInfo(destinationPath).isWritable())
        vx_message(QStringLiteral("!!Write Error!!"),
                   "Unable to write result images into\n" + destinationPath);
    else if (writeTable == 1 && !vx_creatable(resultFile + ".csv"))
        vx_write_error(resultFile + ".csv");
    else
        return true;
    return false;
}

void VxQueryRepositoryDialog::run(QTVxRepository& repository)
{
    const int images = repository.NumberOfImages();

    // 4.-7. The queries, the table and the result file's header.
    const query_rows rows(*queryList);
    for (int i = 0; i < rows.count(); ++i)
        vx_report("Query[%d] Mode %d\n", i, rows.modes[i]);
    char date[48] = {};
    image_date(date);
    if (writeTable == 1)
        repository.initResultTable(encoded(resultFile + ".csv").constData());
    const QByteArray result = encoded(resultFile);
    const QByteArray destination = encoded(destinationPath);
    if (!writeQuerySummaryHeader(result.constData(), date, encoded(repositoryFile).constData(),
                                 destination.constData(), rows.names.data(), rows.modes.data(),
                                 rows.count(), images)) {
        vx_write_error(resultFile);
        return;
    }

    // 8.-11. Image by image, the bar moving.
    const QByteArray update = encoded(updateRule);
    progress->reset();
    progress->setMaximum(images);
    repository.initQueryImages(update.constData(), rows.names.data(), rows.count(),
                               result.constData(), destination.constData(), rows.modes.data());
    for (int i = 0; i < images; ++i) {
        if (!vx_within_memory([&] {
                repository.QueryImagesStep(update.constData(), rows.names.data(), rows.count(),
                                           result.constData(), destination.constData(),
                                           rows.modes.data());
            })) {
            progress->setValue(i);
            memory_ran_out(QFile::decodeName(repository.ImageFilename(i)), i, images);
            return;
        }
        progress->setValue(i);
        QCoreApplication::processEvents();
    }
    progress->setValue(images);
    // A full disk fails every image after the first: one pop-up tells them.
    repository_images::show_write_failures(repository.takeWriteFailures());

    // 12.-14. The result browser in place of the previous one.
    emit close_active_browser();
    vx_report("Exported Query into %s\n", result.constData());
    auto* browser = new VxBrowseQueryResult(sharedPaths != nullptr ? sharedPaths.data() : paths,
                                            resultFile, nullptr, "Query Result");
    if (!browser->loaded())
        return;
    activeBrowser = browser;
    connect(this, &VxQueryRepositoryDialog::close_active_browser, browser, &QWidget::close);
    browser->show();
}

void VxQueryRepositoryDialog::SaveQueryParameters()
{
    const QString chosen = vx_dialogs().saveFileName(
        this, QStringLiteral("Save Query Parameter file dialog"),
        QStringLiteral("Save Query Parameter File"), queryDirectory + "*.query",
        QStringLiteral("Query Parameter File(*.query)"), false);
    if (chosen.isEmpty())
        return;
    const QString file = vx_form::withEnding(chosen, QStringLiteral(".query"));
    queryDirectory = VxBasePaths::PathNamePart(file);

    // The file holds texts of fixed room: a longer one would be cut.
    const query_rows rows(*queryList);
    std::vector<QByteArray> texts = {encoded(repositoryFile), encoded(resultFile),
                                     encoded(destinationPath), encoded(updateRule)};
    texts.insert(texts.end(), rows.rules.begin(), rows.rules.end());
    for (const QByteArray& text : texts)
        if (text.size() >= VxQueryParameters::TEXT_SIZE) {
            vx_message(QStringLiteral("Name too long"),
                       "A query parameter file holds names of up to 1023 characters:\n" +
                           QFile::decodeName(text));
            return;
        }
    VxQueryParameters parameters(rows.count());
    parameters.Repository(texts[0].constData());
    parameters.ResultFile(texts[1].constData());
    parameters.ResultPath(texts[2].constData());
    parameters.UpdateRule(texts[3].constData());
    for (int i = 0; i < rows.count(); ++i)
        parameters.QueryFile(i, rows.names[i],
                             queryList->topLevelItem(i)->text(kModeColumn).toLatin1().constData());
    if (parameters.write(encoded(file).constData()) == 0)
        vx_write_error(file);
}

void VxQueryRepositoryDialog::LoadQueryParameters()
{
    const QString chosen = vx_dialogs().openFileName(
        this, QStringLiteral("Load Query Parameter file dialog"),
        QStringLiteral("Load Query Parameter File"), queryDirectory + "*.query",
        QStringLiteral("Query Parameter File(*.query)"), false);
    if (chosen.isEmpty())
        return;
    queryDirectory = VxBasePaths::PathNamePart(chosen);
    const QByteArray file = encoded(chosen);
    const QString refused = QStringLiteral("Could not read query parameters");
    if (!vx_readable(file.constData())) {
        vx_message(refused, "Unable to read\n" + chosen);
        return;
    }
    // Read whole before anything of the form changes.
    VxQueryParameters parameters(file.constData());
    if (!parameters.isRead()) {
        vx_message(refused, "The query parameter file\n" + chosen +
                                "\nis ill-formed or cut short: nothing was loaded");
        return;
    }
    repositoryEdit->setText(QFile::decodeName(parameters.Repository()));
    resultEdit->setText(QFile::decodeName(parameters.ResultFile()));
    destinationEdit->setText(QFile::decodeName(parameters.ResultPath()));
    updateEdit->setText(QFile::decodeName(parameters.UpdateRule()));
    std::vector<std::pair<QString, int>> queries;
    for (int i = 0; i < parameters.NumQueries(); ++i)
        queries.emplace_back(QFile::decodeName(parameters.QueryFile(i)), parameters.Mode(i));
    if (!queries.empty())
        queryEdit->setText(queries.back().first);
    addRows(queries);
}
