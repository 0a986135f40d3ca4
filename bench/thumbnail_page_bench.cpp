// One page of the image list: 15 thumbnails made from 4000 x 3000 JPEG
// photographs, which the benchmark writes once into a temporary folder.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdlib>

#include "bench/bench_support.h"
#include "bench/qt_bench_main.h"
#include "gui/foundation/thumbnails/vx_display_image_list.h"

namespace {

constexpr int page = 15;

// A folder of 15 JPEGs with smooth shading and fine detail, as photographs
// have (4.4 MB each at quality 90).
class photographs {
public:
    photographs()
    {
        if (!folder_.isValid())
            std::abort();
        QImage picture(4000, 3000, QImage::Format_RGB32);
        for (int i = 0; i < page; ++i) {
            for (int y = 0; y < picture.height(); ++y) {
                auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
                for (int x = 0; x < picture.width(); ++x)
                    row[x] = qRgb((x / 16 + i * 17) & 255, (y / 12) & 255, (x * y + i) % 253);
            }
            const QString file = folder_.filePath(QString("photo%1.jpg").arg(i));
            if (!picture.save(file, "JPEG", 90))
                std::abort();
            files_ << file;
        }
    }

    const QStringList& files() const { return files_; }

private:
    QTemporaryDir folder_;
    QStringList files_;
};

void BM_PageOfFifteenThumbnails(benchmark::State& state)
{
    static const photographs photos;
    quiet_stdout quiet;
    for (auto _ : state) {
        VxDisplayImageList list(photos.files(), page, photos.files(), "Photographs", nullptr,
                                "Browse Display Image List");
        benchmark::DoNotOptimize(list.getImageIndexFromButton(page - 1));
    }
    state.SetItemsProcessed(state.iterations() * page);
}
BENCHMARK(BM_PageOfFifteenThumbnails)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    return vx_qt_benchmark_main(argc, argv);
}
