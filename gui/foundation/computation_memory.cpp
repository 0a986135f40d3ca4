#include "gui/foundation/computation_memory.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <new>

#include "filter/tree_workers.h"
#include "imagecore/fatal.h"

namespace {

// Bytes per pixel, measured on photographs with both trees computed at once
// on the tree workers: each scale of either partition holds an int per
// pixel, and the partitions' and the graphs' working arrays add 128 in all;
// the trees with their attributes take 288, the peak of a few scales.
constexpr qint64 partition_bytes_per_scale = 4;
constexpr qint64 partition_work_bytes = 128;
constexpr qint64 measured_trees_bytes = 288;
// What each thread of a computation holds of the address space beyond what
// it uses: its malloc arena (64 MB) and its stack (8 MB). Only a limit on
// the address space sees it.
constexpr qint64 thread_address_space = qint64{72} << 20;

qint64 pixels(int width, int height)
{
    return qint64{std::max(width, 0)} * std::max(height, 0);
}

// The figure (in kilobytes) of the line of /proc/self/status, in bytes; 0
// when there is no such line.
qint64 status_bytes(const QByteArray& status, const char* key)
{
    for (const QByteArray& line : status.split('\n'))
        if (line.startsWith(key))
            return line.mid(qsizetype(qstrlen(key))).trimmed().split(' ').value(0).toLongLong() *
                   1024;
    return 0;
}

// What the limit on the resource leaves above the bytes in use; -1 without
// a limit.
template <class Resource>
qint64 limit_left(Resource resource, qint64 used)
{
    rlimit limit{RLIM_INFINITY, RLIM_INFINITY};
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return -1;
    return std::max<qint64>(qint64(limit.rlim_cur) - used, 0);
}

// The smaller of two figures, -1 standing for none.
qint64 tighter(qint64 left, qint64 limited)
{
    return limited < 0 ? left : left < 0 ? limited : std::min(left, limited);
}

}  // namespace

qint64 vx_tree_computation_bytes(int width, int height, int brightScales, int darkScales)
{
    const qint64 partitions =
        partition_bytes_per_scale * (std::max(brightScales, 0) + std::max(darkScales, 0)) +
        partition_work_bytes;
    return pixels(width, height) * std::max(partitions, measured_trees_bytes);
}

qint64 vx_measured_trees_bytes(int width, int height)
{
    return pixels(width, height) * measured_trees_bytes;
}

QString vx_tree_computation_need(int width, int height, int brightScales, int darkScales)
{
    const QString scales =
        brightScales == darkScales
            ? QString::number(brightScales)
            : QStringLiteral("%1 bright and %2 dark").arg(brightScales).arg(darkScales);
    return QStringLiteral("%1 scales of a %2 x %3 image need about %4 for both trees")
        .arg(scales)
        .arg(width)
        .arg(height)
        .arg(vx_megabytes(vx_tree_computation_bytes(width, height, brightScales, darkScales)));
}

QString vx_measured_trees_need(int width, int height)
{
    return QStringLiteral("both trees of a %1 x %2 image need about %3 with their attributes")
        .arg(width)
        .arg(height)
        .arg(vx_megabytes(vx_measured_trees_bytes(width, height)));
}

qint64 vx_memory_left()
{
    QFile file(QStringLiteral("/proc/self/status"));
    const QByteArray status = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    const qint64 physical =
        pages > 0 && pageSize > 0
            ? std::max<qint64>(qint64{pages} * pageSize - status_bytes(status, "VmRSS:"), 0)
            : -1;
    // Both trees are computed at once, each on the tree workers.
    const qint64 reserved = 2 * get_tree_workers() * thread_address_space;
    const qint64 address_space = limit_left(RLIMIT_AS, status_bytes(status, "VmSize:") + reserved);
    return tighter(tighter(physical, address_space),
                   limit_left(RLIMIT_DATA, status_bytes(status, "VmData:")));
}

QString vx_megabytes(qint64 bytes)
{
    return QStringLiteral("%1 MB").arg(bytes >> 20);
}

bool vx_within_memory(const std::function<void()>& step)
{
    try {
        const out_of_memory_recovery recovery;
        step();
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
