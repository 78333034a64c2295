// Soak run: the item in a real QQuickView, fed generated calls from the GUI thread and repainted
// by the scene graph frame after frame, for as long as asked. Boxes are added, added again,
// switched, restyled and cleared; every few seconds the resident set is sampled.
//
//   bll_soak <seconds> [boxes]
//
// Prints one line per sample, then a summary: frames, calls, and the resident set after the
// warm-up (the first fifth of the run) at its lowest, highest and last. tools/run-soak.sh builds
// it with the sanitizers and runs it under xvfb-run with the threaded render loop.

#include "../resident_memory.h"
#include "bll_painted_item.h"

#include <QtCore/QElapsedTimer>
#include <QtCore/QRandomGenerator>
#include <QtCore/QTimer>
#include <QtGui/QGuiApplication>
#include <QtQml/QQmlComponent>
#include <QtQml/QQmlEngine>
#include <QtQuick/QQuickItem>
#include <QtQuick/QQuickView>

#include <algorithm>
#include <atomic>
#include <cstdio>

namespace {

// Calls as QML makes them, on a pool of ids so that boxes are added again and again.
class Feeder
{
public:
    Feeder(QObject *item, int boxes) : m_item(item), m_boxes(boxes) { }

    void step()
    {
        const QString id = QString::number(m_random.bounded(m_boxes));
        const double x = m_random.bounded(1200.0), y = m_random.bounded(700.0);
        const double w = 20 + m_random.bounded(120.0), h = 12 + m_random.bounded(60.0);
        const bool on = m_random.bounded(2);
        // Cleared seldom enough that the item holds hundreds to thousands of boxes most of the
        // time: frames that repaint in full then do so in bands, on several threads.
        if (m_random.bounded(4 * m_boxes) == 0) {
            call("clearAll");
            ++calls;
            return;
        }
        switch (m_random.bounded(100)) {
        case 0:
            call("setBoxSimpleStyle",
                 {QVariantMap {{"width", int(m_random.bounded(3))},
                               {"isHoverColor", "#fde68a"},
                               {"brushColor", "white"}}});
            break;
        case 1:
            call("setBoxStyle", {QVariantMap {{"pickBorderColor", int(m_random.bounded(20))}}});
            break;
        case 2:
            call("updateAllBoxDVIF", {QVariantMap {{"showText", on}}});
            break;
        default:
            switch (m_random.bounded(6)) {
            case 0:
                call("addBoxF", {id, x, y, w, h, 3.0});
                break;
            case 1:
                call("addBoxDVIF", {id, x, y, w, h, 2.0});
                break;
            case 2:
                call("addBoxSimpleF", {id, x, y, w, h});
                break;
            case 3:
                call("updateBoxF", {id, QVariantMap {{"topBorder", on}}});
                break;
            case 4:
                call("updateBoxDVIF", {id, QVariantMap {{"leftBorder", on}}});
                break;
            default:
                call("updateBoxSimpleF", {id, QVariantMap {{"isHover", on}}});
            }
        }
        ++calls;
    }

    int calls = 0;

private:
    // By name, with arguments of the parameters' own types, as QML's calls arrive.
    void call(const char *method, const QVariantList &arguments = {})
    {
        QGenericArgument a[6];
        for (int i = 0; i < arguments.size(); ++i)
            a[i] = QGenericArgument(arguments[i].typeName(), arguments[i].constData());
        if (!QMetaObject::invokeMethod(m_item, method, a[0], a[1], a[2], a[3], a[4], a[5]))
            qFatal("%s could not be called", method);
    }

    QObject *m_item;
    int m_boxes;
    QRandomGenerator m_random {1};
};

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <seconds> [boxes]\n", argv[0]);
        return 2;
    }
    const int seconds = std::atoi(argv[1]);
    const int boxes = argc > 2 ? std::atoi(argv[2]) : 3000;

    qmlRegisterType<Bll_Painted_Item>("Bll", 1, 0, "BllPaintedItem");
    QQuickView view;
    QQmlComponent component(view.engine());
    component.setData(
            "import QtQuick 2.15; import Bll 1.0; BllPaintedItem { width: 1280; height: 720 }",
            QUrl());
    auto *item = qobject_cast<QQuickItem *>(component.create());
    if (!item) {
        std::fprintf(stderr, "%s\n", qPrintable(component.errorString()));
        return 1;
    }
    item->setParent(&view);
    item->setParentItem(view.contentItem());
    view.resize(1280, 720);
    view.show();

    Feeder feeder(item, boxes);
    std::atomic<int> frames {0}; // counted on the render thread
    QObject::connect(
            &view, &QQuickWindow::frameSwapped, &view, [&] { ++frames; }, Qt::DirectConnection);
    // A few calls, then a repaint, sixty times a second, as QML would follow a moving mouse.
    QTimer feed;
    QObject::connect(&feed, &QTimer::timeout, [&] {
        for (int i = 0; i < 8; ++i)
            feeder.step();
        item->update();
    });
    feed.start(16);

    QElapsedTimer clock;
    clock.start();
    QVector<double> samples;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        const double resident = residentBytes() / 1048576.0;
        if (clock.elapsed() > seconds * 200) // past the warm-up
            samples << resident;
        std::printf("{\"seconds\": %lld, \"frames\": %d, \"calls\": %d, \"resident_mb\": %.1f}\n",
                    clock.elapsed() / 1000, frames.load(), feeder.calls, resident);
        std::fflush(stdout);
        if (clock.elapsed() >= seconds * 1000)
            app.quit();
    });
    sampler.start(5000);
    app.exec();

    if (samples.isEmpty())
        return 1;
    std::printf("summary: %d frames, %d calls in %d s; resident after warm-up %.1f to %.1f MB, "
                "last %.1f MB\n",
                frames.load(), feeder.calls, seconds,
                *std::min_element(samples.begin(), samples.end()),
                *std::max_element(samples.begin(), samples.end()), samples.last());
    std::fflush(stdout);
    return 0;
}
