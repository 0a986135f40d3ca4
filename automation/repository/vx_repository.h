#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "analyse/trees/lRegion_Graph.h"
#include "analyse/trees/region_types.h"
#include "automation/automation_export.h"
#include "automation/compare/compare_progress.h"
#include "automation/repository/write_failures.h"
#include "filter/progress.h"
#include "imagecore/image.h"
#include "imagecore/vx_image.h"

class VxImageProcessing;
class checked_file;

// One image of a repository. Tree names are relative to the repository
// path, "-" when there is none.
struct RepositoryImage {
    std::string image;  // relative to the images path
    std::string brightTree = "-";
    std::string darkTree = "-";
    int reserved = 0;
    int brightDone = 0;  // 1 when the bright tree file exists
    int darkDone = 0;
};

// A tree file that a repository step could not write, and why.
struct TreeFileFailure {
    std::string file;          // the tree file's path
    std::string reason;        // as the system says it ("No space left on device")
    bool outOfMemory = false;  // memory ran out: the tree was not computed
};

// Flags of a repository.
enum : int {
    REPOSITORY_RESULT_TABLE = 0x01,   // write the classified result table during queries
    REPOSITORY_RESULT_HEADER = 0x02,  // that table's header has been written
    REPOSITORY_TABLE_NAMES = 0x04,    // repository-table names stored
    REPOSITORY_STEP_TABLES = 0x08,    // computeFile writes a table beside each tree
    REPOSITORY_OVERWRITE = 0x10,      // compute tree files even when they exist
};

// A list of grey images in one images directory, and for each the names of
// its bright (polarity 1) and dark (polarity 2) region-tree files in one
// repository directory. It computes the missing tree files, two at a time on
// two threads, stores the list as a ".vxr" text file and reads it back.
//
// The base class reads no images: ReadImage and ReadImageGrey return null
// until a subclass supplies a reader. An image that cannot be read is
// skipped with a message. Tree computation, tables and preprocessing print
// "Could not load %s\n" for it and count its trees as missing from then on.
// Both paths always end in '/'.
class AUTOMATION_EXPORT VxRepository {
public:
    // n images (names relative to imagesPath) without trees. Prints
    // "VxRepository Target Directory %s\n".
    VxRepository(char** images, int n, const char* repositoryPath, const char* imagesPath,
                 int generationMode);
    // Reads a ".vxr" file, with or without its "Generation Mode" line (mode
    // 0 without it). A file that cannot be opened or is ill-formed gives a
    // repository of no images, after a message.
    explicit VxRepository(const char* file);
    virtual ~VxRepository();
    VxRepository(const VxRepository&) = delete;
    VxRepository& operator=(const VxRepository&) = delete;

    // A one-scale multiscale image holding the picture, owned by the caller;
    // null here.
    virtual vx_image* ReadImage(const char* path);
    // Writes an ASCII "P3" file through the repository palette; a picture
    // whose values do not all index the palette (or no palette) is refused
    // with a message. A file not written is noted (writeFailures), as the
    // writers of subclasses note theirs.
    virtual void writeImage(const char* path, image* img);
    virtual vx_image* ReadImageGrey(const char* path);
    virtual void writeImageGrey(const char* path, image* img);
    virtual const char* setImageFormat(const char* format);
    // Sets "pgm" (the GUI asks the user).
    virtual const char* setImageFormat();

    // n records, every name "-", every flag 0.
    void init(int n);

