#pragma once

#include <memory>
#include <string>
#include <vector>

#include "analyse/trees/region_types.h"
#include "automation/automation_export.h"
#include "automation/repository/vx_repository.h"
#include "automation/repository/write_failures.h"
#include "imagecore/image.h"

// The labels of one image: for every class the ids (file indices) of the
// regions of its tree that carry the class.
struct LabeledImage {
    // The image the labels belong to: the repository's full image path, or
    // the label image written for it.
    std::string name;
    int imageIndex = 0;                 // position of the image in the repository
    std::vector<std::vector<int>> ids;  // per class
};

// Class labels on the regions of the trees of a repository: N classes (class
// 0 is "Irrelevant"), each bound to the bright (mode 1) or the dark (mode 2)
// tree, and for every image and class a list of region ids. Stored as a
// ".vxq" text file; a query-result file of a query run reads as a labeled
// repository whose class k is query k.
//
// The labeled repository owns its repository, which it creates through the
// virtual loadRepository, and exports the labels as images, volumes, tables
// and training files. Tree files are loaded per image when an operation
// needs them; an image whose tree is missing, unreadable, ill-formed or of
// another size than the image is skipped with a message, and so is an id
// that names no region of its tree.
class AUTOMATION_EXPORT VxLabeledRepository {
public:
    // Most classes a labelling holds beside class 0: with more, two classes
    // would share one grey in the result images (see the exports).
    static constexpr int MOST_CLASSES = 127;

    // No classes, no repository, the file name "VxLabeledRepository.vxq".
    VxLabeledRepository();
    // init(n, modes, resultPath, repositoryFile).
    VxLabeledRepository(int n, const int* modes, const char* resultPath,
                        const char* repositoryFile);
    // Prints "Loading Labeled Repository %s\n", then read(file).
    explicit VxLabeledRepository(const char* file);
    virtual ~VxLabeledRepository();
    VxLabeledRepository(const VxLabeledRepository&) = delete;
    VxLabeledRepository& operator=(const VxLabeledRepository&) = delete;

    // Writes the image as an ASCII "P3" file through the label palette to
    // path + ".pgm" and prints "Filename %s\n" with that name; the caller's
    // buffer is left as it is. path is a buffer of 1024 bytes, which an
    // override may rewrite (for instance its extension). A file not written
    // is noted (writeFailures), as the writers of subclasses note theirs.
    virtual void writeImage(char* path, image* img);
    // A new repository read from the ".vxr" file; the labeled repository
    // owns it.
    virtual VxRepository* loadRepository(const char* file);

    // A new labelling of the repository of that file: modes copied (1 for
    // every class when null), class names "Class %d" and class 0
    // "Irrelevant", empty lists, record names the repository's image paths,
    // every image selected. Fewer than 2 classes print "At Least 2 Classes
    // Required. Class 0 default: <Irrelevant>" and end the process (exit
    // code 10).
    void init(int n, const int* modes, const char* resultPath, const char* repositoryFile);

    // --- the ".vxq" file ---
    //
    //   Classification from <date> for Repository
    //   <repository file>
    //   Images at
    //   <result path>
    //   NumberOfClasses: <N>
    //   <class name>, Mode <mode>            (N lines)
    //   Images: <n>
    //   <record name>, 1, <count>, <id>, ..., 2, <count>, ..., <N-1>, <count>, ...,
    //
    // Reads the file (it becomes the file name) and returns 1. The
    // repository file and the result path are the trimmed lines; a class
    // line is cut at its last ',' (a line without one keeps mode 1); the
    // fields of an image line are trimmed, so summary lines of a query run
    // read the same way. Names may hold commas: a class name is all before
    // the last ',', a record name all before the numbers that end its line.
    // Fewer than 2 classes print the message of init and return 0 (the
    // process goes on); so do, with their own message and before anything
    // is allocated for them, more than MOST_CLASSES classes beside class 0
    // and fewer class lines than classes; and so do a file that cannot be
    // read, an ill-formed line and more image lines than the repository has
    // images (the lines before it are kept).
    int read(const char* file);
    // Writes the file; returns 1, or 0 after a message when it could not be
    // written (an older file stays whole until the new one is complete), or
    // when it would not read back: more than MOST_CLASSES classes beside
    // class 0, or a record name whose text after its last ',' is a number.
    int write(const char* file);

