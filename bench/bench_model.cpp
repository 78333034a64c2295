// Boxes fed from a model (BllBoxModel) against the same boxes added through the item's methods.
//
//   bll_bench_model [--quick] [google benchmark flags]   timings (JSON with --benchmark_out)
//   bll_bench_model --count <target> <boxes>             one run of the target, for callgrind
//
// N simple boxes on the grid scene's cells, held by a plain C++ list model (roles boxId, x, y,
// width, height). Targets of --count: direct_adds, mapper_load, mapper_reset, direct_readds (the
// whole load or reset), one_row_changed, update_simple, direct_move, remove_one (one change and its
// frame). Run it as
//   valgrind --tool=callgrind --collect-atstart=no bll_bench_model --count mapper_load 100000
// with BLL_PAINT_THREADS=1 for frames: callgrind counts the thread that turns collection on.

#include "bench_scene.h"
#include "bll_painted_item.h"
#include "bll_painted_item_boxes.h"
#include "bll_painted_item_model.h"

#include <QtCore/QAbstractListModel>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>

#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <malloc.h>

#include <cstring>
#include <map>
#include <memory>

namespace {

using namespace BenchScene;

size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

struct Row
{
    QString id;
    double x, y, width, height;
};

// The rows as a host would hold them: a vector of structs behind a list model.
class RowModel : public QAbstractListModel
{
public:
    enum Role { IdRole = Qt::UserRole + 1, XRole, YRole, WidthRole, HeightRole };

    explicit RowModel(QVector<Row> rows) : m_rows(std::move(rows)) { }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_rows.size();
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_rows.size())
            return QVariant();
        const Row &row = m_rows[index.row()];
        switch (role) {
        case IdRole:
            return row.id;
        case XRole:
            return row.x;
        case YRole:
            return row.y;
        case WidthRole:
            return row.width;
        case HeightRole:
            return row.height;
        default:
            return QVariant();
        }
    }
    QHash<int, QByteArray> roleNames() const override
    {
        return {{IdRole, "boxId"},
                {XRole, "x"},
                {YRole, "y"},
                {WidthRole, "width"},
                {HeightRole, "height"}};
    }

    const QVector<Row> &rows() const { return m_rows; }
    void moveX(int row, double dx)
    {
        m_rows[row].x += dx;
        const QModelIndex changed = index(row);
        Q_EMIT dataChanged(changed, changed, {XRole});
    }
    // The same rows, told as a reset.
    void reset()
    {
        beginResetModel();
        endResetModel();
    }

private:
    QVector<Row> m_rows;
};

// N simple boxes, one a cell of the grid scene.
QVector<Row> gridRows(int count)
{
    QVector<Row> rows;
    rows.reserve(count);
    for (const Box &box : gridScene(count).boxes)
        rows.append({box.id, box.x, box.y, box.width, box.height});
    return rows;
}

void addAll(Bll_Painted_Item &item, const QVector<Row> &rows)
{
    for (const Row &row : rows)
        item.addBoxSimpleF(row.id, row.x, row.y, row.width, row.height);
}

// The model of each size, built once and shared.
RowModel &modelOf(int count)
{
    static std::map<int, std::unique_ptr<RowModel>> models;
    auto &slot = models[count];
    if (!slot)
        slot = std::make_unique<RowModel>(gridRows(count));
    return *slot;
}

void feedThrough(BllBoxModel &mapper, RowModel &model, Bll_Painted_Item &item)
{
    mapper.setModel(&model);
    mapper.setTarget(&item);
}

void directAdds(benchmark::State &state)
{
    const RowModel &model = modelOf(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto item = std::make_unique<Bll_Painted_Item>();
        state.ResumeTiming();
        addAll(*item, model.rows());
        state.PauseTiming();
        item.reset();
        state.ResumeTiming();
    }
}

void mapperLoad(benchmark::State &state)
{
    RowModel &model = modelOf(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto item = std::make_unique<Bll_Painted_Item>();
        auto mapper = std::make_unique<BllBoxModel>();
        state.ResumeTiming();
        feedThrough(*mapper, model, *item);
        state.PauseTiming();
        mapper.reset();
        item.reset();
        state.ResumeTiming();
    }
}

// Full frames, then a box's state changed and changed back, each with its frame: the first frame
// after full ones lays out the index of where the boxes lie (a third of a second at 1,000,000
// boxes), and the benchmarks time the frames after.
void paintSteadily(Bll_Painted_Item &item, QImage &target)
{
    paintFrame(item, target);
    paintFrame(item, target);
    const QString first = BllBoxes::ids(&item, QStringLiteral("simple")).value(0);
    for (bool selected : {true, false}) {
        item.updateBoxSimpleF(first, {{QStringLiteral("isSelected"), selected}});
        paintFrame(item, target);
    }
}

