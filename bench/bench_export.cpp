// Time and file size of BllExport::save() per format, on the benchmark scenes.
//
//   bll_bench_export [--quick] [google benchmark flags]   (JSON with --benchmark_out)
//
// Each save paints the item once more, in full, and writes the file; "paint" is that paint
// alone, on a picture of the item's size, for comparison. The counter file_bytes is the size of
// the file written.

#include "bench_scene.h"
#include "bll_painted_item.h"
#include "bll_painted_item_saving.h"

#include <QtCore/QFileInfo>
#include <QtCore/QTemporaryDir>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QPainter>

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {

struct Format
{
    const char *name;
    const char *suffix; // none: paint only
    qreal scale;
};

const Format formats[] = {{"paint", nullptr, 1}, {"png", "png", 1}, {"png_scale2", "png", 2},
                          {"jpeg", "jpg", 1},    {"pdf", "pdf", 1}, {"svg", "svg", 1}};

std::unique_ptr<Bll_Painted_Item> sceneItem(int boxes)
{
    auto item = std::make_unique<Bll_Painted_Item>();
    item->setSize(QSizeF(1920, 1080));
    BenchScene::feed(*item, BenchScene::mixedScene(boxes));
    return item;
}

void save(benchmark::State &state, const Format &format)
{
    const auto item = sceneItem(int(state.range(0)));
    QTemporaryDir directory;
    const QString file = directory.filePath(QStringLiteral("scene.%1").arg(format.suffix));
    const BllExportOptions options {format.scale, {}, {}};
    // Laid-out labels and filled glyph caches, as for an item already on screen.
    const QString error = BllExport::save(item.get(), file, options);
    if (format.suffix && !error.isEmpty()) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    QImage picture(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        if (format.suffix) {
            BllExport::save(item.get(), file, options);
        } else {
            picture.fill(item->fillColor());
            QPainter painter(&picture);
            painter.setClipRect(picture.rect()); // as a saved picture is painted: in full
            static_cast<QQuickPaintedItem *>(item.get())->paint(&painter);
        }
    }
    if (format.suffix)
        state.counters["file_bytes"] = double(QFileInfo(file).size());
}

void registerAll(bool quick)
{
    const QVector<int> sizes = quick ? QVector<int> {200} : QVector<int> {1000, 10000, 100000};
    for (int n : sizes) {
        for (const Format &format : formats) {
            auto *bench =
                    benchmark::RegisterBenchmark(
                            (QByteArrayLiteral("save/") + format.name).constData(), save, format)
                            ->Arg(n)
                            ->Unit(benchmark::kMillisecond);
            if (quick)
                bench->Iterations(1);
            else
                bench->Repetitions(3)->DisplayAggregatesOnly(true);
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    bool quick = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) {
            quick = true;
            std::memmove(argv + i, argv + i + 1, sizeof(char *) * (argc - i));
            --argc;
            break;
        }
    }
    registerAll(quick);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