    // --- labels ---

    // Record `image`: name := name, its class list := a copy of the n ids.
    // Ignored with a message for an image or class out of range.
    void setImage(int image, int n, const int* ids, int cls, const char* name);
    // 0 out of range.
    int NumberOfRegionsInClass(int image, int cls) const;
    // One line "%s; Regions %d\n" (class name, count) per class 1..N-1, in a
    // text shared by every call; "" for an image out of range.
    const char* getNumberOfRegions(int image);

    // --- classes ---

    int getNumberOfClasses() const { return numberOfClasses; }
    // The array stays in place for the object's life once it has classes;
    // setClassName renews its entries, so holders of the array see every
    // new name.
    char** getClassNames() { return classNamePointers.data(); }
    // Null for k outside 0 .. N-1.
    const char* getClassName(int k) const;
    // Ignored for k outside 0 .. N-1. A name longer than the room of the
    // class's text prints "Extending Classlabel %s to %d characters for
    // labeling\n" (name, length + 1); the whole name is kept.
    void setClassName(const char* name, int k);
    // -1 for k outside 0 .. N-1.
    int getMode(int k) const;
    int* getModes() { return modes.data(); }
    // Returns k, or -1 (nothing stored) out of range.
    int setMode(int k, int mode);

    // --- other accessors ---

    VxRepository* getRepository() { return repository.get(); }
    // The repository's file name ("" without a repository).
    const char* RepositoryName() const;
    const char* getResultPath() const { return resultPath.c_str(); }
    // The record's name; null out of range.
    const char* getImageName(int i) const;
    int getNumberOfImages() const { return static_cast<int>(records.size()); }
    const char* getFileName() const { return fileName.c_str(); }
    // Forwarded to the repository (0 / null without one).
    int initAttributes(const char* updateRule);
    char** getAttributes();

    // --- selection (the images rurevudu_training exports) ---

    // Every image; returns the count.
    int selectAllImages();
    // The images whose list of class k is not empty / empty; return the
    // count.
    int selectLabeledImages(int k);
    int selectUnlabeledImages(int k);
    void unselectAllImages();
    // Appends image i while the selection is not full; returns the new
    // count, or -1.
    int addSelectedImage(int i);
    int getNumberOfSelectedImages() const { return static_cast<int>(selection.size()); }

    // --- label images ---
    //
    // The grey picture of record i (the repository's getImageGrey) with the
    // regions of class k set to 255 + k (palette entry of class k), written
    // with writeImage under name (a buffer of 1024 bytes). A class of
    // another mode than 1 or 2 prints "Wrong mode in method
    // VxLabeledRepository::writeClassifiedRegionsImage(..)" and is left out.
    // Returns whether the image was written: false for a record out of
    // range, a picture that cannot be read (with a message) or a file that
    // cannot be written (noted).
    bool writeClassifiedRegionsImage(int i, char* name);
    // The same under the record's name.
    bool writeClassifiedRegionsImage(int i);
    // Every image whose record still names the repository's image and that
    // has a label in a class from 1 on gets the name
    // "<result path>/labeled.<image file name>.<format>" ("Updating %s to
    // %s\n") and its label image; a record whose label image cannot be
    // written keeps its name. When any changed, "Rewrite Labeled Repository
    // as %s\n" and the ".vxq" file is written under the file name.
    void updateClassifiedImageFiles(const char* format);
    // The same after the file name := file.
    void updateClassifiedImageFiles(const char* file, const char* format);
    // Rewrites the label image of every record that names one.
    void recomputeImageFiles();