    int NumberOfImages() const { return static_cast<int>(images.size()); }
    // False when the ".vxr" file given to the constructor could not be read
    // or is ill-formed (the repository then holds no images); true for a
    // repository built from a list.
    bool isRead() const { return fileRead; }
    const char* RepositoryName() const { return repositoryName.c_str(); }
    // Record texts; null for an index outside 0 .. n-1.
    const char* ImageName(int i) const;
    const char* BrightTreeName(int i) const;
    const char* DarkTreeName(int i) const;
    // Images path and image name, in one buffer shared by every call
    // (unchanged for a bad index).
    char* ImageFilename(int i);
    // Repository path and tree name (the path alone for a bad index), each in
    // its own buffer that the next call overwrites; prints "BrightFilename
    // %s\n" / "DarkFilename %s\n". Paths longer than 1023 characters are cut
    // with a message.
    char* BrightTreeFilename(int i);
    char* DarkTreeFilename(int i);
    // Scale 0 of ReadImageGrey / ReadImage of the image's file as a new
    // image; null for a bad index or an unreadable image.
    image* getImageGrey(int i);
    image* getImage(int i);
    const char* getImageFormat() const { return imageFormat.c_str(); }
    int getTreeGenerationMode() const { return generationMode; }
    void setTreeGenerationMode(int mode) { generationMode = mode; }
    // Both hole-filling bits: mode |= 3.
    void setNoiseRemovalMode() { generationMode |= 3; }
    // The current calendar time in seconds.
    int getTimer() const;
    int getNumberOfAttributes() const { return numberOfAttributes; }
    char** getAttributes() const { return attributes; }
    // Null for an index outside the list.
    const char* getAttribute(int i) const;

    // --- tree computation ---

    // Scales of every tree; the next step computes image 0.
    void computeRepositoryInit(int scales);
    // Prints "Initial Overwrite Writeflag %d\n" (the flags before), then
    // sets or clears REPOSITORY_OVERWRITE.
    void forceOverwrite(bool overwrite);
    // Computes the missing trees of the image at the step index on two
    // threads, bright and dark, and returns the next index; -1 (and the
    // index -1) when the index lies outside the list. Progress reaches
    // callback(kind, step, context) on the calling thread, every step of the
    // kinds 1, 2, 11 and 12 once and in order; a null callback gets none.
    // A done flag is set only for a tree file that exists afterwards and
    // was not to be written anew in vain: a tree file that cannot be written
    // (a full disk, a folder or file that cannot be written) is reported and
    // left as it was, and its done flag is cleared; so is a tree for which
    // memory ran out (std::bad_alloc, or any exhaustion while the calling
    // thread holds an out_of_memory_recovery, which the tree threads take
    // on); other exhaustion ends the process with its code. An image that
    // shares its stem with another image of the list (image_stems.h) gets no
    // trees: its tree files are neither computed nor claimed. Nothing else
    // ends the process, nothing thrown leaves the step, and a tree thread
    // that cannot be started runs on the calling thread.
    int computeRepositoryStep(void* context, tree_progress_fn callback);
    // The same, appending to `failures` every tree file of the image that
    // could not be written or computed, and both tree files of an image of
    // a shared stem, with the reason "<image> and <other image> would share
    // their tree files".
    int computeRepositoryStep(void* context, tree_progress_fn callback,
                              std::vector<TreeFileFailure>& failures);
    // Names the trees of every image from the step index on and marks those
    // whose files exist, computing and reading nothing: a run stopped early
    // lists the trees that earlier runs left, as a step without overwriting
    // would. Images of a shared stem are left without trees.
    void listExistingTrees();
    // Every image from the first, without progress; prints "Computation took
    // %d min %d sec\n".
    void computeRepository();
    // --- the same on the calling thread alone ---
    // One tree of one image (names relative to the two paths). With
    // REPOSITORY_STEP_TABLES it writes "<tree path>.csv" beside the tree.
    // An image that cannot be read or partitioned is skipped with a message.
    void computeFile(const char* imageName, const char* treeName, int scales, int polarity);
    // Image i's tree of that polarity; none, with a message, for an image of
    // a shared stem.
    void computeBrightFile(int i, int scales);
    void computeDarkFile(int i, int scales);
    // Polarity 1 or 2 for every image; start time and date taken anew.
    void computeModeRepository(int polarity, int scales);
    // Bright, then dark, for every image.
    void computeRepository(int scales);
    // True when REPOSITORY_OVERWRITE is set or the file cannot be opened.
    bool hasToComputeTreeFile(const char* path) const;

    // --- repository files ---

    // Writes the ".vxr" file with its "Generation Mode" line and timing
    // trailer. Returns 1, or 0 after a message when it could not be written
    // completely; the file is written beside the target and renamed into
    // place, so an older file stays whole until the new one is complete.
    int WriteRepository(const char* file);
    // The older form without mode and trailer (prints "Writing Repository
    // %s"); the written file becomes the repository's name. Returns as
    // WriteRepository.
    int write(const char* file);

