// Tree files of a repository: one image per step, its bright and dark tree
// computed at the same time on two threads.
#include <cerrno>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "analyse/trees/regiontree.h"
#include "automation/detail/handles.h"
#include "automation/detail/pictures.h"
#include "automation/repository/detail/repository_paths.h"
#include "automation/repository/detail/tree_threads.h"
#include "automation/repository/image_stems.h"
#include "automation/repository/vx_repository.h"
#include "imagecore/files/checked_file.h"
#include "imagecore/report.h"
#include "imagecore/text/image_date.h"

void VxRepository::computeRepositoryInit(int scaleCount)
{
    if (scaleCount < 1)
        vx_report("VxRepository: %d scales, no tree can be computed\n", scaleCount);
    scales = scaleCount;
    darkJob.scales = scaleCount;
    brightJob.scales = scaleCount;
    treeStep = 0;
}

void VxRepository::forceOverwrite(bool overwrite)
{
    vx_report("Initial Overwrite Writeflag %d\n", flags);
    if (overwrite)
        flags |= REPOSITORY_OVERWRITE;
    else
        flags &= ~REPOSITORY_OVERWRITE;
}

bool VxRepository::hasToComputeTreeFile(const char* path) const
{
    return (flags & REPOSITORY_OVERWRITE) != 0 || path == nullptr || !fileExists(path);
}

int VxRepository::computeRepositoryStep(void* context, tree_progress_fn callback)
{
    std::vector<TreeFileFailure> failures;
    return computeRepositoryStep(context, callback, failures);
}

int VxRepository::computeRepositoryStep(void* context, tree_progress_fn callback,
                                        std::vector<TreeFileFailure>& failures)
{
    const int s = treeStep;
    if (s < 0 || s >= NumberOfImages()) {
        treeStep = -1;
        return -1;
    }
    treeStep = s + 1;
    RepositoryImage& record = images[s];

    // 1.-3. Jobs reset, tree names, image path.
    for (tree_job* job : {&darkJob, &brightJob}) {
        job->result = nullptr;
        job->failure[0] = '\0';
        job->out_of_memory = 0;
        job->flags = static_cast<unsigned>(generationMode);
    }
    nameTrees(record);
    const std::string path = imagePath(s);
    vx_report("Processing Image%s\n", path.c_str());
    darkJobFile = treePath(record.darkTree);
    brightJobFile = treePath(record.brightTree);
    darkJob.file_name = darkJobFile.c_str();
    brightJob.file_name = brightJobFile.c_str();
    if (const int other = imagesOfSameStem()[s]; other >= 0) {
        const std::string reason = sharedStemReason(s, other);
        vx_report("Could not compute the trees of %s: %s\n", path.c_str(), reason.c_str());
        failures.push_back({brightJobFile, reason});
        failures.push_back({darkJobFile, reason});
        record.brightDone = 0;
        record.darkDone = 0;
        return treeStep;
    }

    // 4.-8. Memory that runs out on this thread leaves both trees uncomputed.
    try {
        // 4.-5. Each job reads its own input on this thread.
        vx_image_handle darkInput(ReadImageGrey(path.c_str()));
        const image* darkPicture = picture_of(darkInput.get());
        vx_image_handle brightInput(darkPicture != nullptr ? ReadImageGrey(path.c_str()) : nullptr);
        const image* brightPicture = picture_of(brightInput.get());
        if (darkPicture == nullptr || brightPicture == nullptr)
            vx_report("Could not load %s\n", path.c_str());
        if (darkPicture == nullptr || brightPicture == nullptr || brightJob.scales < 1) {
            vx_report("Could not compute the trees of %s: image skipped\n", path.c_str());
            record.brightDone = 0;
            record.darkDone = 0;
            return treeStep;
        }

        // 6.-8. Missing trees on their own threads, bright first.
        tree_progress_relay relay(callback, context);
        vx_image_handle darkWork;
        vx_image_handle brightWork;
        std::vector<tree_job*> jobs;
        const auto schedule = [&](tree_job& job, vx_image* input, vx_image_handle& work,
                                  const char* exists) {
            if (!hasToComputeTreeFile(job.file_name)) {
                vx_report("%s%s\n", exists, job.file_name);
                return;
            }
            work.reset(init_vx_image(input->width, input->height, job.scales));
            job.source = input;
            job.work = work.get();
            relay.attach(job);
            jobs.push_back(&job);
        };
        schedule(brightJob, brightInput.get(), brightWork, "File exists: ");
        schedule(darkJob, darkInput.get(), darkWork, "File exists:  ");
        run_tree_jobs(jobs, relay);
    } catch (const std::bad_alloc&) {
        const std::string reason = checked_file::reason_of(ENOMEM);
        vx_report("Could not compute the trees of %s: %s\n", path.c_str(), reason.c_str());
        for (tree_job* job : {&brightJob, &darkJob})
            if (hasToComputeTreeFile(job->file_name)) {
                job->out_of_memory = 1;
                std::snprintf(job->failure, sizeof job->failure, "%s", reason.c_str());
            }
    }

    // 9.-10. Done is what is on disk, but not an older file that was to be
    //        replaced; the jobs give back what they hold.
    record.brightDone = fileExists(brightJobFile) && brightJob.failure[0] == '\0' ? 1 : 0;
    record.darkDone = fileExists(darkJobFile) && darkJob.failure[0] == '\0' ? 1 : 0;
    for (tree_job* job : {&brightJob, &darkJob})
        if (job->failure[0] != '\0')
            failures.push_back({job->file_name, job->failure, job->out_of_memory != 0});
    for (tree_job* job : {&darkJob, &brightJob}) {
        delete_regiontree(job->result);
        job->result = nullptr;
        job->source = nullptr;
        job->work = nullptr;
    }
    return treeStep;
}

void VxRepository::listExistingTrees()
{
    if (treeStep < 0)
        return;
    const std::vector<int> sameStem = imagesOfSameStem();
    for (int i = treeStep; i < NumberOfImages(); ++i) {
        RepositoryImage& record = images[i];
        nameTrees(record);
        const bool own = sameStem[i] < 0;
        record.brightDone = own && fileExists(treePath(record.brightTree)) ? 1 : 0;
        record.darkDone = own && fileExists(treePath(record.darkTree)) ? 1 : 0;
    }
}

std::vector<int> VxRepository::imagesOfSameStem() const
{
    std::vector<std::string> names;
    names.reserve(images.size());
    for (const RepositoryImage& record : images)
        names.push_back(record.image);
    return images_of_same_stem(names);
}

std::string VxRepository::sharedStemReason(int i, int other) const
{
    return images[i].image + " and " + images[other].image + " would share their tree files";
}

void VxRepository::nameTrees(RepositoryImage& record) const
{
    record.brightTree = tree_file_name(record.image, brightJob.scales, 1, generationMode);
    record.darkTree = tree_file_name(record.image, brightJob.scales, 2, generationMode);
}

void VxRepository::computeRepository()
{
    const int start = static_cast<int>(image_timer());
    treeStep = 0;
    for (int i = 0; i < NumberOfImages(); ++i)
        computeRepositoryStep(nullptr, nullptr);
    const int elapsed = static_cast<int>(image_timer()) - start;
    vx_report("Computation took %d min %d sec\n", elapsed / 60, elapsed % 60);
}