    // --- exports ---
    //
    // Class k >= 1 is drawn with the grey 128 + k * (127 / (N - 1)).
    //
    // Per image a zero image of its trees' size with the pixels of every
    // class's regions in the class's grey, written with writeImage as
    // "<prefix>.<repository image name>.png".
    void writeResultRegions(const char* prefix);
    // Per image a zero image with the pixels of class c's regions at 255,
    // written as "<prefix>.<tree name>.png" (the tree of the class's mode).
    // A mode other than 1 or 2 prints "Wrong mode in method
    // QueryResult::writeImageRegions(..)".
    void writeResultRegions(const char* prefix, int c);
    // As writeResultRegions(prefix) with the outer contours of the regions.
    void writeResultContours(const char* prefix);
    // An Analyze 7.5 volume "<prefix>.hdr" / "<prefix>.img" of unsigned
    // bytes: one slice per image, the image of writeResultRegions(prefix)
    // (every class pixel 255 with binarize), slice spacing zScale. Images of
    // another size than the first slice, of more than 32767 pixels along an
    // axis, and slices beyond 32767 are left out with a message; dim[3]
    // counts the slices written. Returns 1, or 0 after a message when no
    // volume could be written (no file is left behind then).
    int writeResultANLZVolume(const char* prefix, float zScale, bool binarize);
    // A headerless volume of width x height bytes per image: 255 on the
    // outer contours of class c's regions, 0 elsewhere. Prints "Processing
    // Tree %d, %s\n" per image. Slices as for the Analyze volume. Returns 1,
    // or 0 after a message.
    int writeIsoSurface(const char* file, int c);
    // A table of the labelled regions of the classes of that mode, with
    // their attributes under the update rule: header "RegionID, Imagename,
    // Classname," and the attribute names joined by "; ", a line holding " ";
    // rows "%d, %s, %s," (id, tree file, class name) and the values joined
    // by "; ". Prints "Processing Tree %d, %s\n" per image.
    void exportClassifiedTable(const char* file, const char* updateRule, int mode);
    // The same with the n selected attributes, names and values joined by
    // ",".
    void exportClassifiedTable(const char* file, const char* updateRule, int mode, int n,
                               const int* attributes);
    // C4.5 training files of the tree of that mode: "<stem>.names" (the
    // classes of the mode, "Irrelevant.", one "<name>: continuous." per
    // selected int or double attribute) and "<stem>.data" (a row of the
    // selected values and the label per region of every image; the label is
    // the class of the mode whose list holds the region, a later class
    // winning, else "Irrelevant"). Then runs "c4.5 -f <stem>" and
    // "c4.5rules -f <stem>" without a shell (run_program). Returns 1, or 0
    // after a message when the files could not be written (the programs
    // are not run then).
    int c4_5_training(const int* attributes, int n, int mode, const char* stem,
                      const char* updateRule);
    // Per selected image a RUREVUDU table "<directory>/<tree stem>.rurevudu.csv"
    // of every region of the tree of class c's mode: "Classlabel,RegionID,
    // TFatherID,TSonID,NumAttr," and the selected names; rows of the label
    // (1 in class c, else -1), id, father's id, -1, n and the selected
    // values. The list file gets one line "<tree stem>.rurevudu.csv" per
    // table. Returns 1, or 0 after a message.
    int rurevudu_training(const int* attributes, int n, const char* directory, const char* listFile,
                          const char* updateRule, int c);

