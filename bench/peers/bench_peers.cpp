// The reference scene drawn by the item and by what a Qt developer would pick
// instead, each in a QQuickView of its own, fed from QML:
//
//   bll_bench_peers <ItemPeer|CanvasPeer|RepeaterPeer|ShapesPeer> <boxes> [frames] [png]
//
// Prints one JSON object per figure: the time to build the scene from QML, the
// first frame, the growth of the resident set per box, the median full frame and
// the median frame after one hover change; for the item, also after a side picked
// and a box added. Run each peer in a process of its own, so that one
// peer's memory does not count for another.

#include "../resident_memory.h"
#include "bench_scene.h"
#include "bll_painted_item.h"

#include <QtCore/QElapsedTimer>
#include <QtCore/QEventLoop>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtGui/QGuiApplication>
#include <QtQml/QJSEngine>
#include <QtQml/QQmlEngine>
#include <QtQuick/QQuickItem>
#include <QtQuick/QQuickView>
#include <QtQuick/QSGRendererInterface>

#include <algorithm>
#include <cstdio>

namespace {

QJSValue toScript(QJSEngine *engine, const BenchScene::Scene &scene)
{
    QJSValue boxes = engine->newArray(uint(scene.boxes.size()));
    for (int i = 0; i < scene.boxes.size(); ++i) {
        const BenchScene::Box &box = scene.boxes[i];
        QJSValue object = engine->newObject();
        object.setProperty(QStringLiteral("index"), i);
        object.setProperty(QStringLiteral("k"), int(box.kind));
        object.setProperty(QStringLiteral("id"), box.id);
        object.setProperty(QStringLiteral("x"), box.x);
        object.setProperty(QStringLiteral("y"), box.y);
        object.setProperty(QStringLiteral("w"), box.width);
        object.setProperty(QStringLiteral("h"), box.height);
        object.setProperty(QStringLiteral("b"), box.borderWidth);
        object.setProperty(QStringLiteral("picked"), int(box.picked));
        object.setProperty(QStringLiteral("param"), int(box.withParam));
        object.setProperty(QStringLiteral("markers"), int(box.markers));
        object.setProperty(QStringLiteral("text"), box.showText);
        object.setProperty(QStringLiteral("hover"), box.hover);
        object.setProperty(QStringLiteral("sel"), box.selected);
        boxes.setProperty(quint32(i), object);
    }
    return boxes;
}

template<typename Step>
double milliseconds(Step step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return timer.nsecsElapsed() / 1e6;
}

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    const int n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// One frame of the view, from the change that asks for it to the frame's swap.
template<typename Change>
double frame(QQuickView &view, Change change)
{
    QEventLoop loop;
    const auto swapped =
            QObject::connect(&view, &QQuickWindow::frameSwapped, &loop, &QEventLoop::quit);
    QElapsedTimer timer;
    timer.start();
    change();
    view.update();
    loop.exec();
    QObject::disconnect(swapped);
    return timer.nsecsElapsed() / 1e6;
}

bool call(QObject *root, const char *method, const QVariant &a = {}, const QVariant &b = {})
{
    if (!b.isValid() && !a.isValid())
        return QMetaObject::invokeMethod(root, method);
    if (!b.isValid())
        return QMetaObject::invokeMethod(root, method, Q_ARG(QVariant, a));
    return QMetaObject::invokeMethod(root, method, Q_ARG(QVariant, a), Q_ARG(QVariant, b));
}

} // namespace

int main(int argc, char **argv)
{
    // A frame is rendered as soon as it is asked for, not on the platform's next tick.
    qputenv("QT_QPA_UPDATE_IDLE_TIME", "0");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <peer> <boxes> [frames]\n", argv[0]);
        return 2;
    }
    const QString peer = QString::fromLatin1(argv[1]);
    const int count = std::atoi(argv[2]);
    const int frames = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;

    qmlRegisterType<Bll_Painted_Item>("Bll", 1, 0, "BllPaintedItem");
    const BenchScene::Scene scene = BenchScene::mixedScene(count);

    QQuickView view;
    view.setColor(Qt::white);
    view.resize(1920, 1080);
    const QJSValue boxes = toScript(view.engine(), scene);
    view.setSource(QUrl(QStringLiteral("qrc:/peers/%1.qml").arg(peer)));
    QObject *root = view.rootObject();
    if (!root) {
        for (const QQmlError &error : view.errors())
            std::fprintf(stderr, "%s\n", qPrintable(error.toString()));
        return 1;
    }
    view.show();
    frame(view, [] {}); // the empty scene's first frame allocates what every frame needs
    const QSGRendererInterface *renderer = view.rendererInterface();
    const QString backend = renderer && renderer->graphicsApi() == QSGRendererInterface::Software
            ? QStringLiteral("software")
            : QStringLiteral("opengl");
    const double residentBefore = residentBytes();

    // One line per figure as soon as it is known: a peer too slow to finish its
    // frames still leaves its build time and memory behind.
    const auto report = [&](const char *figure, double value) {
        const QJsonObject line {{QStringLiteral("peer"), peer},
                                {QStringLiteral("boxes"), count},
                                {QStringLiteral("backend"), backend},
                                {QStringLiteral("figure"), QLatin1String(figure)},
                                {QStringLiteral("value"), value}};
        std::printf("%s\n", QJsonDocument(line).toJson(QJsonDocument::Compact).constData());
        std::fflush(stdout);
    };
    report("build_ms", milliseconds([&] { call(root, "build", QVariant::fromValue(boxes)); }));
    report("first_frame_ms", frame(view, [] {}));
    report("bytes_per_box", (residentBytes() - residentBefore) / std::max(1, count));

    QVector<double> full, hover;
    for (int i = 0; i < frames; ++i)
        full.append(frame(view, [root] { call(root, "invalidate"); }));
    report("frame_ms", median(full));
    QVector<int> simpleBoxes;
    for (int i = 0; i < scene.boxes.size() && simpleBoxes.size() < frames; ++i) {
        if (scene.boxes[i].kind == BenchScene::Box::Simple && !scene.boxes[i].hover)
            simpleBoxes.append(i);
    }
    for (int i : simpleBoxes) {
        const QVariant box = QVariant::fromValue(boxes.property(quint32(i)));
        hover.append(frame(view, [root, &box] { call(root, "hover", box, true); }));
    }
    report("hover_frame_ms", median(hover));
    // The item alone: a side picked, a box added.
    if (peer == QLatin1String("ItemPeer")) {
        QVector<double> pick, add;
        for (int i = 0; i < scene.boxes.size() && pick.size() < frames; ++i) {
            if (scene.boxes[i].kind != BenchScene::Box::Parameter)
                continue;
            const QVariant box = QVariant::fromValue(boxes.property(quint32(i)));
            pick.append(frame(view, [root, &box] { call(root, "pick", box, true); }));
        }
        report("pick_frame_ms", median(pick));
        for (int i = 0; i < frames; ++i)
            add.append(frame(view, [root, i] { call(root, "add", i); }));
        report("add_frame_ms", median(add));
    }
    // To look at what a peer draws; grabbing works on OpenGL, not on the software backend.
    if (argc > 4)
        view.grabWindow().save(QString::fromLocal8Bit(argv[4]));
    return 0;
}