// An item fed by a mapper and painted, as Qt Quick paints frames.
struct FedFixture
{
    explicit FedFixture(int count)
        : model(modelOf(count)), target(1920, 1080, QImage::Format_ARGB32_Premultiplied)
    {
        feedThrough(mapper, model, item);
        paintSteadily(item, target);
    }
    void frame() { paintFrame(item, target); }
    RowModel &model;
    Bll_Painted_Item item;
    BllBoxModel mapper;
    QImage target;
    int next = 0;
    QVector<bool> changed = QVector<bool>(model.rows().size());
};

// The same boxes added through the item's methods, painted.
struct DirectFixture
{
    explicit DirectFixture(int count)
        : rows(modelOf(count).rows()), target(1920, 1080, QImage::Format_ARGB32_Premultiplied)
    {
        addAll(item, rows);
        paintSteadily(item, target);
    }
    void frame() { paintFrame(item, target); }
    const QVector<Row> &rows;
    Bll_Painted_Item item;
    QImage target;
    int next = 0;
    QVector<bool> changed = QVector<bool>(rows.size());
};

template<typename Fixture>
Fixture &fixture(int count)
{
    static std::map<int, std::unique_ptr<Fixture>> fixtures;
    auto &slot = fixtures[count];
    if (!slot)
        slot = std::make_unique<Fixture>(count);
    return *slot;
}

void mapperReset(benchmark::State &state)
{
    FedFixture &f = fixture<FedFixture>(int(state.range(0)));
    for (auto _ : state)
        f.model.reset();
}

// What a host does on a reset without the mapper: the family cleared and added anew, on an item
// that has painted (the adds then tell the index and the last frame of every box).
void readdAll(DirectFixture &f)
{
    f.item.clearBoxSimpleF();
    addAll(f.item, f.rows);
    f.changed.fill(false); // the boxes are where the rows say again
}

void directReadds(benchmark::State &state)
{
    DirectFixture &f = fixture<DirectFixture>(int(state.range(0)));
    for (auto _ : state)
        readdAll(f);
}

// Each change visits another box, in a scattered order, and changes it back on its next visit.
constexpr int stride = 7919;

template<typename Fixture>
int nextRow(Fixture &f)
{
    f.next = (f.next + stride) % f.changed.size();
    f.changed[f.next] = !f.changed[f.next];
    return f.next;
}

void rowChange(FedFixture &f)
{
    const int row = nextRow(f);
    f.model.moveX(row, f.changed[row] ? 1 : -1);
}

void stateChange(FedFixture &f)
{
    const int row = nextRow(f);
    f.item.updateBoxSimpleF(f.model.rows()[row].id,
                            {{QStringLiteral("isSelected"), bool(f.changed[row])}});
}

// The move that rowChange() makes, through addBoxSimpleF() on a box already there.
void directMove(DirectFixture &f)
{
    const int i = nextRow(f);
    const Row &row = f.rows[i];
    f.item.addBoxSimpleF(row.id, row.x + (f.changed[i] ? 1 : 0), row.y, row.width, row.height);
}

void removeOne(DirectFixture &f)
{
    f.next = (f.next + stride) % f.rows.size();
    BllBoxes::remove(&f.item, QStringLiteral("simple"), {f.rows[f.next].id});
}

// Puts the removed box back (painted last now), and paints that: the next removal starts from
// a frame with every box.
void addBack(DirectFixture &f)
{
    const Row &row = f.rows[f.next];
    f.item.addBoxSimpleF(row.id, row.x, row.y, row.width, row.height);
    f.frame();
}

template<typename Fixture, void (*change)(Fixture &), void (*after)(Fixture &) = nullptr>
void frameAfter(benchmark::State &state)
{
    Fixture &f = fixture<Fixture>(int(state.range(0)));
    paintSteadily(f.item, f.target); // mapper_reset leaves the boxes fed anew, never painted
    for (auto _ : state) {
        change(f);
        f.frame();
        if constexpr (after != nullptr) {
            state.PauseTiming();
            after(f);
            state.ResumeTiming();
        }
    }
}