    // --- comparison with ground truth ---
    //
    // For every labelled image the ground truth A (found and read as for
    // VxRepository::CompareTreesGroundTruth: "<gtDir>/<image name>" or, with a
    // gtSuffix, "<gtDir>/<image name cut at its last '.'>.<gtSuffix>.png",
    // low bytes kept) is compared object by object (VxImageRegionsCompare)
    // with B, a zero image of the trees' size whose class k >= 1 regions are
    // 128 + k * (127 / (N - 1)) when graded is not 0, else 128. The table
    // gets the header "ImageName; GroundTruth; Query in GT; GT Not in Query;
    // Precision; Recall; Query ; GT in Query; Query not in GT\n", a row
    // "%s; %d; %d; %d; %f; %f; %d; %d; %d \n" per image (ground-truth file
    // name, objects of A, foundBA, objects of A - foundAB, precision, recall,
    // objects of B, foundAB, objects of B - foundBA; objects without the
    // background) and "Accumulated; ..." with the sums of the integer
    // columns and the mean precision and recall over the images (0 without
    // images). A ground truth that cannot be read or has another size than
    // B, and an image whose trees cannot be used, give a row of zeros after a
    // message. Prints "%d/%d, %s\n" (image number from 1, images,
    // ground-truth path) per image and calls progress(i, context) after image
    // i when context is not null. Returns 1 when the table is complete, 0
    // after a message when it cannot be written (then nothing is compared)
    // or there is no repository.
    int CompareImageRegions(const char* table, const char* gtDir, const char* gtSuffix, int graded,
                            void* context, compare_progress_fn progress);
    // The same, appending to `withoutGroundTruth` the name of every image
    // whose ground truth could not be read, which the run also names in one
    // line "No ground truth for %d of %d images: %s\n" (the names joined by
    // ", ") after the last image.
    int CompareImageRegions(const char* table, const char* gtDir, const char* gtSuffix, int graded,
                            void* context, compare_progress_fn progress,
                            std::vector<std::string>& withoutGroundTruth);

    // Which part of a region an image shows.
    enum class region_part { pixels, outer_contour };

    // --- files not written ---
    //
    // The image files that could not be written since the record was last
    // emptied, each once, with the first of them. updateClassifiedImageFiles,
    // recomputeImageFiles, writeResultRegions and writeResultContours start
    // with an empty record.
    const WriteFailures& writeFailures() const { return failedWrites; }
    // Hands the record over and empties it.
    WriteFailures takeWriteFailures();
    // For the image writers, of subclasses too: the file could not be
    // written.
    void noteWriteFailure(const std::string& file) { failedWrites.add(file); }

protected:
    // Grey of class k in the result images, as above, and the greys of
    // every class (entry 0 unused).
    int classGrey(int k) const;
    std::vector<int> classGreys() const;
    // A zero image of the size of record i's trees in which the regions of
    // every class k >= 1 with values[k] >= 0 carry values[k]; classes of
    // another mode than 1 or 2 print "Wrong mode in method <method>". Null
    // after a message when no tree of the image can be used.
    image* classImage(int i, region_part part, const std::vector<int>& values, const char* method);
    // The same painted over target; a tree of another size than the target
    // is left out with a message.
    void paintClasses(int i, image* target, region_part part, const std::vector<int>& values,
                      const char* method);
    // The path of record i's tree of the class's mode ("" after a message
    // for a mode other than 1 or 2 or an image without that tree).
    std::string treeFile(int i, int mode);

    std::string fileName = "VxLabeledRepository.vxq";
    std::string regionCounts;  // the text of getNumberOfRegions
    std::string resultPath;
    std::unique_ptr<VxRepository> repository;
    std::vector<LabeledImage> records;
    std::vector<int> modes;
    int* palette = nullptr;  // owned; greys, then a colour per class from 256 on
    int paletteEntries = 0;  // entries the palette holds
    int numberOfClasses = 0;
    std::vector<std::string> classNames;
    std::vector<size_t> classNameRoom;  // characters a name may have without growing
    std::vector<char*> classNamePointers;
    std::vector<int> selection;
    WriteFailures failedWrites;

private:
    void refreshClassNamePointers();
    // Per image the class image of that part in the class greys, written as
    // "<prefix>.<repository image name>.png".
    void writeClassImages(const char* prefix, region_part part, const char* method);
    // Record i's tree of that mode (its file in *path) with its attributes
    // under the update rule measured on the grey picture; with announce
    // prints "Processing Tree %d, %s\n" first. Null after a message.
    region_tree* measuredClassTree(int i, int mode, const char* updateRule, bool announce,
                                   std::string* path);
    // The same as exportClassifiedTable with the attribute texts of the
    // selection (all attributes when selected is null).
    void writeClassifiedTable(const char* file, const char* updateRule, int mode,
                              const int* selected, int n);
};