    // --- preprocessing and tables ---

    // Runs the chain over every image (ReadImage), stores the result with
    // writeImage as "<stem>.<tag>.png" in the images path and renames the
    // record to it. An image that cannot be read or processed, or whose
    // result is not written (noted in writeFailures, which the run starts
    // empty), keeps its name (one that cannot be read loses its trees).
    // Returns the number of images.
    int doPreProc(VxImageProcessing& chain, const char* tag);
    // "<stem>.bright.csv" and "<stem>.dark.csv" (a final ".csv" of tableStem
    // is cut off): one header, then one row per region of every image's
    // trees, attributes computed with the update rule. Images without a tree
    // or that cannot be read, and trees that are missing, ill-formed or of
    // another size than their image, are skipped with a message. Each table
    // replaces an older one only when complete; a write that fails ends the
    // run with both older tables whole. Returns false when a table could not
    // be written.
    bool writeRepositoryTables(const char* tableStem, const char* updateRule);
    // The attribute names of image 0's bright tree under the update rule;
    // returns their count, 0 (the list unchanged) when that tree or image
    // is not there, cannot be loaded or they differ in size.
    int initAttributes(const char* updateRule);
    void initStepTableOutput(const char* updateRule);
    void initRepositoryTableOutput(const char* name, const char* updateRule);
    // Does nothing.
    void writeRepositoryTable(const char* name, const char* updateRule);

    // --- queries ---
    //
    // A query run applies rule files ("queries") to every image: query q
    // (from 0) runs on the image's bright tree (mode 1) or dark tree (mode 2).
    // Per image it appends one summary line to a ".vxq" file: the path of
    // the first result image, then ", %d, %d" (q + 1, hits) and ",%d " per
    // hit id for every query, then "\n". It writes that result image (the
    // grey picture with the pixels of query q's hits set to 256 + q) and a
    // region image (those pixels set to q + 1) with writeImageGrey as
    // "<result path>/queryresult.<stem>.<format>" and
    // "<result path>/queryresult.regions.<stem>.<format>", and, after
    // initResultTable, appends the hits with their attributes to a table.
    // Ids are the regions' file indices. Rules and attributes always see the
    // picture as it was read, never the painted results. Every file of the
    // run that cannot be written (a result image, a summary line, the table)
    // is noted in writeFailures, which a run starts empty; an older result
    // image then stays as it was.

    // Stores the table file name; queries then append their hits to it.
    void initResultTable(const char* file);
    // Starts a stepwise run: a new result palette (greys 0..255, a label
    // colour from 256 on for each query), the result directory, image
    // counter 0.
    void initQueryImages(const char* updateRule, const char* const* queries, int n,
                         const char* summaryFile, const char* resultPath, const int* modes);
    // While the counter is below the number of images, prints "Processing
    // Image %d/%d\n" and queries the image at the counter; the counter grows
    // in every case and is returned.
    int QueryImagesStep(const char* updateRule, const char* const* queries, int n,
                        const char* summaryFile, const char* resultPath, const int* modes);
    // The n queries on image i, each on the tree of its mode; each tree is
    // loaded and measured with the update rule once per image. A mode other
    // than 1 and 2 takes the tree of the previous query (the bright tree,
    // with a message, for the first query). An image that cannot be read,
    // and a tree that is missing, ill-formed or of another size, give their
    // queries no hits (", q, 0") after a message; the summary line is always
    // appended, so that lines map to images by position (a line that cannot
    // be written whole is cut back off the file, and noted). Prints
    // "Computation of %d Queries in %d Seconds\n".
    void applyModalQueries(int i, const char* updateRule, const char* const* queries, int n,
                           const char* summaryFile, const int* modes);
    // A whole run: the summary file is made with its header
    // (writeQuerySummaryHeader), every image is queried, "Evaluated %d
    // Queries on %d Images in %d Seconds\n" is printed and the result palette
    // is freed. The summary replaces an older file only when complete: when
    // its header cannot be written (or, as there, holds too many queries) no
    // image is queried, when a line cannot the run stops, the older file
    // whole either way. Returns whether the summary is in place and every
    // result image and table written.
    bool QueryAllImages(const char* updateRule, const char* const* queries, int n,
                        const char* summaryFile, const char* resultPath, const int* modes);
    // The bright-tree run of one image given by its tree and image names
    // (relative to the two paths): summary line and grey result image as
    // above; the query-table header once per repository object and, after
    // initResultTable, query-table rows.
    void applyQueriesNew(const char* treeName, const char* imageName, const char* updateRule,
                         const char* const* queries, int n, const char* summaryFile);