// Heap bytes per box that the load leaves, the model's own rows not counted.
template<bool throughMapper>
void heapPerBox(benchmark::State &state)
{
    const int count = int(state.range(0));
    RowModel &model = modelOf(count);
    for (auto _ : state) {
        auto item = std::make_unique<Bll_Painted_Item>();
        auto mapper = std::make_unique<BllBoxModel>();
        const size_t before = heapInUse();
        if (throughMapper)
            feedThrough(*mapper, model, *item);
        else
            addAll(*item, model.rows());
        state.counters["bytes_per_box"] = double(heapInUse() - before) / count;
        mapper.reset();
    }
}

int countInstructions(const QString &target, int count)
{
    const auto counted = [](auto work) {
        CALLGRIND_TOGGLE_COLLECT;
        work();
        CALLGRIND_TOGGLE_COLLECT;
    };
    RowModel &model = modelOf(count);
    if (target == QLatin1String("direct_adds")) {
        Bll_Painted_Item item;
        counted([&] { addAll(item, model.rows()); });
    } else if (target == QLatin1String("mapper_load")) {
        Bll_Painted_Item item;
        BllBoxModel mapper;
        counted([&] { feedThrough(mapper, model, item); });
    } else if (target == QLatin1String("mapper_reset")) {
        FedFixture &f = fixture<FedFixture>(count);
        counted([&] { f.model.reset(); });
    } else if (target == QLatin1String("direct_readds")) {
        DirectFixture &f = fixture<DirectFixture>(count);
        counted([&] { readdAll(f); });
    } else {
        const auto changeAndFrame = [&](auto &f, auto change) {
            change(f); // and a frame: the counted one is not the first after full frames
            f.frame();
            counted([&] {
                change(f);
                f.frame();
            });
        };
        if (target == QLatin1String("one_row_changed"))
            changeAndFrame(fixture<FedFixture>(count), rowChange);
        else if (target == QLatin1String("update_simple"))
            changeAndFrame(fixture<FedFixture>(count), stateChange);
        else if (target == QLatin1String("direct_move"))
            changeAndFrame(fixture<DirectFixture>(count), directMove);
        else if (target == QLatin1String("remove_one"))
            changeAndFrame(fixture<DirectFixture>(count), removeOne);
        else {
            qWarning("unknown target %s", qPrintable(target));
            return 2;
        }
    }
    return 0;
}

void registerAll(bool quick)
{
    const QVector<int> sizes =
            quick ? QVector<int> {200, 2000} : QVector<int> {10000, 100000, 1000000};
    // Loads and resets take a fresh item each: a few iterations, fewer for more boxes.
    const auto loadBench = [quick](const char *name, void (*function)(benchmark::State &), int n) {
        auto *bench = benchmark::RegisterBenchmark(name, function)
                              ->Arg(n)
                              ->Unit(benchmark::kMillisecond)
                              ->Iterations(quick ? 2 : std::max(1, 200000 / n));
        if (!quick)
            bench->Repetitions(5)->DisplayAggregatesOnly(true);
    };
    const auto frameBench = [quick](const char *name, void (*function)(benchmark::State &), int n) {
        auto *bench =
                benchmark::RegisterBenchmark(name, function)->Arg(n)->Unit(benchmark::kMillisecond);
        if (quick)
            bench->Iterations(2);
        else
            bench->Repetitions(5)->DisplayAggregatesOnly(true)->MinTime(0.2);
    };
    // The figures compared run size by size, next to each other, so drift in the machine's
    // load hits them alike.
    for (int n : sizes) {
        loadBench("model/direct_adds", directAdds, n);
        loadBench("model/mapper_load", mapperLoad, n);
        loadBench("model/mapper_reset", mapperReset, n);
        loadBench("model/direct_readds", directReadds, n);
    }
    for (int n : sizes) {
        frameBench("model/one_row_changed", frameAfter<FedFixture, rowChange>, n);
        frameBench("model/update_simple", frameAfter<FedFixture, stateChange>, n);
        frameBench("model/direct_move", frameAfter<DirectFixture, directMove>, n);
        frameBench("model/remove_one", frameAfter<DirectFixture, removeOne, addBack>, n);
    }
    for (int n : sizes) {
        benchmark::RegisterBenchmark("memory/direct", heapPerBox<false>)->Arg(n)->Iterations(1);
        benchmark::RegisterBenchmark("memory/mapper", heapPerBox<true>)->Arg(n)->Iterations(1);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    if (argc == 4 && std::strcmp(argv[1], "--count") == 0)
        return countInstructions(QString::fromLatin1(argv[2]), std::atoi(argv[3]));

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
