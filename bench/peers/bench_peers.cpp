// The reference scene drawn by the item and by what a Qt developer would pick
// instead, each in a QQuickView of its own, fed from QML:
//
//   bll_bench_peers <ItemPeer|CanvasPeer|RepeaterPeer|ShapesPeer> <boxes> [frames] [png]
//   bll_bench_peers <HoverIndex|HoverScan> <boxes> [moves]
//   bll_bench_peers PlanView <boxes> [frames]
//
// Prints one JSON object per figure: the time to build the scene from QML, the
// first frame, the growth of the resident set per box, the median full frame and
// the median frame after one hover change; for the item, also after a side picked
// and a box added. Run each peer in a process of its own, so that one
// peer's memory does not count for another. Each line says the threads a full frame may use
// (BLL_PAINT_THREADS, or "all").
//
// HoverIndex and HoverScan move the pointer over the item, onto a simple box and off to where
// there is none in turn: the handler finds the box with BllPicking.boxAt() or with a JavaScript
// scan (HoverPeer.qml) and hovers it; the median time of the handler and of the whole move, to
// the frame's swap, for moves onto a box (hit) and off (miss).
//
// PlanView is a BllViewItem over a plan of simple boxes bigger than the window, built from QML:
// the median full frame at scale 1, pan step (8 pixels), zoom step (1.25 times) and full frame
// of the whole plan fitted into the window; and the median frame of a wheel turning (one notch a
// frame, no rest between), which shows the last crisp frame scaled.

#include "../resident_memory.h"
#include "bench_scene.h"
#include "bll_painted_item.h"
#include "bll_painted_item_picking.h"
#include "bll_painted_item_view.h"

#include <QtCore/QElapsedTimer>
#include <QtCore/QEventLoop>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtCore/QTimer>
#include <QtGui/QGuiApplication>
#include <QtGui/QMouseEvent>
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

// Points of the scene where the topmost box is a simple box, and points of the strip below
// the boxes, where there is none.
void hoverPoints(const Bll_Painted_Item *item, int count, QVector<QPointF> &hits,
                 QVector<QPointF> &misses)
{
    quint32 state = 11;
    const auto uniform = [&state](double low, double high) {
        state = state * 1664525u + 1013904223u;
        return low + (high - low) * ((state >> 8) / 16777216.0);
    };
    for (int tries = 0; hits.size() < count && tries < 1000 * count; ++tries) {
        const QPointF point(uniform(0, 1920), uniform(0, 1080));
        if (BllPicking::boxAt(item, point).family == QLatin1String("simple"))
            hits.append(point);
    }
    while (misses.size() < count)
        misses.append(QPointF(uniform(0, 1920), uniform(1090, 1140)));
}