    // Runs the rule file on the tree (file_based_query_analysis) and enters
    // every hit in nodes[label], the count entries cleared first, appending
    // ",%d " with its id to the hit list. Returns the number of hits entered;
    // 0 after a message, the vector untouched, when it has fewer than the
    // tree's regions + 1 entries.
    int applyQuery(region_tree* tree, const char* ruleFile, tregionnode** nodes, int count,
                   image* grey);
    // Every pixel of every non-null node := value; positions outside the
    // target are left out.
    void setResultImage(int value, tregionnode** nodes, int n, image* target);
    // name (a buffer of 1024 bytes) := "<stem of a>.<stem of b>.<format>"; a
    // copy of grey with 510 on the outer contours of the non-null nodes is
    // written with writeImageGrey as "<result path>/<name>".
    void writeResultImage(const char* a, const char* b, int, tregionnode** nodes, int n,
                          image* grey, char* name);

    // Tables of the hits. The header writers create the table file with the
    // attribute names of the tree's template vector, the row writers append
    // one row per non-null node; a table that cannot be written is reported.
    //
    // front, "Imagename" glued to the names joined by "; ", a line break,
    // then a line holding back.
    void writeResultTableHeader(region_tree* tree, const char* front, const char* back);
    // front, "Imagename; Classname;", the names joined by "; ", a line
    // break, then a line holding back.
    void writeClassifiedResultTableHeader(region_tree* tree, const char* front, const char* back);
    // "%d, %s, " (id, image name) and the values joined by "; ".
    void writeQueryResultTable(const char* imageName, tregionnode** nodes, int n);
    // "%d; %s; %s;" (id, image name, rule file) and the values joined by "; ".
    void writeClassifiedQueryResultTable(const char* imageName, const char* ruleFile,
                                         tregionnode** nodes, int n);

    // --- comparison with ground truth ---
    //
    // For every image the tree of the polarity (1 bright, 2 dark) is
    // compared with the image's ground-truth label image
    // (VxTreeRegionsCompare): the ground truth is "<gtDir>/<image name>", or
    // with a gtSuffix "<gtDir>/<image name cut at its last '.'>.<gtSuffix>.png",
    // read with ReadImage, only the low byte of every pixel kept; labels is
    // the comma-separated list of the ground-truth values that make objects
    // (every positive value when null or empty); t bounds the match quality
    // (0 <= q < t counts as matched). The table gets the header "TreeFile;
    // Ground Truth File; Objects GT; Objects Matched; Match Rate; Avg.
    // Quality matched; Avg. Quality all; Quality Dev\n" and one row per image
    // "<tree path>; <ground-truth path>; objects; matched; matched / objects;
    // avgQualityMatched(t);avgQualityAll(t); t;" (numbers as "%d" and "%f").
    // An image without that tree, a tree or ground truth that cannot be read
    // and a ground truth of another size give a row of zeros after a message;
    // so does an image whose ground truth has no object, every ratio 0. With
    // an outDir the best-match image (threshold t) of every compared image is
    // written with writeImageGrey as "<outDir>/<image name>", or with an outSuffix
    // "<outDir>/<image name cut at its last '.'>.<outSuffix>.png". Prints
    // "%d/%d, %s\n" (image number from 1, images, ground-truth path) per image
    // and calls progress(i, context) after image i when context is not null.
    // Returns 1 when the table is complete; 0 after a message when it cannot
    // be written (then nothing is compared) or the polarity is not 1 or 2.
    //
    // The ground-truth comparison dialog binds its fields by meaning, not in
    // the order it lists them: "Valid GT IDs" -> labels, "Ground Truth Tag" ->
    // gtSuffix, "Result Images Path" -> outDir, "Result Images Tag" ->
    // outSuffix, "Deviation of Quality" -> t, the mode -> polarity.
    int CompareTreesGroundTruth(const char* table, int polarity, const char* gtDir, double t,
                                const char* labels, const char* gtSuffix, const char* outDir,
                                const char* outSuffix, void* context, compare_progress_fn progress);
    // The same, appending to `withoutGroundTruth` the name of every image
    // whose ground truth could not be read, which the run also names in one
    // line "No ground truth for %d of %d images: %s\n" (the names joined by
    // ", ") after the last image.
    int CompareTreesGroundTruth(const char* table, int polarity, const char* gtDir, double t,
                                const char* labels, const char* gtSuffix, const char* outDir,
                                const char* outSuffix, void* context, compare_progress_fn progress,
                                std::vector<std::string>& withoutGroundTruth);