// One move of the pointer, no button held; the time the window takes to handle it.
double movePointer(QQuickView &view, const QPointF &point)
{
    QMouseEvent move(QEvent::MouseMove, point, point, view.mapToGlobal(point.toPoint()),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    return milliseconds([&] { QGuiApplication::sendEvent(&view, &move); });
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
    const bool hovering = peer.startsWith(QLatin1String("Hover"));

    qmlRegisterType<Bll_Painted_Item>("Bll", 1, 0, "BllPaintedItem");
    qmlRegisterSingletonType<BllPicking>(
            "Bll", 1, 1, "BllPicking",
            [](QQmlEngine *, QJSEngine *) -> QObject * { return new BllPicking; });
    qmlRegisterType<BllViewItem>("Bll", 1, 2, "BllViewItem");
    const bool plan = peer == QLatin1String("PlanView");
    const BenchScene::Scene scene = BenchScene::mixedScene(plan ? 0 : count);

    QQuickView view;
    view.setColor(Qt::white);
    view.resize(1920, hovering ? 1144 : 1080);
    const QJSValue boxes = toScript(view.engine(), scene);
    view.setSource(QUrl(QStringLiteral("qrc:/peers/%1.qml")
                                .arg(hovering ? QStringLiteral("HoverPeer") : peer)));
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

    const QString threads = qEnvironmentVariableIsEmpty("BLL_PAINT_THREADS")
            ? QStringLiteral("all")
            : qEnvironmentVariable("BLL_PAINT_THREADS");
    // One line per figure as soon as it is known: a peer too slow to finish its
    // frames still leaves its build time and memory behind.
    const auto report = [&](const char *figure, double value) {
        const QJsonObject line {{QStringLiteral("peer"), peer},
                                {QStringLiteral("boxes"), count},
                                {QStringLiteral("backend"), backend},
                                {QStringLiteral("figure"), QLatin1String(figure)},
                                {QStringLiteral("value"), value},
                                {QStringLiteral("threads"), threads}};
        std::printf("%s\n", QJsonDocument(line).toJson(QJsonDocument::Compact).constData());
        std::fflush(stdout);
    };
    report("build_ms", milliseconds([&] {
               call(root, "build", plan ? QVariant(count) : QVariant::fromValue(boxes));
           }));
    report("first_frame_ms", frame(view, [] {}));
    report("bytes_per_box", (residentBytes() - residentBefore) / std::max(1, count));

    if (hovering) {
        root->setProperty("scan", peer == QLatin1String("HoverScan"));
        QMetaObject::invokeMethod(root, "listSimpleBoxes",
                                  Q_ARG(QVariant, QVariant::fromValue(boxes)));
        QVector<QPointF> hits, misses;
        hoverPoints(qobject_cast<Bll_Painted_Item *>(root), frames + 1, hits, misses);
        QVector<double> handler[2], move[2]; // onto a box, off to none
        movePointer(view, misses.takeLast()); // the pointer enters
        for (int i = 0; i < frames && i < hits.size(); ++i) {
            for (const bool hit : {true, false}) {
                const QPointF point = hit ? hits[i] : misses[i];
                move[hit].append(
                        frame(view, [&] { handler[hit].append(movePointer(view, point)); }));
            }
        }
        report("hit_handler_ms", median(handler[true]));
        report("hit_move_ms", median(move[true]));
        report("miss_handler_ms", median(handler[false]));
        report("miss_move_ms", median(move[false]));
        return 0;
    }

    if (plan) {
        QVector<double> full, pan, zoom, whole;
        // Each kind of step in a row, as a drag or a run of zoom steps comes.
        for (int i = 0; i < frames; ++i)
            full.append(frame(view, [root] { call(root, "invalidate"); }));
        for (int i = 0; i < frames; ++i)
            pan.append(frame(view, [root] { call(root, "pan"); }));
        for (int i = 0; i < frames; ++i)
            zoom.append(frame(view, [root] { call(root, "zoom"); }));
        // Wheel notches in and out about the middle, as fast as frames come: a gesture.
        QVector<double> wheel;
        const QPointF middle(view.width() / 2.0, view.height() / 2.0);
        for (int i = 0; i < frames; ++i) {
            wheel.append(frame(view, [&] {
                QWheelEvent notch(middle, QPointF(view.mapToGlobal(middle.toPoint())), QPoint(),
                                  QPoint(0, i % 2 ? -120 : 120), Qt::NoButton, Qt::NoModifier,
                                  Qt::NoScrollPhase, false);
                QGuiApplication::sendEvent(&view, &notch);
            }));
        }
        // The wheel comes to rest before the whole plan is shown.
        QEventLoop rest;
        QTimer::singleShot(300, &rest, &QEventLoop::quit);
        rest.exec();
        frame(view, [root] { call(root, "fit"); });
        for (int i = 0; i < frames; ++i)
            whole.append(frame(view, [root] { call(root, "invalidate"); }));
        report("frame_ms", median(full));
        report("pan_frame_ms", median(pan));
        report("zoom_frame_ms", median(zoom));
        report("wheel_frame_ms", median(wheel));
        report("whole_frame_ms", median(whole));
        return 0;
    }

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