    // --- files not written ---

    // The files that could not be written since the record was last
    // emptied, each once, with the first of them.
    const WriteFailures& writeFailures() const { return failedWrites; }
    // Hands the record over and empties it.
    WriteFailures takeWriteFailures();
    // For the image writers, of subclasses too: the file could not be
    // written.
    void noteWriteFailure(const std::string& file) { failedWrites.add(file); }

    // --- text utilities of the reader ---

    // Trims leading and trailing characters of code <= 32 (and DEL) in
    // place; returns the new length.
    static int stripString(char* s);
    // Moves the trimmed text before the first ',' into out (capacity bytes;
    // a longer field is cut with a message) and removes it and the comma
    // from the line, which is trimmed.
    static void StringStrapCommaString(char* line, char* out, size_t capacity = 1024);
    // The same for a number; a token of more than 99 characters prints " This
    // does not seem to be a valid Int" (double) and gives 0.
    static int StringStrapCommaInt(char* line);
    static double StringStrapCommaDouble(char* line);

protected:
    // Images path + image name, and repository path + tree name, joined by
    // "%s/%s" as the tree computations join them.
    std::string imagePath(int i) const;
    std::string treePath(const std::string& treeName) const;

    std::string imageFormat = "pgm";
    std::string repositoryPath;  // ends in '/'
    std::string resultPath;
    std::string imagesPath;  // ends in '/'
    std::vector<RepositoryImage> images;
    int* palette = nullptr;  // owned, null until a query run
    int paletteEntries = 0;  // its count: the greys and a colour per query
    int flags = 0;
    char brightTreeFilename[1024] = {};
    char darkTreeFilename[1024] = {};
    char generalPath[1024] = {};
    int scales = 0;
    int treeStep = 0;
    int queryImageCounter = 0;
    std::string hitList;  // grows with the hits
    std::string repositoryName;
    char startDate[48] = {};
    int startTime = 0;
    std::string resultTableName;
    std::string repositoryTableName;  // or the update rule of initAttributes
    std::string stepTableRule;
    std::string repositoryTableRule;
    char** attributes = nullptr;  // owned names
    int numberOfAttributes = 0;
    tree_job darkJob{};
    tree_job brightJob{};
    std::string darkJobFile;
    std::string brightJobFile;
    int generationMode = 0;
    bool fileRead = true;
    WriteFailures failedWrites;

private:
    // Repository path and the image's tree name of that polarity (1 bright,
    // 2 dark) in that polarity's buffer.
    char* treeFilename(int i, int polarity);
    // Names, computes and marks one tree of image i on the calling thread.
    void computePolarityFile(int i, int scales, int polarity);
    // images_of_same_stem over the image names.
    std::vector<int> imagesOfSameStem() const;
    // Why image i, whose stem image `other` shares, gets no trees.
    std::string sharedStemReason(int i, int other) const;
    // The record's tree names for the scales of the tree jobs.
    void nameTrees(RepositoryImage& record) const;
    void prepareTreeJobs();
    void startClock();
    void newResultPalette(int queries);
    // applyModalQueries with the summary line written to `summary`.
    void queryImage(int i, const char* updateRule, const char* const* queries, int n,
                    checked_file& summary, const int* modes);
    // Writes the text to the result table (mode "w" or "a"), or reports
    // and notes that it could not.
    void writeToResultTable(const std::string& text, const char* mode);
    std::string repositoryText(bool withModeAndTrailer) const;
};
